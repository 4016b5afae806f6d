// SPDX-License-Identifier: MIT
// Write-to-temporary, flush and rename, so a save either happens whole or not at all.
#include "core/platform/AtomicFile.h"

#include "core/Error.h"
#include "core/platform/InterruptCleanup.h"

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

// Follows symbolic links from `path` to the name that really holds the file, so the
// rename replaces the file and leaves every link to it in place. The result may not exist.
std::string ResolveLinks(const std::string& userPath) {
    std::string path = userPath;
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return path;
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

// Owns the temporary file until it has been renamed into place.
class TempFile {
public:
    TempFile(const std::string& userPath, const std::string& folder, const std::string& name)
        : m_userPath(userPath) {
        const std::string prefix =
            (folder == "/" ? "" : folder) + "/." + name.substr(0, kMaxTempStemBytes) + ".tmp-";
        std::mt19937 random(std::random_device{}());
        // The name is held for removal before the file exists, so no signal finds the
        // file made and not yet held.
        for (int tries = 0; m_fd < 0; ++tries) {
            m_path = prefix + RandomSuffix(random);
            m_cleanup.emplace(m_path);
            m_fd = ::open(m_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
            if (m_fd < 0) {
                m_cleanup.reset();
                if (errno != EEXIST || tries == kMaxNameTries)
                    FailErrno(m_userPath, errno);
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

    void FlushAndClose() {
        int rc = 0;
        do
            rc = ::fsync(m_fd);
        while (rc != 0 && errno == EINTR);
        if (rc != 0)
            FailErrno(m_userPath, errno);
        const int fd = m_fd;
        m_fd = -1;
        // Network file systems may report a failed write only here.
        if (::close(fd) != 0 && errno != EINTR)
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
    // The kernel follows /dev/stdout and /dev/fd/N to the pipe itself; ResolveLinks cannot.
    struct stat named {};
    if (special == SpecialFiles::WriteThrough && ::stat(path.c_str(), &named) == 0 &&
        !S_ISREG(named.st_mode) && !S_ISDIR(named.st_mode) && WriteThrough(path, produce))
        return;
    const std::string target = ResolveLinks(path);

    struct stat old {};
    bool exists = false;
    if (::stat(target.c_str(), &old) == 0) {
        exists = true;
        if (S_ISDIR(old.st_mode))
            Fail(path, "it is a folder");
        if (!S_ISREG(old.st_mode))
            Fail(path, "it is not a regular file");
    } else if (errno != ENOENT) {
        FailErrno(path, errno);
    }

    const std::string folder = FolderOf(target);
    TempFile temp(path, folder, NameOf(target));
    DescriptorSink sink(temp.Descriptor(), path);
    produce(sink);
    temp.TakeModeOf(exists ? &old : nullptr);
    temp.FlushAndClose();
    temp.RenameTo(target);
    SyncFolder(path, folder);
}

} // namespace dirscribe
