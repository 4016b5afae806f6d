// SPDX-License-Identifier: MIT
// What the system says of the volume a folder is on.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dirscribe {

// A volume as it was when a folder on it was read. Texts are the system's bytes (a mount
// point or a label need not be UTF-8); an empty text is one the system did not give.
struct VolumeFacts {
    std::string mountPoint;     // where its file system is mounted
    std::string label;          // as /dev/disk/by-label names it
    std::string uuid;           // as /dev/disk/by-uuid names it
    std::string fileSystem;     // the mount table's type: "ext4", "vfat", "iso9660", ...
    bool sized = false;         // capacity and free are known
    std::uint64_t capacity = 0; // bytes
    std::uint64_t free = 0;     // bytes a user may still write

    friend bool operator==(const VolumeFacts&, const VolumeFacts&) = default;
};

// The facts of the volume that holds the folder at the absolute path `folder`: its mount
// (the mount table /proc/self/mountinfo, by the folder's device), the label and UUID whose
// links in /dev/disk/by-label and /dev/disk/by-uuid lead to the mount's device, and its
// size from statvfs. Whatever the system does not tell stays empty; never fails.
VolumeFacts ReadVolumeFacts(const std::string& folder);

// The name of the link in `linkFolder` (such as /dev/disk/by-label) that leads to the
// device `source`, or whose target is the block device major:minor, with udev's escapes
// ("\x20" for a blank) decoded; empty when none does.
std::string DiskLinkName(const std::string& linkFolder, const std::string& source,
                         std::uint32_t major, std::uint32_t minor);

// udev's escapes in a link name ("USB\x20Stick") decoded.
std::string UdevUnescape(std::string_view name);

} // namespace dirscribe
