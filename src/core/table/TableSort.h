// SPDX-License-Identifier: MIT
// Sorting the listing table by a column, and moving rows out of it and back.
#pragma once

#include "core/table/ListingTable.h"
#include "core/table/SortContext.h"
#include "core/table/SortState.h"

#include <cstdint>

namespace dirscribe {

// Sorts every row of the table by the key of column; rows with equal keys keep their
// order. Column 0 and "Attr." sort by text (CompareTextKeys) and leave each row's item
// data as it was. "Comments", or an empty title at an index other than 0 (no such
// column), leave the table unchanged. Any other column sorts by NumericKeyReader keys
// read with dateFormat, and each row's item data becomes its key (NumericKey::Clamped,
// negated when descending).
void SortTableByColumn(ListingTable& table, bool ascending, int column, std::int32_t dateFormat);

// A click on the header of column. Does nothing at all while context.lastDepth is not 0.
// Otherwise the state flips direction when the same column is clicked again and starts
// ascending on a new column, even when context.sortEnabled is 0; with sorting enabled the
// first min(headFolderCount, rows) rows are then sorted among themselves and the rest
// among themselves, so folder rows stay on top. Returns true when the rows went through
// the sort (also when the column's rows keep their order, as for "Comments").
bool OnColumnClick(ListingTable& table, SortState& state, int column, const SortContext& context);

} // namespace dirscribe
