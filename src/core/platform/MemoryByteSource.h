// SPDX-License-Identifier: MIT
// Bytes already in memory, read as a file would be.
#pragma once

#include "core/platform/ByteSource.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace dirscribe {

// Refers to the bytes; they must outlive the source.
class MemoryByteSource final : public ByteSource {
public:
    explicit MemoryByteSource(std::string_view bytes) : m_bytes(bytes) {}

    [[nodiscard]] std::uint64_t Size() const override { return m_bytes.size(); }

    std::size_t ReadAt(std::uint64_t offset, void* out, std::size_t count) const override {
        if (offset >= m_bytes.size())
            return 0;
        const auto start = static_cast<std::size_t>(offset);
        const std::size_t copied = std::min(count, m_bytes.size() - start);
        if (copied > 0)
            std::memcpy(out, m_bytes.data() + start, copied);
        return copied;
    }

private:
    std::string_view m_bytes;
};

} // namespace dirscribe
