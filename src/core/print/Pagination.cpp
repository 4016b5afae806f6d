// SPDX-License-Identifier: MIT
// Page and panel counts and the rows of each page or panel.
#include "core/print/Pagination.h"

#include <algorithm>
#include <cstdint>

namespace dirscribe {

BlockCapacity CapacityOf(PageLayout layout) {
    switch (layout) {
    case PageLayout::CdInsert:
        return {29, 32};
    case PageLayout::ZipInsert:
        return {20, 24};
    case PageLayout::Standard:
    case PageLayout::FileData:
        break;
    }
    return {70, 80};
}

bool IsCutOut(PageLayout layout) {
    return layout == PageLayout::CdInsert || layout == PageLayout::ZipInsert;
}

PrintCounts CountPages(PageLayout layout, int rowCount) {
    const BlockCapacity capacity = CapacityOf(layout);
    // 64-bit so that a row count near the 32-bit limit cannot overflow the rounding.
    const std::int64_t n = rowCount;
    const std::int64_t blocks =
        n <= capacity.first ? 1 : 1 + (n - capacity.first + capacity.later - 1) / capacity.later;
    PrintCounts counts;
    counts.panelCount = static_cast<int>(blocks);
    counts.pageCount = IsCutOut(layout) ? static_cast<int>((blocks + 1) / 2) : counts.panelCount;
    return counts;
}

bool IsNumbered(RowKind kind) {
    return !FollowsEntry(kind);
}

std::vector<PageRange> BuildPageTable(const ListingTable& snapshot, PageLayout layout,
                                      int blockCount) {
    const BlockCapacity capacity = CapacityOf(layout);
    const int n = snapshot.RowCount();
    std::vector<PageRange> table;
    table.reserve(static_cast<std::size_t>(std::max(blockCount, 0)));
    int first = 0;
    int numbered = 0; // numbered rows before `first`
    for (int block = 1; block <= blockCount; ++block) {
        const int room = block == 1 ? capacity.first : capacity.later;
        PageRange range;
        range.firstRow = first;
        range.lastRow = static_cast<int>(
            std::min<std::int64_t>(std::int64_t{first} + room - 1, std::int64_t{n} - 1));
        range.numberedBefore = numbered;
        table.push_back(range);
        for (int row = first; row <= range.lastRow; ++row)
            numbered += IsNumbered(snapshot.Kind(row)) ? 1 : 0;
        // Blocks past the end stay empty instead of running past the 32-bit limit.
        first = static_cast<int>(std::min<std::int64_t>(std::int64_t{first} + room, n));
    }
    return table;
}

} // namespace dirscribe
