// SPDX-License-Identifier: MIT
// The document: what the last read found on disk.
#pragma once

#include "core/listing/ListingEntry.h"
#include "core/listing/ListingSummary.h"

#include <cstdint>
#include <vector>

namespace dirscribe {

// Holds only what was read from disk; comments and the texts the user sees live in the
// listing table. The folder scanner fills it, table population and the outputs read it.
struct CDirscribeDoc {
    // The listing in display order before any sorting.
    std::vector<ListingEntry> entries;
    // The rows of a tree read while it is under way; the completion moves them into entries.
    std::vector<ListingEntry> collected;
    // How many folders the last single-folder read put at the head of entries (both files
    // and folders listed); 0 otherwise and after a tree read that descended.
    std::int32_t headFolderCount = 0;
    ListingSummary summary;

    // Destroys what a tree read has collected; entries stay.
    void DeleteContents() { collected.clear(); }
};

} // namespace dirscribe
