// SPDX-License-Identifier: MIT
// Little-endian integers and length-prefixed strings, read from bytes held in memory.
#include "core/docfile/ArchiveReader.h"

#include "core/Error.h"

#include <string>

namespace dirscribe {

bool ArchiveReader::Peek(std::size_t at, int byteCount, std::uint64_t& value) const {
    const auto count = static_cast<std::size_t>(byteCount);
    if (at > m_bytes.size() || m_bytes.size() - at < count)
        return false;
    value = 0;
    for (std::size_t i = count; i-- > 0;)
        value = (value << 8) | static_cast<unsigned char>(m_bytes[at + i]);
    return true;
}

void ArchiveReader::EndsInside(std::string_view what) {
    throw Error("the file ends inside " + std::string(what));
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

bool ArchiveReader::TryReadString(std::string_view& text) {
    std::size_t at = m_offset;
    std::uint64_t length = 0;
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
    // The length is compared with what is really there before it is used for anything.
    if (length > m_bytes.size() - at)
        return false;
    text = m_bytes.substr(at, static_cast<std::size_t>(length));
    m_offset = at + static_cast<std::size_t>(length);
    return true;
}

} // namespace dirscribe
