// SPDX-License-Identifier: MIT
// One file or folder read from disk.
#pragma once

#include "core/platform/FileAttributes.h"

#include <cstdint>
#include <string>

namespace dirscribe {

// No entry: the parent of an entry of the listed folder itself, or a row made otherwise.
inline constexpr std::uint32_t kNoEntry = UINT32_MAX;

struct ListingEntry {
    // Attribute bits as enumerated; kAttributeDirectory is the one test of folder versus file.
    std::uint32_t attributes = 0;
    // The tree level the row is shown at: 0 in a single-folder listing, from 1 in a tree.
    std::int32_t level = 0;
    // The folder it is in, as an index into the same list; kNoEntry for the listed folder.
    std::uint32_t parent = kNoEntry;
    // A folder whose total could not be computed and that the name says is the system's.
    bool restricted = false;
    // The name as the disk holds it (any bytes), without a path or decoration; every use of
    // the disk takes this, the table shows it as display text.
    std::string name;
    // A file's size, or for a folder the total of all files at any depth below it.
    std::uint64_t size = 0;
    // Last-write time: 100 ns ticks since 1601-01-01 UTC.
    std::uint64_t modified = 0;

    [[nodiscard]] bool IsFolder() const { return (attributes & kAttributeDirectory) != 0; }
};

} // namespace dirscribe
