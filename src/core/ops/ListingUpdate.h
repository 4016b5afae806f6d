// SPDX-License-Identifier: MIT
// Lists a folder again without losing what the user typed into its listing.
#pragma once

#include "core/ops/ListingSession.h"
#include "core/platform/Notice.h"
#include "core/platform/Progress.h"
#include "core/platform/StopToken.h"

#include <optional>

namespace dirscribe {

struct UpdateCounts {
    int kept = 0;  // entries listed before and found again
    int added = 0; // entries found that were not listed
    int gone = 0;  // entries listed before that are no longer there
};

struct ListingUpdate {
    ListingSession session; // the new listing, marked modified
    UpdateCounts counts;
};

// Reads the folder of `listing` again with its settings; the depth, the content and the
// columns are the ones its rows show (the deepest tree level; folders, files or both; the
// table's columns, whatever the settings say now). Every entry's
// comment, and the comment and details rows below it, go to the entry of the same name (in
// a tree, the same path of names from the top). An entry that is gone keeps its rows when
// it has a comment or rows below it: its own row then stays, its name marked with
// kGoneMark, placed where it stood among the others. Nothing typed is lost. Returns nothing
// when the folder cannot be read or the read is stopped; `listing` is never changed.
std::optional<ListingUpdate> UpdateListing(const ListingSession& listing, Notice& notice,
                                           Progress& progress, StopFlag& stop);

} // namespace dirscribe
