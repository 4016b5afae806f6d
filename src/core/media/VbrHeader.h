// SPDX-License-Identifier: MIT
// The frame count a variable-bitrate MP3 announces in its first frame (Xing or VBRI).
#pragma once

#include "core/media/MpegHeader.h"
#include "core/platform/ByteSource.h"

#include <cstdint>
#include <optional>

namespace dirscribe {

// An encoder of variable-bitrate audio writes a first frame that holds no sound but the
// stream's frame count (and mostly its byte count): a "Xing" header after the side
// information, or a "VBRI" header 32 bytes into the frame. LAME writes the same layout
// tagged "Info" for constant-bitrate files, whose rate the frame headers already tell.
struct VbrHeader {
    std::uint32_t frames = 0;
    std::optional<std::uint32_t> bytes; // the audio's bytes, when the header gives them
    bool constantRate = false;          // an "Info" header

    // The header in the frame that starts at offset with header, if it has one with a
    // frame count above zero.
    static std::optional<VbrHeader> Read(const ByteSource& file, std::uint64_t offset,
                                         const MpegHeader& header);
};

} // namespace dirscribe
