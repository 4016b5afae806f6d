// SPDX-License-Identifier: MIT
// An ID3v2 tag at the start of a file: its header, its extent and its frames.
#pragma once

#include "core/platform/ByteSource.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dirscribe {

class TagByteStream;

// A frame as its reader sees it: the four-character id and the data, with
// unsynchronisation undone and the group and length bytes some flags add taken off.
struct Id3v2Frame {
    std::string id;
    std::string data;
};

// The header of the tag tells its version, its flags and its size; the frames follow, each
// with its own header and size, up to padding (zero bytes) or the end of the tag.
class Id3v2Tag {
public:
    // The tag the file starts with: nothing unless its first bytes are "ID3". A header cut
    // short by the end of the file reads as if zeros followed.
    static std::optional<Id3v2Tag> Read(const ByteSource& file);

    [[nodiscard]] unsigned char MajorVersion() const { return m_major; }
    // One past the tag's last byte, footer included, as the header says: it may lie past the
    // end of the file.
    [[nodiscard]] std::uint64_t End() const;

    // The frames whose id wanted accepts, in file order, each data cut at maxDataBytes; at
    // most kMaxFrames. Versions 2.2, 2.3 and 2.4 are read; a 2.2 frame that has a 2.3 twin
    // (TT2 and TIT2, COM and COMM, ...) goes by the twin's id. Compressed and encrypted
    // frames are passed over, as is a 2.2 tag marked compressed. Reads only what lies in
    // both the tag and the file.
    [[nodiscard]] std::vector<Id3v2Frame>
    Frames(const ByteSource& file, const std::function<bool(std::string_view)>& wanted,
           std::size_t maxDataBytes) const;

    // Far more than a real tag holds; a crafted one gives no more rows than this.
    static constexpr std::size_t kMaxFrames = 1024;

private:
    // The frames of a 2.2 tag: three-letter ids, 24-bit sizes, no frame flags.
    static std::vector<Id3v2Frame>
    Version2Frames(TagByteStream& stream, const std::function<bool(std::string_view)>& wanted,
                   std::size_t maxDataBytes);

    Id3v2Tag(unsigned char major, unsigned char flags, std::uint32_t size)
        : m_major(major), m_flags(flags), m_size(size) {}

    unsigned char m_major;
    unsigned char m_flags;
    std::uint32_t m_size; // the bytes after the header, footer left out
};

} // namespace dirscribe
