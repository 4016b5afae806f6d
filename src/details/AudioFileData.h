// SPDX-License-Identifier: MIT
// File Data of audio files through TagLib: tags and stream properties.
#pragma once

#include "core/details/AudioStream.h"
#include "core/details/FileData.h"
#include "core/platform/ByteSource.h"

#include <string>

namespace dirscribe {

// The tag fields (title, artist, album, year, track, genre, comment; a field written more
// than once shows every value, joined by "; ") and the stream's length, bitrate, sampling
// frequency and channels of the audio file in file, named name. TagLib reads it as the
// format its bytes say (the name's extension only where they say nothing); the stream's
// rate and channels are those of the audio itself (ReadMp4Audio, an Ogg stream's sound
// without its header pages). Summary: the format and "Tag:" ("FLAC Tag:", "Opus Tag:", "MP4
// Tag:"), or the format alone when the file has no tag. Reads at most kAudioBudgetBytes of
// the file.
FileData ReadAudioFileData(const ByteSource& file, const std::string& name);

inline constexpr std::uint64_t kAudioBudgetBytes = 64 << 20;

} // namespace dirscribe
