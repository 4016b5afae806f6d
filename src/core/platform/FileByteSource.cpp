// SPDX-License-Identifier: MIT
// An ordinary file opened for reading bytes at any offset.
#include "core/platform/FileByteSource.h"

#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace dirscribe {

FileByteSource::FileByteSource(const std::string& path)
    // O_NONBLOCK keeps a FIFO from blocking the open; such files are let go below.
    : FileByteSource(FileDescriptor(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK))) {}

FileByteSource::FileByteSource(FileDescriptor file) {
    struct stat status {};
    if (!file.IsOpen() || ::fstat(file.Get(), &status) != 0 || !S_ISREG(status.st_mode) ||
        status.st_size < 0)
        return;
    m_size = static_cast<std::uint64_t>(status.st_size);
    m_fd = file.Release();
}

FileByteSource::~FileByteSource() {
    if (m_fd >= 0)
        ::close(m_fd);
}

std::size_t FileByteSource::ReadAt(std::uint64_t offset, void* out, std::size_t count) const {
    constexpr auto kMaxOffset = static_cast<std::uint64_t>(std::numeric_limits<off_t>::max());
    if (m_fd < 0 || offset > kMaxOffset)
        return 0;
    auto* target = static_cast<char*>(out);
    std::size_t filled = 0;
    while (filled < count && offset + filled <= kMaxOffset) {
        const ssize_t got =
            ::pread(m_fd, target + filled, count - filled, static_cast<off_t>(offset + filled));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        filled += static_cast<std::size_t>(got);
    }
    return filled;
}

} // namespace dirscribe
