// SPDX-License-Identifier: MIT
// Write-to-temporary, flush and rename, so a save either happens whole or not at all.
#include "core/platform/AtomicFile.h"

#include "core/Error.h"
#include "core/platform/InterruptCleanup.h"
#include "core/platform/SaveLock.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace dirscribe {

namespace {

// Linux gives up on symbolic link chains at this depth too.
constexpr int kMaxLinkHops = 40;
// Keeps the temporary name well below the usual 255-byte name limit.
constexpr std::size_t kMaxTempStemBytes = 100;
// As mkstemp: six letters or digits, tried afresh while the name is taken.
constexpr int kTempSuffixBytes = 6;
constexpr int kMaxNameTries = 100;

[[noreturn]] void Fail(const std::string& path, const std::string& reason) {
    throw Error("Cannot save \"" + path + "\": " + reason);
}

[[noreturn]] void FailErrno(const std::string& path, int error) {
    Fail(path, std::generic_category().message(error));
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Refuses to follow a link where the kernel's protected-symlinks rule would: in a folder
// that everybody may write to and that has the sticky bit (such as /tmp), only a link of this
// user or of the folder's owner is followed. Otherwise anybody could make a name there point
// at a file of ours, and the rename would replace that file.
void CheckLinkMayBeFollowed(const std::string& userPath, const std::string& link,
                            const struct stat& linkInfo) {
    struct stat folder {};
    if (::stat(FolderOf(link).c_str(), &folder) != 0)
        FailErrno(userPath, errno);
    const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
    if (shared && linkInfo.st_uid != ::geteuid() && linkInfo.st_uid != folder.st_uid)
        Fail(userPath, "it is a link owned by another user");
}

// Follows symbolic links from `path` to the name that really holds the file, so the
// rename replaces the file and leaves every link to it in place. The result may not exist.
std::string ResolveLinks(const std::string& userPath) {
    std::string path = userPath;
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return path;
        CheckLinkMayBeFollowed(userPath, path, info);
        std::string target(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 4095) + 1,
                           '\0');
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length < 0)
            FailErrno(userPath, errno);
        if (static_cast<std::size_t>(length) >= target.size())
            Fail(userPath, "the symbolic link changed while it was read");
        target.resize(static_cast<std::size_t>(length));
        if (target.empty())
            FailErrno(userPath, ENOENT);
        path = target.front() == '/' ? target : FolderOf(path) + "/" + target;
    }
    FailErrno(userPath, ELOOP);
}

// The mode a plain open(O_CREAT, 0666) would give: the process's umask taken from
// /proc, because umask() can only be read by changing it.
mode_t NewFileMode() {
    mode_t mask = 022;
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Umask:", 0) == 0) {
            mask = static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
            break;
        }
    }
    return static_cast<mode_t>(0666 & ~mask);
}

void WriteAllTo(int fd, const std::string& userPath, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            FailErrno(userPath, errno);
        }
        if (written == 0)
            FailErrno(userPath, ENOSPC);
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

std::string RandomSuffix(std::mt19937& random) {
    static constexpr std::string_view kLetters =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::uniform_int_distribution<std::size_t> pick(0, kLetters.size() - 1);
    std::string suffix(kTempSuffixBytes, ' ');
    for (char& c : suffix)
        c = kLetters[pick(random)];
    return suffix;
}

