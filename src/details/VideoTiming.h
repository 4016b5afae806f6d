// SPDX-License-Identifier: MIT
// The length and frame rate of a video through libavformat, from the streams' own timing.
#pragma once

#include "core/platform/ByteSource.h"

#include <cstdint>
#include <optional>

namespace dirscribe {

// The length of the whole file and the base frame rate of its video, as the streams' time
// stamps give them: a transport stream's 50 fps and its four seconds, a fragmented MP4's 30
// fps, where MediaInfo guesses from a few frames or gives none.
struct VideoTiming {
    std::uint64_t milliseconds = 0; // 0: not known
    int rateNumerator = 0;          // 0: not known
    int rateDenominator = 1;
};

// The timing of the video in file; nothing when libavformat finds no video stream in it.
// Reads at most kVideoTimingBudgetBytes of the file.
std::optional<VideoTiming> ReadVideoTiming(const ByteSource& file);

inline constexpr std::uint64_t kVideoTimingBudgetBytes = 64 << 20;

} // namespace dirscribe
