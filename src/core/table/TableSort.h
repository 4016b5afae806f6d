// SPDX-License-Identifier: MIT
// Sorting the listing table by a column, and moving rows out of it and back.
#pragma once

#include "core/table/ListingTable.h"
#include "core/table/SortContext.h"
#include "core/table/SortState.h"

#include <vector>

namespace dirscribe {

// A click on the header of column. Does nothing at all in a tree listing. Otherwise the
// state flips direction when the same column is clicked again and starts ascending on a new
// column; the folders at the top (by their entries, or bracketed names where rows know no
// entry) are then sorted among themselves and the rest among themselves, so folders stay
// on top. Each entry row moves with the rows that belong to it (those below it up to the
// next entry of the listed folder: comment, details and inserted rows, and entries below it
// that a re-read kept); entries with equal keys keep their order, rows above the first entry
// stay on top. Column 0 and the attributes column sort by text (CompareTextKeys) and leave
// item data as it was. The comments column, a detail column and an index the table has no
// column at leave the order as it is. Any other column sorts by NumericKeyReader keys read
// with the context's date format, and each entry row's item data becomes its key
// (NumericKey::Clamped, negated when descending). Returns true when the rows went through
// the sort (also when the column's rows keep their order, as for the comments column). With
// `moved`, it gets where each row came from: row i is the row that stood at (*moved)[i]
// before the sort.
bool OnColumnClick(ListingTable& table, SortState& state, int column, const SortContext& context,
                   std::vector<int>* moved = nullptr);

} // namespace dirscribe
