// SPDX-License-Identifier: MIT
// Lists a folder again without losing what the user typed into its listing.
#pragma once

#include "core/ops/ListingMerge.h"
#include "core/ops/ListingSession.h"
#include "core/platform/Notice.h"
#include "core/platform/Progress.h"
#include "core/platform/StopFlag.h"

#include <optional>

namespace dirscribe {

struct ListingUpdate {
    ListingSession session; // the new listing, marked modified
    UpdateCounts counts;
};

// Reads the folder of `listing` again with its settings in the listing's own shape (the
// depth and content it was read in, as its document records them) and columns, whatever
// the settings say now, and carries everything typed over (PopulateCarrying): nothing
// typed is lost, and updating the result again changes nothing. Returns nothing when the
// folder cannot be read or the read is stopped; `listing` is never changed.
std::optional<ListingUpdate> UpdateListing(const ListingSession& listing, Notice& notice,
                                           Progress& progress, StopFlag& stop);

} // namespace dirscribe
