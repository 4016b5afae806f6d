// SPDX-License-Identifier: MIT
// Page and panel counts and the rows of each page or panel.
#include "core/print/Pagination.h"

#include <algorithm>
#include <limits>

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

PrintCounts CountPages(PageLayout layout, std::int64_t lineCount) {
    const BlockCapacity capacity = CapacityOf(layout);
    const std::int64_t n = std::max<std::int64_t>(lineCount, 0);
    const std::int64_t blocks = std::min<std::int64_t>(
        n <= capacity.first ? 1 : 1 + (n - capacity.first + capacity.later - 1) / capacity.later,
        std::numeric_limits<int>::max() - 1);
    PrintCounts counts;
    counts.panelCount = static_cast<int>(blocks);
    counts.pageCount = IsCutOut(layout) ? static_cast<int>((blocks + 1) / 2) : counts.panelCount;
    return counts;
}

bool IsNumbered(RowKind kind) {
    return !FollowsEntry(kind);
}

std::vector<PageRange> BuildPageTable(const ListingTable& snapshot, PageLayout layout,
                                      int blockCount, const std::vector<TallRow>& tallRows) {
    const BlockCapacity capacity = CapacityOf(layout);
    const int n = snapshot.RowCount();
    auto tall = tallRows.begin();
    const auto linesOf = [&](int row) {
        while (tall != tallRows.end() && tall->row < row)
            ++tall;
        return tall != tallRows.end() && tall->row == row ? tall->lines : 1;
    };
    std::vector<PageRange> table;
    table.reserve(static_cast<std::size_t>(std::max(blockCount, 0)));
    int row = 0;
    int skipped = 0;  // lines of `row` printed on earlier blocks
    int numbered = 0; // numbered rows whose first line was printed
    for (int block = 1; block <= blockCount; ++block) {
        PageRange range{row, row - 1, numbered, skipped, 0};
        int room = block == 1 ? capacity.first : capacity.later;
        while (room > 0 && row < n) {
            const int left = linesOf(row) - skipped;
            const int taken = std::min(left, room);
            if (skipped == 0 && IsNumbered(snapshot.Kind(row)))
                ++numbered;
            range.lastRow = row;
            range.lineCount += taken;
            room -= taken;
            skipped += taken;
            if (taken == left) {
                ++row;
                skipped = 0;
            }
        }
        table.push_back(range);
    }
    return table;
}

} // namespace dirscribe
