// SPDX-License-Identifier: MIT
// An ordinary file opened for reading bytes at any offset.
#pragma once

#include "core/platform/ByteSource.h"
#include "core/platform/FileDescriptor.h"

#include <string>

namespace dirscribe {

// Opens path read-only. A path that is missing, unreadable, a folder, or anything but an
// ordinary file (a FIFO would block, a device may never end) gives a source that is not
// open and reads as empty: the details readers treat it as a file without data.
class FileByteSource final : public ByteSource {
public:
    explicit FileByteSource(const std::string& path);
    // The ordinary file open as file (see OpenReadableFile), which the source now owns.
    explicit FileByteSource(FileDescriptor file);
    ~FileByteSource() override;
    FileByteSource(const FileByteSource&) = delete;
    FileByteSource& operator=(const FileByteSource&) = delete;

    // True when the file was opened.
    [[nodiscard]] bool IsOpen() const { return m_fd >= 0; }
    [[nodiscard]] std::uint64_t Size() const override { return m_size; }
    std::size_t ReadAt(std::uint64_t offset, void* out, std::size_t count) const override;

private:
    int m_fd = -1;
    std::uint64_t m_size = 0;
};

} // namespace dirscribe
