// SPDX-License-Identifier: MIT
// Lists a folder again without losing what the user typed into its listing.
#pragma once

#include "core/ops/ListingMerge.h"
#include "core/ops/ListingSession.h"
#include "core/platform/Notice.h"
#include "core/platform/Progress.h"
#include "core/platform/StopFlag.h"

#include <ctime>
#include <optional>
#include <string>

namespace dirscribe {

struct ListingUpdate {
    ShownListing listing;   // the new listing, marked modified
    ListingOptions options; // the settings it was read with (its own columns and shape)
    UpdateCounts counts;
};

// Reads the folder of `listing` again with its settings in the listing's own shape (the
// depth and content it was read in, as its document records them) and columns, whatever
// the settings say now, and carries everything typed over (PopulateCarrying): nothing
// typed is lost, and updating the result again changes nothing. Returns nothing when the
// folder cannot be read or the read is stopped; `listing` is never changed. The new
// listing compares its saves with the document `listing` was read from (its version), and
// keeps the volume's note and the label the user gave where the system gives none. It reads
// `listing` and changes nothing, so it may run on a thread of its own while `listing` is
// only shown; ListingSession::ShowUpdate puts the result on show.
std::optional<ListingUpdate> UpdateListing(const ListingSession& listing, Notice& notice,
                                           Progress& progress, StopFlag& stop);

// Opens the document at path (with these settings for what a document does not record),
// updates it (UpdateListing) and saves the result to target (special files as `special`
// says) with the time `createdOn`. Where target is the document itself and another program
// saves it between the read and the save, the update starts again from what that program
// wrote, so that neither loses anything (given up with ChangedSinceRead's message when that
// keeps happening). Two updates of one document at once thus give what one after the other
// gives. A note given replaces the volume note the document keeps. Returns the counts of the
// update saved, or nothing after a message.
std::optional<UpdateCounts> UpdateDocument(const std::string& path, const std::string& target,
                                           const ListingOptions& options, Notice& notice,
                                           Progress& progress, StopFlag& stop,
                                           std::time_t createdOn, SpecialFiles special,
                                           const std::optional<std::string>& note = {});

} // namespace dirscribe
