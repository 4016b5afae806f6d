// SPDX-License-Identifier: MIT
// Picks the mounted volumes a person would browse from the kernel's mount table.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dirscribe {

// Reads the mount table in the form of /proc/self/mountinfo and gives the mount points of the
// volumes worth showing, each once, in the table's order, with the table's octal escapes
// (\040 for a blank and so on) decoded. Left out:
// - the root "/" (the tree shows it on its own);
// - kernel and pseudo file systems (proc, sysfs, devtmpfs, devpts, cgroup, cgroup2, mqueue,
//   debugfs, tracefs, securityfs, pstore, bpf, configfs, fusectl, hugetlbfs, autofs,
//   binfmt_misc, efivarfs, rpc_pipefs, nsfs) and overlay, the layered views containers use;
// - whatever is mounted at or below /proc, /sys, /dev, /run or /snap (system and package
//   mounts, tmpfs included there; a tmpfs elsewhere, such as /tmp, is kept).
// Malformed lines are skipped. Whether a mount point is a folder is not checked here.
std::vector<std::string> VolumesFromMountTable(std::string_view mountInfo);

// One line of the mount table: a file system (device major:minor) mounted at a point.
struct MountEntry {
    std::string mountPoint; // octal escapes decoded
    std::string source;     // the device or what stands for it ("/dev/sdb1", "tmpfs")
    std::string type;       // "ext4", "vfat", ...
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
};

// The mount of the file system on device major:minor that holds the absolute path `path`:
// of the lines of that device whose mount point is path or a folder above it, the deepest
// (a bind mount elsewhere is not the folder's). None when no line fits.
std::optional<MountEntry> MountHolding(std::string_view mountInfo, std::uint32_t major,
                                       std::uint32_t minor, std::string_view path);

// The volumes of this system: "/" first, then VolumesFromMountTable of /proc/self/mountinfo
// that are folders. Just "/" when the table cannot be read.
std::vector<std::string> SystemVolumes();

} // namespace dirscribe
