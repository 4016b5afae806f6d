// SPDX-License-Identifier: MIT
// File Data of audio files through TagLib: tags and stream properties.
#pragma once

#include "core/details/AudioStream.h"
#include "core/details/FileData.h"
#include "core/platform/ByteSource.h"

#include <optional>
#include <string>

namespace dirscribe {

// Reads an MP4 file's audio stream from its own packets and decoder configuration.
using AudioStreamReader = std::optional<AudioStream> (*)(const ByteSource& file);

// The tag fields (title, artist, album, year, track, genre, comment; a field written more
// than once shows every value, joined by "; ") and the stream's length, bitrate, sampling
// frequency and channels of the audio file in file, named name. TagLib reads it as the
// format its bytes say (the name's extension only where they say nothing). The stream's
// properties are TagLib's, and for an MP4 file readStream's where it tells them (nullptr:
// TagLib's alone). Summary: the format and "Tag:" ("FLAC Tag:", "Opus Tag:", "MP4 Tag:"),
// or the format alone when the file has no tag. Reads at most kAudioBudgetBytes of the file.
FileData ReadAudioFileData(const ByteSource& file, const std::string& name,
                           AudioStreamReader readStream);

inline constexpr std::uint64_t kAudioBudgetBytes = 64 << 20;

} // namespace dirscribe
