// SPDX-License-Identifier: MIT
#include "core/platform/FileVersion.h"

#include <climits>
#include <cstdlib>
#include <memory>

namespace dirscribe {

namespace {

std::int64_t Nanoseconds(const timespec& time) {
    return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

void Describe(FileVersion& version, const struct stat& info) {
    version.device = info.st_dev;
    version.inode = info.st_ino;
    version.size = info.st_size;
    version.modified = Nanoseconds(info.st_mtim);
    version.changed = Nanoseconds(info.st_ctim);
}

} // namespace

std::optional<FileVersion> VersionOfFile(const std::string& path, const struct stat& info) {
    // The name the links lead to, in the folder that holds it.
    const std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr),
                                                           &std::free);
    if (!real)
        return std::nullopt;
    const std::string resolved = real.get();
    const std::size_t slash = resolved.rfind('/');
    const std::string folder = slash == 0 ? "/" : resolved.substr(0, slash);
    struct stat folderInfo {};
    if (::stat(folder.c_str(), &folderInfo) != 0)
        return std::nullopt;
    FileVersion version;
    version.folderDevice = folderInfo.st_dev;
    version.folderInode = folderInfo.st_ino;
    version.name = resolved.substr(slash + 1);
    Describe(version, info);
    return version;
}

FileVersion VersionIn(int folder, const std::string& name, const struct stat& info) {
    struct stat folderInfo {};
    FileVersion version;
    if (::fstat(folder, &folderInfo) == 0) {
        version.folderDevice = folderInfo.st_dev;
        version.folderInode = folderInfo.st_ino;
    }
    version.name = name;
    Describe(version, info);
    return version;
}

} // namespace dirscribe
