// SPDX-License-Identifier: MIT
// The fields of an MPEG audio frame header, and the search for the first frame of a stream.
#pragma once

#include "core/platform/ByteSource.h"

#include <cstdint>
#include <optional>

namespace dirscribe {

// One 32-bit frame header word, taken apart. Any word decodes; IsValid tells whether it can
// start a frame.
class MpegHeader {
public:
    explicit MpegHeader(std::uint32_t word) : m_word(word) {}

    // The word at offset; bytes past the end of the source read as zero.
    static MpegHeader ReadAt(const ByteSource& file, std::uint64_t offset);

    // Bits 20-19: 0 MPEG 2.5, 1 reserved, 2 MPEG 2, 3 MPEG 1.
    [[nodiscard]] std::uint32_t VersionField() const { return (m_word >> 19) & 3; }
    // Bits 18-17: 3 Layer I, 2 Layer II, 1 Layer III, 0 reserved.
    [[nodiscard]] std::uint32_t LayerBits() const { return (m_word >> 17) & 3; }
    [[nodiscard]] std::uint32_t FrequencyIndex() const { return (m_word >> 10) & 3; }
    [[nodiscard]] bool IsPrivate() const { return ((m_word >> 8) & 1) != 0; }
    [[nodiscard]] std::uint32_t ChannelMode() const { return (m_word >> 6) & 3; }
    [[nodiscard]] bool IsCopyright() const { return ((m_word >> 3) & 1) != 0; }

    // kbit/s; 0 for free format, the invalid index 15 and the reserved layer.
    [[nodiscard]] std::uint32_t Bitrate() const;
    // Hz; 0 for the reserved version and the reserved index 3.
    [[nodiscard]] std::uint32_t Frequency() const;

    // Eleven sync bits, and a version, layer, bitrate and frequency that give a frame length.
    [[nodiscard]] bool IsValid() const;
    // The bytes from this header to the next one; only meaningful for a valid header.
    [[nodiscard]] std::uint32_t FrameBytes() const;
    // A frame's bytes per bit per second per hertz, padding aside: 48 for Layer I, 72 for
    // Layer III of MPEG 2 and 2.5, 144 otherwise.
    [[nodiscard]] std::uint32_t LengthFactor() const;
    // The sound samples one frame holds: 384 for Layer I, 576 for Layer III of MPEG 2 and
    // 2.5, 1152 otherwise.
    [[nodiscard]] std::uint32_t SamplesPerFrame() const { return LengthFactor() * 8; }

    // The offset of the first valid header at or after from, within a bounded stretch, whose
    // next frame starts with a header of the same version, layer and frequency (a frame that
    // ends with the file needs no follower). Nothing when there is none.
    static std::optional<std::uint64_t> FindFirstFrame(const ByteSource& file, std::uint64_t from);

    // How far past from the search goes: padding and stray bytes after a tag are far shorter.
    static constexpr std::size_t kSearchBytes = std::size_t{64} * 1024;

private:
    std::uint32_t m_word;
};

} // namespace dirscribe
