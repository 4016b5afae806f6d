// SPDX-License-Identifier: MIT
// The rows of one printed page or cut-out panel.
#pragma once

namespace dirscribe {

// The printed lines of rows firstRow..lastRow of the print snapshot; a range whose lastRow
// is below its firstRow holds no rows. A row takes one line, or more when its Comments cell
// continues below it; skippedLines of firstRow's lines were printed on the blocks before
// (its name among them when there are any), and the block prints lineCount lines from
// there. numberedBefore counts the numbered rows whose first line was printed before, so
// line numbers run on from one page or panel to the next.
struct PageRange {
    int firstRow = 0;
    int lastRow = -1;
    int numberedBefore = 0;
    int skippedLines = 0;
    int lineCount = 0;

    [[nodiscard]] int RowCount() const { return lastRow >= firstRow ? lastRow - firstRow + 1 : 0; }
    friend bool operator==(const PageRange&, const PageRange&) = default;
};

} // namespace dirscribe
