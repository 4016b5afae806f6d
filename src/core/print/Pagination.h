// SPDX-License-Identifier: MIT
// How many pages and panels a listing prints on, and which rows each one holds.
#pragma once

#include "core/options/PageLayout.h"
#include "core/print/PageRange.h"
#include "core/table/ListingTable.h"
#include "core/table/RowKind.h"

#include <cstdint>
#include <vector>

namespace dirscribe {

struct PrintCounts {
    int pageCount = 1;
    // Cut-out panels, two to a page; in the letter layouts equal to pageCount.
    int panelCount = 1;
    friend bool operator==(const PrintCounts&, const PrintCounts&) = default;
};

// The printed lines of the first block (page or panel) and of each later one.
struct BlockCapacity {
    int first = 0;
    int later = 0;
};

// A row that prints on more than one line: its Comments cell continues below it.
struct TallRow {
    int row = 0;
    int lines = 1;
};

// Letter pages hold 70 lines on the first page and 80 on every other; CD panels 29 and 32;
// ZIP panels 20 and 24. A `Print as ` outside the four layouts counts as Standard.
BlockCapacity CapacityOf(PageLayout layout);

// Whether the layout prints square panels for a disk case instead of letter pages.
bool IsCutOut(PageLayout layout);

// The page and panel counts of a listing of lineCount printed lines (a line per row, and
// one more for each line a long comment continues on). An empty listing still gets one
// page and one panel (its title and summary).
PrintCounts CountPages(PageLayout layout, std::int64_t lineCount);

// Whether a printed row of this kind gets a line number: entries and the user's own rows
// do, the comment and file data rows that belong to an entry do not.
bool IsNumbered(RowKind kind);

// One range per block (a page in the letter layouts, a panel in the cut-out layouts) for
// blockCount blocks: block 1 starts at the first line of row 0, every later one right after
// the previous, each holding at most its capacity of lines; a row whose lines do not all
// fit goes on at the top of the next block. Every row takes a line, numbered or not, and
// those of tallRows (in row order) their number of lines. Blocks past the last line are
// empty. blockCount below 0 gives no blocks.
std::vector<PageRange> BuildPageTable(const ListingTable& snapshot, PageLayout layout,
                                      int blockCount, const std::vector<TallRow>& tallRows);

} // namespace dirscribe
