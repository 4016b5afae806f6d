// SPDX-License-Identifier: MIT
// Little-endian integers and length-prefixed strings, read from bytes held in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace dirscribe {

// Reads what ArchiveWriter writes, front to back, and never looks past the end of the
// bytes it was given: a value the bytes end inside is refused with Error("the file ends
// inside " + what), and the position is left where it was. The bytes are not copied; they
// must outlive the reader and every string view it returns.
class ArchiveReader {
public:
    explicit ArchiveReader(std::string_view bytes) : m_bytes(bytes) {}

    std::uint64_t ReadUInt64(std::string_view what);
    std::int32_t ReadInt32(std::string_view what);
    // The text of a string in any of its three length forms (a short length in a longer
    // form is accepted too). The view points into the reader's bytes.
    std::string_view ReadString(std::string_view what);
    // As ReadString, for callers that describe a failure themselves: false, with the
    // position unchanged, when the bytes end inside the string.
    [[nodiscard]] bool TryReadString(std::string_view& text);

    [[nodiscard]] std::size_t Offset() const { return m_offset; }
    [[nodiscard]] std::size_t Remaining() const { return m_bytes.size() - m_offset; }
    [[nodiscard]] bool AtEnd() const { return m_offset == m_bytes.size(); }

private:
    // Reads byteCount bytes (at most 8) as a little-endian number at offset at, if they are there.
    [[nodiscard]] bool Peek(std::size_t at, int byteCount, std::uint64_t& value) const;
    [[noreturn]] static void EndsInside(std::string_view what);

    std::string_view m_bytes;
    std::size_t m_offset = 0;
};

} // namespace dirscribe
