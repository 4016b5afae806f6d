// SPDX-License-Identifier: MIT
// The fields of an MPEG audio frame header, and the search for the first frame of a stream.
#include "core/media/MpegHeader.h"

#include <algorithm>
#include <array>
#include <vector>

namespace dirscribe {

namespace {

// kbit/s by row and bitrate index; indexes 0 (free format) and 15 (invalid) give 0.
constexpr std::array<std::array<std::uint32_t, 16>, 5> kBitrates = {{
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0}, // 1, I
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},    // 1, II
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},     // 1, III
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},    // 2/2.5, I
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},         // 2/2.5, II-III
}};

// Hz by version field and frequency index; index 3 is reserved and gives 0.
constexpr std::array<std::array<std::uint32_t, 4>, 4> kFrequencies = {{
    {11025, 12000, 8000, 0}, // MPEG 2.5
    {0, 0, 0, 0},            // reserved
    {22050, 24000, 16000, 0},
    {44100, 48000, 32000, 0},
}};

constexpr std::uint32_t kVersionReserved = 1;
constexpr std::uint32_t kVersionMpeg1 = 3;
constexpr std::uint32_t kLayerI = 3;
constexpr std::uint32_t kLayerIII = 1;

// Version, layer and frequency stay the same from frame to frame of one stream.
constexpr std::uint32_t kStreamBits = 0xFFFE0C00U;

std::uint32_t BigEndian32(const unsigned char* h) {
    return (std::uint32_t{h[0]} << 24) | (std::uint32_t{h[1]} << 16) | (std::uint32_t{h[2]} << 8) |
           std::uint32_t{h[3]};
}

} // namespace

MpegHeader MpegHeader::ReadAt(const ByteSource& file, std::uint64_t offset) {
    std::array<unsigned char, 4> h{};
    file.ReadAt(offset, h.data(), h.size());
    return MpegHeader(BigEndian32(h.data()));
}

std::uint32_t MpegHeader::Bitrate() const {
    const std::uint32_t layerBits = LayerBits();
    if (layerBits == 0)
        return 0;
    // The MPEG 1 rows go with the low version bit set (MPEG 1 and the reserved value).
    const bool mpeg1 = (VersionField() & 1) != 0;
    const std::size_t row = mpeg1 ? 3 - layerBits : (layerBits == kLayerI ? 3 : 4);
    return kBitrates[row][(m_word >> 12) & 15];
}

std::uint32_t MpegHeader::Frequency() const {
    return kFrequencies[VersionField()][FrequencyIndex()];
}

bool MpegHeader::IsValid() const {
    return (m_word & 0xFFE00000U) == 0xFFE00000U && VersionField() != kVersionReserved &&
           Bitrate() != 0 && Frequency() != 0;
}

std::uint32_t MpegHeader::FrameBytes() const {
    const std::uint32_t padding = (m_word >> 9) & 1;
    const std::uint32_t bitsPerSecond = Bitrate() * 1000;
    if (LayerBits() == kLayerI)
        return (12 * bitsPerSecond / Frequency() + padding) * 4;
    return LengthFactor() * bitsPerSecond / Frequency() + padding;
}

std::uint32_t MpegHeader::LengthFactor() const {
    if (LayerBits() == kLayerI)
        return 48; // 384 samples in slots of 4 bytes
    // Layer III of MPEG 2 and 2.5 holds half the samples per frame.
    return LayerBits() == kLayerIII && VersionField() != kVersionMpeg1 ? 72 : 144;
}

std::optional<std::uint64_t> MpegHeader::FindFirstFrame(const ByteSource& file,
                                                        std::uint64_t from) {
    const std::uint64_t size = file.Size();
    if (from >= size)
        return std::nullopt;
    std::vector<unsigned char> bytes(
        static_cast<std::size_t>(std::min<std::uint64_t>(size - from, kSearchBytes + 3)));
    bytes.resize(file.ReadAt(from, bytes.data(), bytes.size()));
    for (std::size_t i = 0; i + 4 <= bytes.size(); ++i) {
        if (bytes[i] != 0xFF || (bytes[i + 1] & 0xE0) != 0xE0)
            continue;
        const MpegHeader header(BigEndian32(&bytes[i]));
        if (!header.IsValid())
            continue;
        const std::uint64_t next = from + i + header.FrameBytes();
        if (next + 4 > size)
            return from + i;
        const MpegHeader follower = ReadAt(file, next);
        if (follower.IsValid() && (follower.m_word & kStreamBits) == (header.m_word & kStreamBits))
            return from + i;
    }
    return std::nullopt;
}

} // namespace dirscribe
