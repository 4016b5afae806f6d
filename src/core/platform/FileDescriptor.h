// SPDX-License-Identifier: MIT
// An open file descriptor with one owner, closed when it goes.
#pragma once

#include <unistd.h>
#include <utility>

namespace dirscribe {

// Owns fd (-1: none). Moves hand the descriptor on; copies are not made.
class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(FileDescriptor&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        FileDescriptor(std::move(other)).Swap(*this);
        return *this;
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    [[nodiscard]] int Get() const { return m_fd; }
    [[nodiscard]] bool IsOpen() const { return m_fd >= 0; }
    // Hands the descriptor over to the caller, who closes it.
    [[nodiscard]] int Release() { return std::exchange(m_fd, -1); }
    // Closes it now; the result of close(), 0 when nothing was open.
    int Close() { return m_fd >= 0 ? ::close(std::exchange(m_fd, -1)) : 0; }

private:
    void Swap(FileDescriptor& other) noexcept { std::swap(m_fd, other.m_fd); }

    int m_fd = -1;
};

} // namespace dirscribe
