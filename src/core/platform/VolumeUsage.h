// SPDX-License-Identifier: MIT
// How many entries a whole volume holds, for a progress bar that knows how far a read is.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace dirscribe {

// The files and folders in use (inodes) on the file system whose root is the folder at
// path, as the file system reports them; none when path is not the root of its file system
// (a folder below it tells nothing of its own share) or the file system keeps no count.
std::optional<std::int64_t> EntriesInUseOfVolume(const std::string& path);

} // namespace dirscribe
