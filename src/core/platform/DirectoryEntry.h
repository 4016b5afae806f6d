// SPDX-License-Identifier: MIT
// What lstat tells about one name in a folder.
#pragma once

#include <cstdint>

namespace dirscribe {

struct DirectoryEntry {
    std::uint32_t attributes = 0; // Windows-style bits, see FileAttributes.h
    std::uint64_t size = 0;       // lstat size; 0 for folders
    std::uint64_t modified = 0;   // file time of st_mtim
    bool isFolder = false;        // a real folder, never a link to one
    bool otherDevice = false;     // a folder on another file system (a mount point)
};

} // namespace dirscribe
