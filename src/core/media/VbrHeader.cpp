// SPDX-License-Identifier: MIT
// The frame count a variable-bitrate MP3 announces in its first frame (Xing or VBRI).
#include "core/media/VbrHeader.h"

#include <array>
#include <string_view>

namespace dirscribe {

namespace {

constexpr std::uint32_t kVersionMpeg1 = 3;
constexpr std::uint32_t kSingleChannel = 3;
constexpr std::uint64_t kVbriOffset = 4 + 32;
constexpr std::uint32_t kXingHasFrames = 1;
constexpr std::uint32_t kXingHasBytes = 2;

std::uint32_t BigEndian32(const unsigned char* b) {
    return (std::uint32_t{b[0]} << 24) | (std::uint32_t{b[1]} << 16) | (std::uint32_t{b[2]} << 8) |
           std::uint32_t{b[3]};
}

// Where the Xing header stands: after the frame header and the side information, whose
// size goes by the version and the channel count.
std::uint64_t XingOffset(const MpegHeader& header) {
    const bool mono = header.ChannelMode() == kSingleChannel;
    if (header.VersionField() == kVersionMpeg1)
        return 4 + (mono ? 17 : 32);
    return 4 + (mono ? 9 : 17);
}

std::optional<VbrHeader> Xing(const ByteSource& file, std::uint64_t at) {
    std::array<unsigned char, 16> b{};
    if (file.ReadAt(at, b.data(), b.size()) < 12)
        return std::nullopt;
    const std::string_view id(reinterpret_cast<const char*>(b.data()), 4);
    if (id != "Xing" && id != "Info")
        return std::nullopt;
    const std::uint32_t flags = BigEndian32(&b[4]);
    if ((flags & kXingHasFrames) == 0)
        return std::nullopt;
    VbrHeader vbr;
    vbr.frames = BigEndian32(&b[8]);
    vbr.constantRate = id == "Info";
    if ((flags & kXingHasBytes) != 0)
        vbr.bytes = BigEndian32(&b[12]);
    return vbr;
}

// "VBRI", version, delay and quality (two bytes each), bytes, frames.
std::optional<VbrHeader> Vbri(const ByteSource& file, std::uint64_t at) {
    std::array<unsigned char, 18> b{};
    if (file.ReadAt(at, b.data(), b.size()) < b.size() ||
        std::string_view(reinterpret_cast<const char*>(b.data()), 4) != "VBRI")
        return std::nullopt;
    return VbrHeader{BigEndian32(&b[14]), BigEndian32(&b[10])};
}

} // namespace

std::optional<VbrHeader> VbrHeader::Read(const ByteSource& file, std::uint64_t offset,
                                         const MpegHeader& header) {
    if (!header.IsValid())
        return std::nullopt;
    std::optional<VbrHeader> vbr = Xing(file, offset + XingOffset(header));
    if (!vbr)
        vbr = Vbri(file, offset + kVbriOffset);
    if (!vbr || vbr->frames == 0)
        return std::nullopt;
    return vbr;
}

} // namespace dirscribe
