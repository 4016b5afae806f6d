// SPDX-License-Identifier: MIT
// The ID3 tags and the first MPEG audio frame header of an MP3 file as label and value texts.
#pragma once

#include "core/platform/ByteSource.h"

#include <string>
#include <vector>

namespace dirscribe {

// Reads what a listing shows of an MP3 file: the ID3v1 tag at its end or the ID3v2 tag at
// its start, and the stream properties of the first audio frame. Holds no state.
class MediaTagReader {
public:
    // Appends label/value pairs in step. The first pair is (" ", summary), the summary being
    // "There're Id3v1 & Id3v2." followed by the ID3v2 major version, "Id3v1 Tag:",
    // "Id3v2 Tag:", "APEv2 Tag:" (an APEv2 tag and no ID3 tag: its title, artist, album,
    // year, track, genre and comment) or "There isn't any Tag."; then the tag fields
    // ("**Title:", ...) and the stream properties ("**Length:", ...): the length and frame
    // count from the audio's bytes alone, the tags at either end left out. In a file with a
    // tag, LAME's Info frame is not counted as sound: the frames are those it counts, and the
    // header lines are those of the frame after it. An ID3v2 tag is read frame by frame within
    // the size its header gives, each text by its encoding byte; the stream lines come from the
    // first valid audio frame after it, or are left out when there is none. Without an
    // ID3v2 tag they come from the file's first four bytes when it starts with 0xFF. Texts
    // become UTF-8 (single-byte texts: valid UTF-8 passes through, other bytes are
    // Windows-1252). Never reads outside the file; a frame text is cut at
    // kMaxFrameTextBytes. An empty or unreadable source reads as a file without tags.
    static void ReadTags(const ByteSource& file, std::vector<std::string>& labels,
                         std::vector<std::string>& values);

    // Whether the file holds MPEG audio, whatever its name: a frame followed by another of
    // its stream where the file starts, or after its ID3v2 tag and the zero bytes that may
    // pad it.
    static bool HoldsMpegAudio(const ByteSource& file);

    // The most bytes one ID3v2 frame text may take, whatever size its header claims.
    static constexpr std::size_t kMaxFrameTextBytes = std::size_t{16} * 1024;
};

} // namespace dirscribe
