// SPDX-License-Identifier: MIT
// What a walk of the disk learns about one folder.
#pragma once

#include "core/listing/ListingSummary.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

namespace dirscribe {

// One folder at or below the one a FolderWalk reads.
struct FolderRead {
    bool readable = false;    // it was opened
    bool otherDevice = false; // on another file system: counted, never entered
    bool complete = false;    // its names were read to the end without an error
    int openError = 0;        // errno of a failed open
    ListingSummary summary;   // everything below it
    // Only for folders whose contents the listing shows: where its entries are in the
    // walk's EntryStore, placed as a single-folder read places them, and for each folder
    // entry (they come first) what is known of that folder, in the walk's FolderArena.
    std::size_t first = 0;
    std::size_t count = 0;
    std::vector<FolderRead*> folders;
    std::int32_t headFolderCount = 0;

    [[nodiscard]] FolderRead* FolderAt(std::size_t index) const {
        return index < folders.size() ? folders[index] : nullptr;
    }
};

// Where the results of the listed folders live until the listing is assembled: one place
// for all of them, so a tree of any depth is freed without recursion.
using FolderArena = std::deque<FolderRead>;

} // namespace dirscribe
