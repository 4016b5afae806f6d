// SPDX-License-Identifier: MIT
// Random-access reading of a file's bytes, from disk or from memory.
#pragma once

#include <cstddef>
#include <cstdint>

namespace dirscribe {

// The readers of file details ask for a few bytes here and there; they never need the
// whole file, and the fuzzers hand them bytes without a file.
class ByteSource {
public:
    virtual ~ByteSource() = default;

    // The number of bytes in the source when it was opened.
    [[nodiscard]] virtual std::uint64_t Size() const = 0;

    // Copies up to count bytes starting at offset into out; returns how many were copied
    // (fewer at the end of the source or on a read error, 0 past the end). Bytes of out
    // past the returned count are left as they were.
    virtual std::size_t ReadAt(std::uint64_t offset, void* out, std::size_t count) const = 0;

protected:
    ByteSource() = default;
    ByteSource(const ByteSource&) = default;
    ByteSource& operator=(const ByteSource&) = default;
};

} // namespace dirscribe
