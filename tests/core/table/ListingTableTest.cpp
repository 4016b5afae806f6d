// SPDX-License-Identifier: MIT
#include "core/table/ListingTable.h"

#include <gtest/gtest.h>

namespace dirscribe {
namespace {

ListingTable ThreeColumns() {
    ListingTable table;
    table.SetColumns({{"FileName", 160, 230, ColumnAlignment::Left},
                      {"Size", 120, 180, ColumnAlignment::Left},
                      {"Attr.", 50, 70, ColumnAlignment::Center}});
    return table;
}

TEST(ListingTable, CellsKeepTheirTextsThroughEditsInsertsAndPermutations) {
    ListingTable table = ThreeColumns();
    table.AppendRow({"a.txt", "  1 b", "A", "ignored", "ignored"});
    table.InsertRow(0, {"[dir]", "", "", "", ""});
    table.InsertRow(99, {"z", "9", "", "", ""});
    ASSERT_EQ(table.RowCount(), 3);
    EXPECT_EQ(table.Cell(1, 0), "a.txt");
    EXPECT_EQ(table.Cell(1, 3), "") << "a column the table does not have reads as empty";
    EXPECT_EQ(table.Row(1)[3], "");

    table.SetCell(1, 0, "a much longer name.txt");
    table.SetCell(1, 1, "");
    table.SetCell(0, 2, "H");
    EXPECT_EQ(table.Row(1), (RowRecord{"a much longer name.txt", "", "A", "", ""}));
    EXPECT_EQ(table.Row(0), (RowRecord{"[dir]", "", "H", "", ""}));

    table.SetItemData(2, 42);
    table.PermuteRows(0, {2, 0, 1});
    EXPECT_EQ(table.Cell(0, 0), "z");
    EXPECT_EQ(table.ItemData(0), 42);
    EXPECT_EQ(table.Cell(1, 0), "[dir]");

    table.RemoveRows(1, 10);
    EXPECT_EQ(table.RowCount(), 1);
    EXPECT_EQ(table.Cell(5, 0), "");
    EXPECT_EQ(table.GetColumnTitle(2), "Attr.");
    EXPECT_EQ(table.GetColumnTitle(3), "");
    EXPECT_EQ(table.ColumnIndex("Size"), 1);
}

} // namespace
} // namespace dirscribe
