// SPDX-License-Identifier: MIT
// Little-endian integers and length-prefixed strings, appended to a byte buffer.
#pragma once

#include "core/platform/ByteSink.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace dirscribe {

// Builds the bytes of a document file in memory. Integers are little-endian. A string is
// its length L, then its L bytes with no terminator; L takes one byte when below 255, the
// byte 0xFF and a 16-bit L when below 65534, and otherwise 0xFF, the 16-bit 0xFFFF and a
// 32-bit L.
class ArchiveWriter {
public:
    void WriteByte(std::uint8_t value);
    void WriteUInt64(std::uint64_t value);
    void WriteInt32(std::int32_t value);
    // A number in 7-bit groups, lowest first, the top bit of each byte set when another
    // follows (LEB128): one byte below 128, at most ten.
    void WriteVarint(std::uint64_t value);
    // Throws Error, and writes nothing, for a text of more than 4 294 967 295 bytes,
    // which the 32-bit length cannot describe.
    void WriteString(std::string_view text);

    // Room for this many more bytes, so a large document is not copied while it grows.
    void Reserve(std::size_t additionalBytes);
    [[nodiscard]] const std::string& Bytes() const { return m_bytes; }
    // Writes the bytes into sink and empties the writer, keeping its room.
    void FlushTo(ByteSink& sink);

private:
    void WriteLittleEndian(std::uint64_t value, int byteCount);

    std::string m_bytes;
};

} // namespace dirscribe
