// SPDX-License-Identifier: MIT
#include "core/platform/VolumeUsage.h"

#include <sys/stat.h>
#include <sys/statvfs.h>

namespace dirscribe {

std::optional<std::int64_t> EntriesInUseOfVolume(const std::string& path) {
    struct stat self {};
    struct stat above {};
    if (stat(path.c_str(), &self) != 0 || stat((path + "/..").c_str(), &above) != 0)
        return std::nullopt;
    // The root of a file system: its parent is on another device, or is itself ("/").
    const bool root = self.st_dev != above.st_dev || self.st_ino == above.st_ino;
    struct statvfs volume {};
    if (!root || statvfs(path.c_str(), &volume) != 0 || volume.f_files == 0 ||
        volume.f_ffree >= volume.f_files)
        return std::nullopt;
    return static_cast<std::int64_t>(volume.f_files - volume.f_ffree);
}

} // namespace dirscribe
