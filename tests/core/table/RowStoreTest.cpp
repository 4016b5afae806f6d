// SPDX-License-Identifier: MIT
#include "core/table/RowStore.h"

#include <gtest/gtest.h>
#include <string>

namespace dirscribe {
namespace {

TEST(RowStore, EditsThatReuseItsOwnTextsAndReclaimedSpaceKeepEveryCellAndKind) {
    RowStore store;
    for (int r = 0; r < 2000; ++r)
        store.Append({"name" + std::to_string(r), "", std::string(600, 'x'), "A", ""},
                     r == 0 ? RowKind::Details : RowKind::Entry, static_cast<std::uint32_t>(r));
    store.SetItemData(7, 77);
    store.SetGone(1, true);
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
    EXPECT_EQ(store.Entry(1999), 1999U);

    store.Insert(1, {store.Cell(0, 0), "", "", "", "last"}, RowKind::Free);
    store.Remove(3, 1998);
    ASSERT_EQ(store.Size(), 3);
    store.Permute(0, {2, 0, 1});
    EXPECT_EQ(store.Cell(0, 0), "name1");
    EXPECT_EQ(store.Cell(1, 0), "name0");
    EXPECT_EQ(store.Cell(2, 4), "last");
    EXPECT_EQ(store.Cell(9, 0), "");
    // Kinds, entries and gone marks travel with their rows.
    EXPECT_TRUE(store.Gone(0) && store.Kind(0) == RowKind::Entry && store.Entry(0) == 1U);
    EXPECT_TRUE(!store.Gone(1) && store.Kind(1) == RowKind::Details);
    EXPECT_TRUE(store.Kind(2) == RowKind::Free && store.Entry(2) == kNoEntry);
    EXPECT_EQ(store.Kind(9), RowKind::Free);
}

} // namespace
} // namespace dirscribe
