// SPDX-License-Identifier: MIT
// Which file was read, and what it held then: so that a save can tell whether another
// writer has replaced it since.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <sys/stat.h>

namespace dirscribe {

// A file as it was when it was read or written. Every save replaces a file by renaming a new
// one over it, and a write changes its times, so another save of the same place gives
// another version.
struct FileVersion {
    // Where: the folder (by device and inode, so any path to it will do) and the name in it.
    std::uint64_t folderDevice = 0;
    std::uint64_t folderInode = 0;
    std::string name;
    // What: the file found there, its size and its last change (nanoseconds).
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modified = 0;
    std::int64_t changed = 0;

    friend bool operator==(const FileVersion&, const FileVersion&) = default;
};

// The version of the file that path names (links followed), described by info (fstat of it
// as it was opened); nothing when the folder it is in cannot be found.
std::optional<FileVersion> VersionOfFile(const std::string& path, const struct stat& info);

// The version of the file in the folder open as folder (any descriptor of it) under name,
// described by info.
FileVersion VersionIn(int folder, const std::string& name, const struct stat& info);

} // namespace dirscribe
