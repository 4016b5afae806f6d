// SPDX-License-Identifier: MIT
// File Data of audio files through TagLib: tags and stream properties.
#pragma once

#include "core/details/FileData.h"
#include "core/platform/ByteSource.h"

#include <string>

namespace dirscribe {

// The tag fields (title, artist, album, year, track, genre, comment) and the stream's
// length, bitrate, sampling frequency and channels of the audio file in file, named name
// (TagLib tries the format its extension names before it looks at the bytes). Summary:
// the format and "Tag:" ("FLAC Tag:", "Opus Tag:", "MP4 Tag:"), or the format alone when
// the file has no tag. Reads at most kAudioBudgetBytes of the file.
FileData ReadAudioFileData(const ByteSource& file, const std::string& name);

inline constexpr std::uint64_t kAudioBudgetBytes = 64 << 20;

} // namespace dirscribe
