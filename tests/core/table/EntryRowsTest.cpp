// SPDX-License-Identifier: MIT
// Rows made from entries: texts made when read, kept where they never move, shared by copies.
#include "core/table/ListingTable.h"
#include "core/table/TablePopulation.h"
#include "core/table/TableSort.h"
#include "support/TableRows.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace dirscribe {
namespace {

// More entries and name bytes than one block of the entry store holds; rows for some of
// them, whose texts fill more than one block of kept texts.
constexpr std::uint32_t kEntries = 70'000;
constexpr std::uint32_t kRows = 3'000;

ListingTable TableOfEntries() {
    EntryStore store;
    for (std::uint32_t i = 0; i < kEntries; ++i) {
        ListingEntry entry;
        entry.name = "file-" + std::to_string(i) + "-of-the-listing.dat";
        entry.size = std::uint64_t{i} * 1000;
        entry.attributes = i == 0 ? kAttributeDirectory : kAttributeArchive;
        store.Append(entry);
    }
    ListingTable table;
    table.SetColumns({ListingColumn(ColumnKind::FileName), ListingColumn(ColumnKind::Comments),
                      ListingColumn(ColumnKind::Size), ListingColumn(ColumnKind::Attributes),
                      ListingColumn(ColumnKind::Date)});
    for (std::uint32_t i = 0; i < kRows; ++i)
        table.AppendEntryRow(i);
    table.SetEntries(std::make_shared<EntryList>("/data", std::move(store)),
                     EntryRowStyle{.bracketFolders = true, .upperCase = true});
    return table;
}

TEST(EntryRows, TextsAreMadeWhenReadStayWhereTheyAreAndCopiesShareThem) {
    const ListingTable table = TableOfEntries();
    const ListingTable unread = TableOfEntries();
    const std::string_view first = table.Cell(0, 0);
    EXPECT_EQ(first, "[FILE-0-OF-THE-LISTING.DAT]");
    std::string scratch;
    int differences = 0;
    for (int row = 0; row < table.RowCount(); ++row) {
        const CellTexts made = unread.RowTexts(row, scratch);
        for (int column = 0; column < table.ColumnCount(); ++column)
            differences += table.Cell(row, column) != made[static_cast<std::size_t>(column)];
    }
    EXPECT_EQ(differences, 0) << "kept and made texts agree";
    EXPECT_EQ(first, "[FILE-0-OF-THE-LISTING.DAT]") << "a view stays valid as others are made";
    EXPECT_EQ(table.Entries()->At(kEntries - 1).name, "file-69999-of-the-listing.dat");
    EXPECT_EQ(table.Entries()->At(kEntries - 1).size, 69'999'000u);

    // A copy shares the rows until it changes; then only the copy changes.
    ListingTable copy = unread;
    copy.SetCell(5, 1, "typed");
    test::SortBy(copy, false, 0, 0);
    EXPECT_EQ(copy.Cell(0, 0), "[FILE-0-OF-THE-LISTING.DAT]") << "the folder stays on top";
    EXPECT_EQ(copy.Cell(1, 0), "FILE-999-OF-THE-LISTING.DAT") << "sorted by name, descending";
    EXPECT_EQ(copy.EntryIndex(1), 999u);
    int typed = 0;
    while (copy.EntryIndex(typed) != 5)
        ++typed;
    EXPECT_EQ(copy.Cell(typed, 1), "typed");
    EXPECT_EQ(copy.Cell(typed, 0), "FILE-5-OF-THE-LISTING.DAT") << "the rest of its row";
    EXPECT_EQ(unread.Cell(5, 1), "");
    EXPECT_EQ(unread.Cell(0, 0), first);
}

} // namespace
} // namespace dirscribe
