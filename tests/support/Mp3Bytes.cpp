// SPDX-License-Identifier: MIT
// Byte builders for MP3 test files: ID3v1 and ID3v2 tags and MPEG audio frame headers.
#include "support/Mp3Bytes.h"

namespace dirscribe::test {

namespace {

std::string Field(std::string_view text, std::size_t length) {
    std::string field(text.substr(0, length));
    field.resize(length, '\0');
    return field;
}

std::string BigEndian32(std::uint32_t value) {
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
            static_cast<char>(value >> 8), static_cast<char>(value)};
}

} // namespace

std::string Id3v1Tag(const Id3v1Fields& fields) {
    return "TAG" + Field(fields.title, 30) + Field(fields.artist, 30) + Field(fields.album, 30) +
           Field(fields.year, 4) + Field(fields.comment, 30) +
           std::string(1, static_cast<char>(fields.genre));
}

std::string Id3v2FrameClaiming(std::string_view id, std::uint32_t size, std::string_view data) {
    return std::string(id) + BigEndian32(size) + std::string(2, '\0') + std::string(data);
}

std::string Id3v2Frame(std::string_view id, std::string_view data) {
    return Id3v2FrameClaiming(id, static_cast<std::uint32_t>(data.size()), data);
}

std::string TextFrame(std::string_view id, std::string_view text) {
    return Id3v2Frame(id, std::string(1, '\0') + std::string(text));
}

std::string Utf16Bytes(std::u16string_view text, bool bigEndian) {
    std::string bytes;
    for (const char16_t unit : text) {
        const auto high = static_cast<char>(unit >> 8);
        const auto low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

std::string Syncsafe32(std::uint32_t value) {
    std::string bytes;
    for (int shift = 21; shift >= 0; shift -= 7)
        bytes += static_cast<char>((value >> shift) & 0x7F);
    return bytes;
}

std::string Id3v24Frame(std::string_view id, std::string_view data, unsigned char format) {
    return std::string(id) + Syncsafe32(static_cast<std::uint32_t>(data.size())) + '\0' +
           static_cast<char>(format) + std::string(data);
}

std::string Id3v2Tag(unsigned char majorVersion, std::string_view body, std::size_t padding,
                     unsigned char flags) {
    std::string tag = "ID3";
    tag += static_cast<char>(majorVersion);
    tag += '\0'; // revision
    tag += static_cast<char>(flags);
    tag += Syncsafe32(static_cast<std::uint32_t>(body.size() + padding));
    return tag + std::string(body) + std::string(padding, '\0');
}

std::string MpegHeader(std::uint32_t word) {
    return BigEndian32(word);
}

std::string MpegFrames(std::uint32_t word, std::size_t frameBytes, int count) {
    std::string frames;
    for (int i = 0; i < count; ++i)
        frames += BigEndian32(word) + std::string(frameBytes - 4, '\0');
    return frames;
}

} // namespace dirscribe::test
