// SPDX-License-Identifier: MIT
// A file read through a budget of bytes.
#pragma once

#include "core/platform/ByteSource.h"

#include <algorithm>
#include <cstdint>

namespace dirscribe {

// Passes reads on to file until budget bytes have been read, then reads nothing more, so
// a reader that a file sends seeking and scanning (a huge file of zeros named .mp4) stops
// after reading budget bytes, whatever the file's size and whatever its bytes claim.
class BudgetedSource final : public ByteSource {
public:
    BudgetedSource(const ByteSource& file, std::uint64_t budget) : m_file(file), m_left(budget) {}

    [[nodiscard]] std::uint64_t Size() const override { return m_file.Size(); }

    std::size_t ReadAt(std::uint64_t offset, void* out, std::size_t count) const override {
        const auto allowed = static_cast<std::size_t>(std::min<std::uint64_t>(count, m_left));
        const std::size_t read = allowed == 0 ? 0 : m_file.ReadAt(offset, out, allowed);
        m_left -= read;
        return read;
    }

private:
    const ByteSource& m_file;
    mutable std::uint64_t m_left;
};

} // namespace dirscribe
