// SPDX-License-Identifier: MIT
// The rows of one printed page or cut-out panel.
#pragma once

namespace dirscribe {

// Rows firstRow..lastRow of the print snapshot; a range whose lastRow is below its firstRow
// holds no rows. numberedBefore counts the numbered rows of the snapshot before firstRow,
// so line numbers run on from one page or panel to the next.
struct PageRange {
    int firstRow = 0;
    int lastRow = -1;
    int numberedBefore = 0;

    [[nodiscard]] int RowCount() const { return lastRow >= firstRow ? lastRow - firstRow + 1 : 0; }
    friend bool operator==(const PageRange&, const PageRange&) = default;
};

} // namespace dirscribe
