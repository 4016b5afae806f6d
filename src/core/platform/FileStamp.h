// SPDX-License-Identifier: MIT
// What tells that a file changed without reading it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace dirscribe {

// A file's size, its modification and change times (nanoseconds since 1970) and its
// inode and device: a save, which writes a new file and renames it, changes the inode; a
// write in place changes the times.
struct FileStamp {
    std::uint64_t size = 0;
    std::int64_t modified = 0;
    std::int64_t changed = 0;
    std::uint64_t inode = 0;
    std::uint64_t device = 0;

    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// The stamp of the file at path (links followed); none when it cannot be had.
std::optional<FileStamp> ReadFileStamp(const std::string& path);

} // namespace dirscribe
