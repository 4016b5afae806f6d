// SPDX-License-Identifier: MIT
// One file or folder read from disk.
#pragma once

#include "core/platform/FileAttributes.h"

#include <cstdint>
#include <string>

namespace dirscribe {

struct ListingEntry {
    // Attribute bits as enumerated; kAttributeDirectory is the one test of folder versus file.
    std::uint32_t attributes = 0;
    // The name without a path; a tree read rewrites it with the tree prefix.
    std::string name;
    // A file's size, or for a folder the total of all files at any depth below it.
    std::uint64_t size = 0;
    // Last-write time: 100 ns ticks since 1601-01-01 UTC.
    std::uint64_t modified = 0;

    [[nodiscard]] bool IsFolder() const { return (attributes & kAttributeDirectory) != 0; }
};

} // namespace dirscribe
