// SPDX-License-Identifier: MIT
// Filling a listing again without losing what the user typed into it.
#pragma once

#include "core/listing/CDirscribeDoc.h"
#include "core/listing/ListingShape.h"
#include "core/options/ListingOptions.h"
#include "core/platform/Progress.h"
#include "core/table/ListingTable.h"

#include <string>

namespace dirscribe {

struct UpdateCounts {
    int kept = 0;  // entries listed before and found again
    int added = 0; // entries found that were not listed
    int gone = 0;  // entries listed before that are no longer there
};

// Whether the table holds anything a new filling must carry over: a comment, a row that is
// no entry (a comment's continuation, file details, a row the user inserted) or an entry
// kept as gone.
bool HoldsTyped(const ListingTable& table);
// Whether it holds text in its Comments column, which must therefore stay.
bool HoldsComments(const ListingTable& table);

// Fills table from the read in doc, as PopulateTable does, and carries over what `old`, a
// listing of the same folder in shape oldShape, holds for its entries. An entry is known by
// its path of raw names from the listed folder (a row that knows no entry, as those of
// documents without their extension block, by the names its cells show: exactly, and only
// as a last resort, for a name in capitals as All in UpperCase writes it, ignoring case when
// one name alone matches and no row matches that name exactly). What belongs to an entry
// found again (its
// comment, and the rows below it up to the next entry) goes with it. An entry not found
// again that has something typed stays on a row of its own in its old folder, after the
// entry that stood before it there, its folder's row kept above it when that is not listed
// either; it is marked gone (its row's gone mark, and kGoneMark after its name) when it is
// not on disk, and kept unmarked when it is (the new listing only does not show it). Rows
// above the first entry stay on top. Reading the new listing's result again changes
// nothing. Empties doc as PopulateTable does; when memory runs out (std::bad_alloc) table
// is as it was.
UpdateCounts PopulateCarrying(ListingTable& table, CDirscribeDoc& doc,
                              const std::string& folderPath, const ListingOptions& options,
                              const ListingTable& old, const ListingShape& oldShape,
                              Progress& progress);

// The table made again from its own entries, without reading the disk: the columns and
// entry style of options for a listing of this shape, every row where it was, rows of
// entries with new texts and their comments (a text typed into an entry's own cell stays),
// gone entries still marked, every other row with its cells under the columns of the same
// kind.
ListingTable RefilledTable(const ListingTable& table, const ListingOptions& options,
                           const ListingShape& shape);

} // namespace dirscribe
