// SPDX-License-Identifier: MIT
#include "core/platform/SaveLock.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dirscribe {

namespace {

constexpr std::size_t kSuffixBytes = 6;

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool IsTemporaryName(const std::string& name, const std::string& prefix) {
    return name.size() == prefix.size() + kSuffixBytes && name.starts_with(prefix) &&
           std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
}

// Removes the name if it is a temporary file no running save holds.
void RemoveIfUnheld(int folder, const std::string& name) {
    const int fd =
        ::openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat opened {};
    struct stat named {};
    // The lock is kept until the name is gone, so a new save cannot take the name meanwhile.
    if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) &&
        ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        ::fstatat(folder, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
        SameFile(opened, named))
        ::unlinkat(folder, name.c_str(), 0);
    ::close(fd);
}

} // namespace

bool LockNewTemporaryFile(int fd, const std::string& path) {
    int rc = 0;
    do
        rc = ::flock(fd, LOCK_EX);
    while (rc != 0 && errno == EINTR);
    if (rc != 0)
        return true;
    // A cleanup that opened the file before the lock was taken may have removed the name.
    struct stat opened {};
    struct stat named {};
    return ::fstat(fd, &opened) == 0 && ::lstat(path.c_str(), &named) == 0 &&
           SameFile(opened, named);
}

void RemoveStaleTemporaryFiles(const std::string& folder, const std::string& prefix) {
    struct Closer {
        void operator()(DIR* stream) const { ::closedir(stream); }
    };
    const std::unique_ptr<DIR, Closer> stream(::opendir(folder.c_str()));
    if (!stream)
        return;
    const int fd = ::dirfd(stream.get());
    while (const dirent* entry = ::readdir(stream.get())) {
        const std::string name = entry->d_name;
        if (IsTemporaryName(name, prefix))
            RemoveIfUnheld(fd, name);
    }
}

} // namespace dirscribe
