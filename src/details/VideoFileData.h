// SPDX-License-Identifier: MIT
// File Data of videos through MediaInfo: container, length, picture and codecs.
#pragma once

#include "core/details/FileData.h"
#include "core/platform/ByteSource.h"
#include "details/VideoTiming.h"

#include <cstdint>
#include <optional>

namespace dirscribe {

// Reads a video's timing from its streams' time stamps.
using VideoTimingReader = std::optional<VideoTiming> (*)(const ByteSource& file);

// The container format, title, length, picture size, frame rate and the video and audio
// codecs of the video in file (MP4, MOV, Matroska, WebM, AVI, MPEG, ...). Where MediaInfo
// only estimates them (a variable or unknown frame rate, a transport stream's length), the
// length and frame rate come from readTiming where it gives them. Summary "Video:"; nothing
// when MediaInfo finds no video stream (an audio-only MP4 is for the audio reader).
// MediaInfo is fed the bytes it asks for, at most kVideoBudgetBytes.
FileData ReadVideoFileData(const ByteSource& file, VideoTimingReader readTiming);

inline constexpr std::uint64_t kVideoBudgetBytes = 64 << 20;

} // namespace dirscribe
