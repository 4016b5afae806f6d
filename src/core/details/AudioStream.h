// SPDX-License-Identifier: MIT
// An audio stream's length, rate, frequency and channels, and what is read here without a
// library: raw AAC (ADTS), where the sound of an Ogg stream starts, an MP4 track's channels
// and packet sizes.
#pragma once

#include "core/details/FileData.h"
#include "core/platform/ByteSource.h"

#include <cstdint>
#include <optional>
#include <string>

namespace dirscribe {

// What File Data shows of a stream besides its tags; 0 where it is not known.
struct AudioStream {
    std::string format; // "AAC", "FLAC", ...: the summary of a stream read without TagLib
    std::uint64_t milliseconds = 0;
    std::uint64_t bitsPerSecond = 0;
    std::uint32_t frequency = 0;
    std::uint32_t channels = 0;

    // "**Length:" ("1 min 1 sec", the seconds cut), "**KBPS:" (to the nearest kbit/s),
    // "**Frequency:" ("44100Hz") and "**Channels:", each where it is known.
    void AddRows(FileData& data) const;
};

// A raw AAC stream (ADTS frames, perhaps after an ID3v2 tag), its frames walked to the end
// of the file: 1024 samples a frame, the rate from their bytes, the channels from the first
// header. Past kMaxAdtsWalkBytes the rest is taken to go on as it went. Nothing when the
// file does not start with two ADTS frames.
std::optional<AudioStream> ReadAdtsStream(const ByteSource& file);

// Where the sound of the Ogg stream that file starts with begins: the offset of the page
// after the one that ends its headerPackets-th packet (Opus has 2 header packets, Vorbis 3;
// the second holds the tags, pictures included). Nothing for a file that is not such a
// stream, or whose headers run past kMaxOggHeaderBytes.
std::optional<std::uint64_t> OggAudioStart(const ByteSource& file, int headerPackets);

// What an MP4 file's boxes tell of its first sound track where its header says otherwise or
// nothing: the channels and frequency its AAC decoder configuration names (a 5.1 file's
// sample entry says 2 channels; 96000 Hz does not fit the entry's field), and the rate of its
// AAC or ALAC packets (their sizes over the track's length; ALAC's header states the
// uncompressed rate). 0 where the file does not tell. Nothing for a file without a sound
// track.
struct Mp4Audio {
    std::uint32_t channels = 0;
    std::uint32_t frequency = 0;
    std::uint64_t bitsPerSecond = 0;
};
std::optional<Mp4Audio> ReadMp4Audio(const ByteSource& file);

inline constexpr std::uint64_t kMaxAdtsWalkBytes = 64 << 20;
inline constexpr std::uint64_t kMaxOggHeaderBytes = 64 << 20;

} // namespace dirscribe
