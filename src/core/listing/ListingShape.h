// SPDX-License-Identifier: MIT
// How deep a listing goes and what it holds.
#pragma once

#include "core/listing/ListingContent.h"

#include <cstdint>

namespace dirscribe {

// The shape a listing was read in, kept with it (and in its document), so that reading its
// folder again gives the same rows whatever the settings say by then.
struct ListingShape {
    std::int32_t depth = 0; // levels of subfolders shown: 0 none, -1 all
    ListingContent content = ListingContent::FilesAndFolders;

    [[nodiscard]] bool Tree() const { return depth != 0; }
    friend bool operator==(const ListingShape&, const ListingShape&) = default;
};

} // namespace dirscribe
