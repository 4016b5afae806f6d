// SPDX-License-Identifier: MIT
// Little-endian integers and length-prefixed strings, read from bytes in memory or in a file.
#pragma once

#include "core/platform/ByteSource.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace dirscribe {

// Reads what ArchiveWriter writes, front to back, and never looks past the end of the
// bytes it was given: a value the bytes end inside is refused with Error("the file ends
// inside " + what), and the position is left where it was. Bytes in memory are not copied;
// they must outlive the reader and every string view it returns. A ByteSource is read
// through a window of its own that holds at least the string read last, so memory stays
// small whatever the source's size; a view then lasts until the next read. Offsets count
// from the start of the bytes.
class ArchiveReader {
public:
    explicit ArchiveReader(std::string_view bytes) : m_size(bytes.size()), m_window(bytes) {}
    // Reads source from offset on; the source must outlive the reader.
    explicit ArchiveReader(const ByteSource& source, std::size_t offset = 0);

    std::uint8_t ReadByte(std::string_view what);
    std::uint64_t ReadUInt64(std::string_view what);
    std::int32_t ReadInt32(std::string_view what);
    // A number as ArchiveWriter::WriteVarint writes it; Error(what + " is too large") when
    // it does not fit in 64 bits.
    std::uint64_t ReadVarint(std::string_view what);
    // The text of a string in any of its three length forms (a short length in a longer
    // form is accepted too).
    std::string_view ReadString(std::string_view what);
    // As ReadString, refusing a string longer than maxLength before any of it is read:
    // Error(what + " is N bytes long, more than M").
    std::string_view ReadString(std::string_view what, std::size_t maxLength);
    // As ReadString, for callers that describe a failure themselves: false, with the
    // position unchanged, when the bytes end inside the string.
    [[nodiscard]] bool TryReadString(std::string_view& text);

    // Whether the bytes from the position on begin with these; the position stays.
    [[nodiscard]] bool LookingAt(std::string_view bytes);

    [[nodiscard]] std::size_t Offset() const { return m_offset; }
    [[nodiscard]] std::size_t Remaining() const { return m_size - m_offset; }
    [[nodiscard]] bool AtEnd() const { return m_offset == m_size; }

private:
    // Whether count bytes are there at offset at; from a source, they are then in the window.
    [[nodiscard]] bool Ensure(std::size_t at, std::size_t count);
    // Reads byteCount bytes (at most 8) as a little-endian number at offset at, if they are there.
    [[nodiscard]] bool Peek(std::size_t at, int byteCount, std::uint64_t& value);
    [[noreturn]] static void EndsInside(std::string_view what);
    // The length of the string at the position and where its text starts; false when the
    // bytes end inside the length.
    [[nodiscard]] bool PeekStringLength(std::uint64_t& length, std::size_t& text);

    std::size_t m_size = 0;
    std::size_t m_offset = 0;
    const ByteSource* m_source = nullptr;
    std::string_view m_window; // the bytes from m_windowStart on that are at hand
    std::size_t m_windowStart = 0;
    std::string m_buffer; // the window's bytes, when read from a source
};

} // namespace dirscribe
