// SPDX-License-Identifier: MIT
#include "core/table/RowStore.h"

#include <gtest/gtest.h>
#include <string>

namespace dirscribe {
namespace {

TEST(RowStore, EditsThatReuseItsOwnTextsAndReclaimedSpaceKeepEveryCell) {
    RowStore store;
    for (int r = 0; r < 2000; ++r)
        store.Append({"name" + std::to_string(r), "", std::string(600, 'x'), "A", ""});
    store.SetItemData(7, 77);
    // A cell copied from another row of the same store: the source may move while it grows.
    for (int r = 0; r < 2000; ++r)
        store.SetCell(r, 1, store.Cell((r + 1) % 2000, 0));
    // Enough rewrites of the long cell to make the old copies worth reclaiming.
    for (int round = 0; round < 3; ++round)
        for (int r = 0; r < 2000; ++r)
            store.SetCell(r, 2, std::string(600, static_cast<char>('a' + round)));
    EXPECT_EQ(store.Record(0), (RowRecord{"name0", "name1", std::string(600, 'c'), "A", ""}));
    EXPECT_EQ(store.Record(1999), (RowRecord{"name1999", "name0", std::string(600, 'c'), "A", ""}));
    EXPECT_EQ(store.ItemData(7), 77) << "an edit keeps the row's item data";

    store.Insert(1, {store.Cell(0, 0), "", "", "", "last"});
    store.Remove(3, 1998);
    ASSERT_EQ(store.Size(), 3);
    store.Permute(0, {2, 0, 1});
    EXPECT_EQ(store.Cell(0, 0), "name1");
    EXPECT_EQ(store.Cell(1, 0), "name0");
    EXPECT_EQ(store.Cell(2, 4), "last");
    EXPECT_EQ(store.Cell(9, 0), "");
}

} // namespace
} // namespace dirscribe
