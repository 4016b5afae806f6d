// SPDX-License-Identifier: MIT
#include "core/platform/Directory.h"

#include "core/platform/FileAttributes.h"
#include "core/platform/FileTime.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dirscribe {

namespace {

DIR* AsDir(void* stream) {
    return static_cast<DIR*>(stream);
}

std::uint32_t AttributesOf(const struct stat& st, const std::string& name) {
    if (S_ISLNK(st.st_mode))
        return kAttributeReparsePoint;
    if (!S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode))
        return kAttributeSystem; // devices, FIFOs and sockets
    std::uint32_t bits = S_ISDIR(st.st_mode) ? kAttributeDirectory : kAttributeArchive;
    if ((st.st_mode & S_IWUSR) == 0)
        bits |= kAttributeReadOnly;
    if (!name.empty() && name.front() == '.')
        bits |= kAttributeHidden;
    return bits;
}

} // namespace

std::optional<Directory> Directory::FromDescriptor(int fd) {
    if (fd < 0)
        return std::nullopt;
    // errno tells the caller why; closing must not change it.
    const auto fail = [fd](int error) {
        ::close(fd);
        errno = error;
        return std::nullopt;
    };
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return fail(errno);
    if (!S_ISDIR(st.st_mode))
        return fail(ENOTDIR);
    DIR* stream = ::fdopendir(fd);
    if (stream == nullptr)
        return fail(errno);
    return Directory(stream, st.st_dev, st.st_ino);
}

void Directory::Closer::operator()(void* stream) const {
    if (stream != nullptr)
        ::closedir(AsDir(stream));
}

Directory::Directory(void* stream, dev_t device, ino_t inode)
    : m_stream(stream), m_device(device), m_inode(inode) {}

std::optional<Directory> Directory::Open(const std::string& path) {
    return FromDescriptor(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

std::optional<Directory> Directory::OpenChild(const std::string& name) const {
    const int parent = ::dirfd(AsDir(m_stream.get()));
    return FromDescriptor(
        ::openat(parent, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
}

std::optional<Directory> Directory::OpenParent() const {
    const int self = ::dirfd(AsDir(m_stream.get()));
    return FromDescriptor(::openat(self, "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

bool Directory::NextName(std::string& name) {
    NameKind kind = NameKind::Unknown;
    return NextName(name, kind);
}

bool Directory::NextName(std::string& name, NameKind& kind) {
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(AsDir(m_stream.get()));
        if (entry == nullptr) {
            m_failed = errno != 0;
            return false;
        }
        const char* n = entry->d_name;
        if (n[0] == '.' && (n[1] == '\0' || (n[1] == '.' && n[2] == '\0')))
            continue;
        name.assign(n);
        switch (entry->d_type) {
        case DT_UNKNOWN:
            kind = NameKind::Unknown;
            break;
        case DT_DIR:
            kind = NameKind::Folder;
            break;
        default:
            kind = NameKind::Other;
            break;
        }
        return true;
    }
}

std::optional<DirectoryEntry> Directory::Stat(const std::string& name, dev_t device) const {
    struct stat st {};
    if (::fstatat(::dirfd(AsDir(m_stream.get())), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return std::nullopt;
    DirectoryEntry entry;
    entry.attributes = AttributesOf(st, name);
    entry.isFolder = S_ISDIR(st.st_mode);
    entry.otherDevice = entry.isFolder && st.st_dev != device;
    entry.size = entry.isFolder ? 0 : static_cast<std::uint64_t>(st.st_size);
    entry.modified = FileTimeFromUnix(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
    return entry;
}

} // namespace dirscribe
