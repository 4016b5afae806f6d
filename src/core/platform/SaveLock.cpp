// SPDX-License-Identifier: MIT
#include "core/platform/SaveLock.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace dirscribe {

namespace {

constexpr std::size_t kSuffixBytes = 6;
// A save of the largest document takes seconds; a lock held longer belongs to no save.
constexpr auto kLongestWait = std::chrono::seconds(30);
constexpr auto kWaitStep = std::chrono::milliseconds(10);
constexpr int kMaxLockTries = 100;

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool IsTemporaryName(const std::string& name, const std::string& prefix) {
    return name.size() == prefix.size() + kSuffixBytes && name.starts_with(prefix) &&
           std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
}

// Whether name in folder is still the file open as fd.
bool StillNamed(int folder, const std::string& name, int fd) {
    struct stat opened {};
    struct stat named {};
    return ::fstat(fd, &opened) == 0 &&
           ::fstatat(folder, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
           SameFile(opened, named);
}

// Removes the name if it is a temporary file no running save holds.
void RemoveIfUnheld(int folder, const std::string& name) {
    const FileDescriptor fd(
        ::openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.IsOpen())
        return;
    struct stat opened {};
    // The lock is kept until the name is gone, so a new save cannot take the name meanwhile.
    if (::fstat(fd.Get(), &opened) == 0 && S_ISREG(opened.st_mode) &&
        ::flock(fd.Get(), LOCK_EX | LOCK_NB) == 0 && StillNamed(folder, name, fd.Get()))
        ::unlinkat(folder, name.c_str(), 0);
}

// Waits for the lock on fd; false when another holder kept it past the longest wait.
bool TakeLock(int fd) {
    const auto until = std::chrono::steady_clock::now() + kLongestWait;
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            return true;
        if (errno != EWOULDBLOCK && errno != EINTR)
            return true; // a file system without locks: saves there cannot take turns
        if (std::chrono::steady_clock::now() >= until)
            return false;
        std::this_thread::sleep_for(kWaitStep);
    }
}

} // namespace

bool LockNewTemporaryFile(int fd, int folder, const std::string& name) {
    int rc = 0;
    do
        rc = ::flock(fd, LOCK_EX);
    while (rc != 0 && errno == EINTR);
    if (rc != 0)
        return true;
    // A cleanup that opened the file before the lock was taken may have removed the name.
    return StillNamed(folder, name, fd);
}

void RemoveStaleTemporaryFiles(int folder, const std::string& prefix) {
    struct Closer {
        void operator()(DIR* stream) const { ::closedir(stream); }
    };
    const int fd = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    const std::unique_ptr<DIR, Closer> stream(::fdopendir(fd));
    if (!stream) {
        ::close(fd);
        return;
    }
    while (const dirent* entry = ::readdir(stream.get())) {
        const std::string name = entry->d_name;
        if (IsTemporaryName(name, prefix))
            RemoveIfUnheld(fd, name);
    }
}

TargetLock LockTarget(int folder, const std::string& name) {
    TargetLock lock;
    // Each try finds the file at the name, locks it and checks that the name still holds it:
    // a save that held the lock has renamed another file there meanwhile.
    for (int tries = 0; tries < kMaxLockTries; ++tries) {
        if (::fstatat(folder, name.c_str(), &lock.info, AT_SYMLINK_NOFOLLOW) != 0) {
            lock.outcome = TargetLock::Outcome::Missing;
            return lock;
        }
        lock.outcome = TargetLock::Outcome::Other;
        if (!S_ISREG(lock.info.st_mode))
            return lock;
        FileDescriptor fd(::openat(folder, name.c_str(),
                                   O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        if (!fd.IsOpen()) {
            if (errno == ENOENT || errno == ELOOP)
                continue; // replaced since it was looked at
            return lock;  // unreadable: saved without the lock
        }
        if (::fstat(fd.Get(), &lock.info) != 0 || !S_ISREG(lock.info.st_mode))
            continue;
        if (!TakeLock(fd.Get())) {
            lock.outcome = TargetLock::Outcome::Busy;
            return lock;
        }
        if (StillNamed(folder, name, fd.Get())) {
            lock.outcome = TargetLock::Outcome::Locked;
            lock.file = std::move(fd);
            return lock;
        }
    }
    lock.outcome = TargetLock::Outcome::Busy;
    return lock;
}

} // namespace dirscribe
