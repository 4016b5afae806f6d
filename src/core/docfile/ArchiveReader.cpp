// SPDX-License-Identifier: MIT
// Little-endian integers and length-prefixed strings, read from bytes in memory or in a file.
#include "core/docfile/ArchiveReader.h"

#include "core/Error.h"

#include <algorithm>
#include <string>

namespace dirscribe {

namespace {

// Read from a source at a time: large enough that a row rarely needs a read of its own.
constexpr std::size_t kWindowBytes = std::size_t{1} << 16;

} // namespace

ArchiveReader::ArchiveReader(const ByteSource& source, std::size_t offset)
    : m_size(static_cast<std::size_t>(source.Size())), m_offset(std::min(offset, m_size)),
      m_source(&source), m_windowStart(m_offset) {}

bool ArchiveReader::Ensure(std::size_t at, std::size_t count) {
    if (at > m_size || m_size - at < count)
        return false;
    if (at >= m_windowStart && at - m_windowStart <= m_window.size() &&
        m_window.size() - (at - m_windowStart) >= count)
        return true;
    if (m_source == nullptr)
        return false;
    // count is within the source's size, checked above, so the window never outgrows it.
    const std::size_t length = std::min(std::max(count, kWindowBytes), m_size - at);
    m_buffer.resize(length);
    const std::size_t got = m_source->ReadAt(at, m_buffer.data(), length);
    m_buffer.resize(got);
    m_windowStart = at;
    m_window = m_buffer;
    if (got < length)
        m_size = at + got; // the file shrank or could not be read further: it ends here
    return got >= count;
}

bool ArchiveReader::Peek(std::size_t at, int byteCount, std::uint64_t& value) {
    const auto count = static_cast<std::size_t>(byteCount);
    if (!Ensure(at, count))
        return false;
    const std::size_t first = at - m_windowStart;
    value = 0;
    for (std::size_t i = count; i-- > 0;)
        value = (value << 8) | static_cast<unsigned char>(m_window[first + i]);
    return true;
}

bool ArchiveReader::LookingAt(std::string_view bytes) {
    return Ensure(m_offset, bytes.size()) &&
           m_window.substr(m_offset - m_windowStart, bytes.size()) == bytes;
}

void ArchiveReader::EndsInside(std::string_view what) {
    throw Error("the file ends inside " + std::string(what));
}

std::uint8_t ArchiveReader::ReadByte(std::string_view what) {
    std::uint64_t value = 0;
    if (!Peek(m_offset, 1, value))
        EndsInside(what);
    m_offset += 1;
    return static_cast<std::uint8_t>(value);
}

std::uint64_t ArchiveReader::ReadVarint(std::string_view what) {
    std::uint64_t value = 0;
    std::size_t at = m_offset;
    for (int shift = 0;; shift += 7) {
        std::uint64_t byte = 0;
        if (!Peek(at++, 1, byte))
            EndsInside(what);
        // The tenth byte holds the 64th bit alone.
        if (shift == 63 && byte > 1)
            throw Error(std::string(what) + " is too large");
        value |= (byte & 0x7F) << shift;
        if ((byte & 0x80) == 0)
            break;
    }
    m_offset = at;
    return value;
}

std::uint64_t ArchiveReader::ReadUInt64(std::string_view what) {
    std::uint64_t value = 0;
    if (!Peek(m_offset, 8, value))
        EndsInside(what);
    m_offset += 8;
    return value;
}

std::int32_t ArchiveReader::ReadInt32(std::string_view what) {
    std::uint64_t value = 0;
    if (!Peek(m_offset, 4, value))
        EndsInside(what);
    m_offset += 4;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

std::string_view ArchiveReader::ReadString(std::string_view what) {
    std::string_view text;
    if (!TryReadString(text))
        EndsInside(what);
    return text;
}

bool ArchiveReader::PeekStringLength(std::uint64_t& length, std::size_t& text) {
    std::size_t at = m_offset;
    if (!Peek(at, 1, length))
        return false;
    at += 1;
    if (length == 0xFF) {
        if (!Peek(at, 2, length))
            return false;
        at += 2;
        if (length == 0xFFFF) {
            if (!Peek(at, 4, length))
                return false;
            at += 4;
        }
    }
    text = at;
    return true;
}

std::string_view ArchiveReader::ReadString(std::string_view what, std::size_t maxLength) {
    std::uint64_t length = 0;
    std::size_t at = 0;
    if (PeekStringLength(length, at) && length > maxLength)
        throw Error(std::string(what) + " is " + std::to_string(length) +
                    " bytes long, more than " + std::to_string(maxLength));
    return ReadString(what);
}

bool ArchiveReader::TryReadString(std::string_view& text) {
    std::uint64_t length = 0;
    std::size_t at = 0;
    if (!PeekStringLength(length, at))
        return false;
    // The length is compared with what is really there before it is used for anything.
    if (length > m_size - at || !Ensure(at, static_cast<std::size_t>(length)))
        return false;
    text = m_window.substr(at - m_windowStart, static_cast<std::size_t>(length));
    m_offset = at + static_cast<std::size_t>(length);
    return true;
}

} // namespace dirscribe
