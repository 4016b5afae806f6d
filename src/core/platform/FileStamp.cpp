// SPDX-License-Identifier: MIT
#include "core/platform/FileStamp.h"

#include <sys/stat.h>

namespace dirscribe {

namespace {

constexpr std::int64_t kNanoseconds = 1'000'000'000;

std::int64_t Nanoseconds(const timespec& time) {
    return static_cast<std::int64_t>(time.tv_sec) * kNanoseconds + time.tv_nsec;
}

} // namespace

std::optional<FileStamp> ReadFileStamp(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return std::nullopt;
    return FileStamp{static_cast<std::uint64_t>(info.st_size), Nanoseconds(info.st_mtim),
                     Nanoseconds(info.st_ctim), static_cast<std::uint64_t>(info.st_ino),
                     static_cast<std::uint64_t>(info.st_dev)};
}

} // namespace dirscribe
