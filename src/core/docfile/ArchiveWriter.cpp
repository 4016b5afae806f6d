// SPDX-License-Identifier: MIT
// Little-endian integers and length-prefixed strings, appended to a byte buffer.
#include "core/docfile/ArchiveWriter.h"

#include "core/Error.h"

namespace dirscribe {

void ArchiveWriter::WriteLittleEndian(std::uint64_t value, int byteCount) {
    for (int i = 0; i < byteCount; ++i) {
        m_bytes += static_cast<char>(value & 0xFF);
        value >>= 8;
    }
}

void ArchiveWriter::WriteByte(std::uint8_t value) {
    m_bytes += static_cast<char>(value);
}

void ArchiveWriter::WriteVarint(std::uint64_t value) {
    while (value >= 0x80) {
        m_bytes += static_cast<char>((value & 0x7F) | 0x80);
        value >>= 7;
    }
    m_bytes += static_cast<char>(value);
}

void ArchiveWriter::WriteUInt64(std::uint64_t value) {
    WriteLittleEndian(value, 8);
}

void ArchiveWriter::WriteInt32(std::int32_t value) {
    WriteLittleEndian(static_cast<std::uint32_t>(value), 4);
}

void ArchiveWriter::WriteString(std::string_view text) {
    const std::uint64_t length = text.size();
    if (length > 0xFFFFFFFFU)
        throw Error("A text of " + std::to_string(length) +
                    " bytes is too long to be saved in a document (the limit is 4294967295).");
    if (length < 0xFF) {
        WriteLittleEndian(length, 1);
    } else if (length < 0xFFFE) {
        WriteLittleEndian(0xFF, 1);
        WriteLittleEndian(length, 2);
    } else {
        WriteLittleEndian(0xFF, 1);
        WriteLittleEndian(0xFFFF, 2);
        WriteLittleEndian(length, 4);
    }
    m_bytes += text;
}

void ArchiveWriter::Reserve(std::size_t additionalBytes) {
    m_bytes.reserve(m_bytes.size() + additionalBytes);
}

void ArchiveWriter::FlushTo(ByteSink& sink) {
    sink.Write(m_bytes);
    m_bytes.clear();
}

} // namespace dirscribe
