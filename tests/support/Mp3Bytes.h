// SPDX-License-Identifier: MIT
// Byte builders for MP3 test files: ID3v1 and ID3v2 tags and MPEG audio frame headers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dirscribe::test {

// A 128-byte ID3v1 tag; each field is given as raw bytes and padded with zeros (a longer
// text is cut to the field).
struct Id3v1Fields {
    std::string title;
    std::string artist;
    std::string album;
    std::string year;
    std::string comment;
    unsigned char genre = 255;
};
std::string Id3v1Tag(const Id3v1Fields& fields);

// An ID3v2 frame: the id, the size of data as a plain 32-bit big-endian number, two flag
// bytes, then data (which starts with the text encoding byte, if the frame has one).
std::string Id3v2Frame(std::string_view id, std::string_view data);
// The same with a size field that claims size bytes, whatever data holds.
std::string Id3v2FrameClaiming(std::string_view id, std::uint32_t size, std::string_view data);
// A text frame in ISO-8859-1: encoding byte 0, then the text.
std::string TextFrame(std::string_view id, std::string_view text);

// UTF-16 code units as bytes, little-endian unless bigEndian.
std::string Utf16Bytes(std::u16string_view text, bool bigEndian = false);

// A 2.4 frame: its size syncsafe (four 7-bit groups), then the format flag byte given.
std::string Id3v24Frame(std::string_view id, std::string_view data, unsigned char format = 0);
std::string Syncsafe32(std::uint32_t value);

// An ID3v2 tag of the given major version and flags around body (the frames, or whatever the
// flags put first), with padding zero bytes after it; the size counts both.
std::string Id3v2Tag(unsigned char majorVersion, std::string_view body, std::size_t padding,
                     unsigned char flags = 0);

// The four bytes of an MPEG audio frame header word.
std::string MpegHeader(std::uint32_t word);
// MPEG 1 Layer III, 128 kbit/s, 44100 Hz, joint stereo, no CRC, original: 417-byte frames.
inline constexpr std::uint32_t kMpeg1Layer3At128 = 0xFFFB9064;
// count frames of frameBytes each: the header, then zeros.
std::string MpegFrames(std::uint32_t word, std::size_t frameBytes = 417, int count = 2);

} // namespace dirscribe::test
