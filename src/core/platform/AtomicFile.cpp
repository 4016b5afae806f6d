// SPDX-License-Identifier: MIT
// Write-to-temporary, flush and rename, so a save either happens whole or not at all.
#include "core/platform/AtomicFile.h"

#include "core/platform/InterruptCleanup.h"
#include "core/platform/SaveLock.h"
#include "core/platform/SaveTarget.h"

#include <cerrno>
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
    TempFile(std::string userPath, int folder, const std::string& prefix)
        : m_userPath(std::move(userPath)), m_folder(folder) {
        std::mt19937 random(std::random_device{}());
        // The name is held for removal before the file exists, so no signal finds the
        // file made and not yet held.
        for (int tries = 0; m_fd < 0; ++tries) {
            m_name = prefix + RandomSuffix(random);
            m_cleanup.emplace(m_folder, m_name);
            m_fd = ::openat(m_folder, m_name.c_str(),
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
            if (m_fd < 0) {
                m_cleanup.reset();
                if (errno != EEXIST || tries == kMaxNameTries)
                    FailErrno(m_userPath, errno);
            } else if (!LockNewTemporaryFile(m_fd, m_folder, m_name)) {
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
            ::unlinkat(m_folder, m_name.c_str(), 0);
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
        if (::renameat(m_folder, m_name.c_str(), m_folder, target.c_str()) != 0)
            FailErrno(m_userPath, errno);
        m_renamed = true;
    }

private:
    std::string m_userPath;
    int m_folder;
    std::string m_name;
    int m_fd = -1;
    bool m_renamed = false;
    std::optional<InterruptCleanup> m_cleanup;
};

// Makes the rename itself survive a crash. File systems that cannot sync a folder say so
// with EINVAL; the file is in place then, so that is no failure.
void SyncFolder(const std::string& userPath, int folder) {
    const FileDescriptor fd(::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd.IsOpen())
        return;
    int rc = 0;
    do
        rc = ::fsync(fd.Get());
    while (rc != 0 && errno == EINTR);
    const int error = errno;
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

// Writes into what fd has open (a pipe, a terminal, a device) as it is, when that is no
// regular file or regularToo says so; false, with nothing written, otherwise.
bool WriteThrough(FileDescriptor fd, const std::string& path,
                  const std::function<void(ByteSink&)>& produce, bool regularToo) {
    if (!fd.IsOpen())
        FailErrno(path, errno);
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0)
        FailErrno(path, errno);
    if (S_ISREG(info.st_mode) && !regularToo)
        return false;
    DescriptorSink sink(fd.Get(), path);
    produce(sink);
    if (fd.Close() != 0 && errno != EINTR)
        FailErrno(path, errno);
    return true;
}

// The target, when it is a special file to be written into: opened (a link of /proc, which
// names an open file such as standard output, by the kernel; anything else never through a
// link) and written if the descriptor says it is no regular file. False when the save goes
// on as a save of a regular file.
bool WrittenThrough(const SaveTarget& target, const std::string& path,
                    const std::function<void(ByteSink&)>& produce, SpecialFiles special) {
    const int folder = target.folder.Get();
    constexpr int kFlags = O_WRONLY | O_NOCTTY | O_CLOEXEC;
    if (target.procLink) {
        if (special != SpecialFiles::WriteThrough)
            Fail(path, "it is not a regular file");
        // Appending: standard output may be a file the shell opened to append to.
        return WriteThrough(
            FileDescriptor(::openat(folder, target.name.c_str(), kFlags | O_APPEND)), path, produce,
            true);
    }
    struct stat info {};
    if (::fstatat(folder, target.name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
        S_ISREG(info.st_mode) || S_ISDIR(info.st_mode) || special != SpecialFiles::WriteThrough)
        return false;
    return WriteThrough(FileDescriptor(::openat(folder, target.name.c_str(), kFlags | O_NOFOLLOW)),
                        path, produce, false);
}

// The name's file, locked, checked and ready to be replaced: its mode for the new file, or
// nothing when there was none.
std::optional<struct stat> CheckReplaced(const TargetLock& lock, const SaveTarget& target,
                                         const std::string& path, const FileVersion* readAs) {
    using Outcome = TargetLock::Outcome;
    if (lock.outcome == Outcome::Busy)
        Fail(path, "another program has been saving it for too long");
    if (lock.outcome == Outcome::Missing)
        return std::nullopt;
    if (S_ISDIR(lock.info.st_mode))
        Fail(path, "it is a folder");
    if (!S_ISREG(lock.info.st_mode))
        Fail(path, "it is not a regular file");
    // A file the user may not write stays, as a shell's redirection would leave it.
    const int folder = target.folder.Get();
    if (::faccessat(folder, target.name.c_str(), W_OK, AT_EACCESS | AT_SYMLINK_NOFOLLOW) != 0)
        FailErrno(path, errno);
    if (readAs != nullptr && readAs->name == target.name) {
        const FileVersion here = VersionIn(folder, target.name, lock.info);
        if (here.folderDevice == readAs->folderDevice && here.folderInode == readAs->folderInode &&
            here != *readAs)
            throw ChangedSinceRead("Cannot save \"" + path +
                                   "\": another program has saved it since it was read here, "
                                   "and what it wrote would be lost");
    }
    return lock.info;
}

} // namespace

void WriteFileAtomically(const std::string& path, std::string_view bytes, SpecialFiles special) {
    WriteFileAtomically(
        path, [bytes](ByteSink& sink) { sink.Write(bytes); }, special);
}

void WriteFileAtomically(const std::string& path, const std::function<void(ByteSink&)>& produce,
                         SpecialFiles special) {
    WriteFileAtomically(path, produce, special, nullptr, nullptr);
}

void WriteFileAtomically(const std::string& path, const std::function<void(ByteSink&)>& produce,
                         SpecialFiles special, const FileVersion* readAs, FileVersion* saved) {
    const SaveTarget target = ResolveSaveTarget(path);
    if (WrittenThrough(target, path, produce, special))
        return;
    const int folder = target.folder.Get();
    const TargetLock lock = LockTarget(folder, target.name);
    const std::optional<struct stat> old = CheckReplaced(lock, target, path, readAs);

    std::string prefix = ".";
    prefix.append(target.name, 0, kMaxTempStemBytes).append(".tmp-");
    RemoveStaleTemporaryFiles(folder, prefix);
    TempFile temp(path, folder, prefix);
    DescriptorSink sink(temp.Descriptor(), path);
    produce(sink);
    temp.TakeModeOf(old ? &*old : nullptr);
    temp.Flush();
    temp.RenameTo(target.name);
    SyncFolder(path, folder);
    struct stat written {};
    if (saved != nullptr && ::fstat(temp.Descriptor(), &written) == 0)
        *saved = VersionIn(folder, target.name, written);
}

} // namespace dirscribe