// Owns the temporary file until it has been renamed into place, and holds its lock (see
// SaveLock.h) until then, so no other save takes it for one a killed save left.
class TempFile {
public:
    TempFile(const std::string& userPath, const std::string& folder, const std::string& prefix)
        : m_userPath(userPath) {
        std::mt19937 random(std::random_device{}());
        // The name is held for removal before the file exists, so no signal finds the
        // file made and not yet held.
        for (int tries = 0; m_fd < 0; ++tries) {
            m_path = (folder == "/" ? "" : folder) + "/" + prefix + RandomSuffix(random);
            m_cleanup.emplace(m_path);
            m_fd = ::open(m_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
            if (m_fd < 0) {
                m_cleanup.reset();
                if (errno != EEXIST || tries == kMaxNameTries)
                    FailErrno(m_userPath, errno);
            } else if (!LockNewTemporaryFile(m_fd, m_path)) {
                ::close(m_fd);
                m_fd = -1;
                m_cleanup.reset();
                if (tries == kMaxNameTries)
                    FailErrno(m_userPath, EBUSY);
            }
        }
    }
    ~TempFile() {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_renamed)
            ::unlink(m_path.c_str());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    [[nodiscard]] int Descriptor() const { return m_fd; }

    void TakeModeOf(const struct stat* old) const {
        if (old != nullptr) {
            // Keeping the owner is best effort: only root, or the owner itself, may do it;
            // otherwise the file is owned by whoever saves it.
            [[maybe_unused]] const int owned = ::fchown(m_fd, old->st_uid, old->st_gid);
            if (::fchmod(m_fd, old->st_mode & 07777) != 0)
                FailErrno(m_userPath, errno);
        } else if (::fchmod(m_fd, NewFileMode()) != 0) {
            FailErrno(m_userPath, errno);
        }
    }

    void Flush() const {
        int rc = 0;
        do
            rc = ::fsync(m_fd);
        while (rc != 0 && errno == EINTR);
        if (rc != 0)
            FailErrno(m_userPath, errno);
        // Network file systems may report a failed write only when a descriptor is closed;
        // a copy is closed, so the lock stays held until the rename.
        const int copy = ::dup(m_fd);
        if (copy < 0 || (::close(copy) != 0 && errno != EINTR))
            FailErrno(m_userPath, errno);
    }

    void RenameTo(const std::string& target) {
        if (::rename(m_path.c_str(), target.c_str()) != 0)
            FailErrno(m_userPath, errno);
        m_renamed = true;
    }

private:
    std::string m_userPath;
    std::string m_path;
    int m_fd = -1;
    bool m_renamed = false;
    std::optional<InterruptCleanup> m_cleanup;
};

// Makes the rename itself survive a crash. File systems that cannot sync a folder say so
// with EINVAL; the file is in place then, so that is no failure.
void SyncFolder(const std::string& userPath, const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    int rc = 0;
    do
        rc = ::fsync(fd);
    while (rc != 0 && errno == EINTR);
    const int error = errno;
    ::close(fd);
    if (rc != 0 && error != EINVAL && error != ENOTSUP && error != EROFS)
        FailErrno(userPath, error);
}

// Hands each block straight to an open descriptor.
class DescriptorSink final : public ByteSink {
public:
    DescriptorSink(int fd, const std::string& userPath) : m_fd(fd), m_userPath(userPath) {}
    void Write(std::string_view bytes) override { WriteAllTo(m_fd, m_userPath, bytes); }

private:
    int m_fd;
    const std::string& m_userPath;
};

// Writes into a target that is not a regular file (a pipe, a terminal, a device) as it is;
// false when the name turned out to hold a regular file after all.
bool WriteThrough(const std::string& path, const std::function<void(ByteSink&)>& produce) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        FailErrno(path, errno);
    struct stat info {};
    const bool regular = ::fstat(fd, &info) != 0 || S_ISREG(info.st_mode);
    if (!regular) {
        try {
            DescriptorSink sink(fd, path);
            produce(sink);
        } catch (...) {
            ::close(fd);
            throw;
        }
    }
    if (::close(fd) != 0 && !regular && errno != EINTR)
        FailErrno(path, errno);
    return !regular;
}

} // namespace

void WriteFileAtomically(const std::string& path, std::string_view bytes, SpecialFiles special) {
    WriteFileAtomically(
        path, [bytes](ByteSink& sink) { sink.Write(bytes); }, special);
}

void WriteFileAtomically(const std::string& path, const std::function<void(ByteSink&)>& produce,
                         SpecialFiles special) {
    if (path.empty())
        FailErrno(path, ENOENT);
    const std::string target = ResolveLinks(path);
    // The kernel follows /dev/stdout and /dev/fd/N to the pipe itself; ResolveLinks cannot.
    struct stat named {};
    if (special == SpecialFiles::WriteThrough && ::stat(path.c_str(), &named) == 0 &&
        !S_ISREG(named.st_mode) && !S_ISDIR(named.st_mode) && WriteThrough(path, produce))
        return;

    struct stat old {};
    bool exists = false;
    if (::stat(target.c_str(), &old) == 0) {
        exists = true;
        if (S_ISDIR(old.st_mode))
            Fail(path, "it is a folder");
        if (!S_ISREG(old.st_mode))
            Fail(path, "it is not a regular file");
        // A file the user may not write stays, as a shell's redirection would leave it.
        if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
            FailErrno(path, errno);
    } else if (errno != ENOENT) {
        FailErrno(path, errno);
    }

    const std::string folder = FolderOf(target);
    std::string prefix = ".";
    prefix.append(NameOf(target), 0, kMaxTempStemBytes).append(".tmp-");
    RemoveStaleTemporaryFiles(folder, prefix);
    TempFile temp(path, folder, prefix);
    DescriptorSink sink(temp.Descriptor(), path);
    produce(sink);
    temp.TakeModeOf(exists ? &old : nullptr);
    temp.Flush();
    temp.RenameTo(target);
    SyncFolder(path, folder);
}

} // namespace dirscribe
