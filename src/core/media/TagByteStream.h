// SPDX-License-Identifier: MIT
// The bytes of an ID3v2 tag read front to back, unsynchronisation undone where it applies.
#pragma once

#include "core/platform/ByteSource.h"

#include <cstdint>
#include <string>
#include <vector>

namespace dirscribe {

// Reads the stretch [begin, end) of file in order. When the stretch is unsynchronised (a
// zero byte put after each 0xFF so that no audio sync appears in the tag), that zero is
// dropped again, and counts go by the bytes as they were before. Memory stays bounded
// whatever the stretch's length.
class TagByteStream {
public:
    TagByteStream(const ByteSource& file, std::uint64_t begin, std::uint64_t end,
                  bool unsynchronised);

    // Up to count bytes: fewer at the end of the stretch or of the file.
    std::string Read(std::size_t count);
    // Passes over up to count bytes.
    void Skip(std::uint64_t count);
    // The file offset of the next byte to read.
    [[nodiscard]] std::uint64_t Position() const { return m_position; }

private:
    // The next byte of the stretch as stored, if any is left.
    bool NextStored(unsigned char& byte);
    // The next byte with the inserted zeros left out.
    bool Next(unsigned char& byte);

    const ByteSource& m_file;
    std::uint64_t m_position;
    std::uint64_t m_end;
    bool m_unsynchronised;
    bool m_afterFF = false;
    std::vector<unsigned char> m_chunk;
    std::size_t m_chunkAt = 0;
};

} // namespace dirscribe
