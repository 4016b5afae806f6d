// SPDX-License-Identifier: MIT
// What File Data reads from an audio file, a photo, a video or a PDF, as rows.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace dirscribe {

// The rows of a file in the MP3 rows' form: a summary saying what was read, then a label
// ("**Title:") and a text for each field the file holds. Texts are cell texts: valid UTF-8,
// no control characters, no blanks at either end, at most kMaxTextBytes.
struct FileData {
    // "FLAC Tag:", "Photo:", "Video:", "PDF:", ...; empty when nothing was read.
    std::string summary;
    std::vector<std::pair<std::string, std::string>> rows;
    // Why nothing was read, where the user can do something about it: this build cannot
    // read the kind, or the reader failed or ran out of time. Empty otherwise.
    std::string note;

    // Adds a row for text made a cell text; an empty text adds none, nor does one past
    // kMaxRows or kMaxBytes.
    void Add(std::string label, std::string_view text);

    friend bool operator==(const FileData&, const FileData&) = default;

    // A text is kept whole up to the bound the MP3 reader keeps a frame's text to, so that
    // no reader cuts a title short that another shows.
    static constexpr std::size_t kMaxTextBytes = std::size_t{16} * 1024;
    static constexpr std::size_t kMaxRows = 64;
    // All the rows' texts together, so that the reader program's answer always fits the
    // output it may give (FileDataProgram::kMaxOutputBytes).
    static constexpr std::size_t kMaxBytes = std::size_t{512} * 1024;
};

// Text from a file as a cell shows it: bytes that are not UTF-8 read as Windows-1252,
// control characters as blanks, cut (at a character's start) to FileData::kMaxTextBytes,
// blanks at both ends removed. A cell text is its own cell text.
std::string CellText(std::string_view text);

// The data as bytes for a reader in another process: its texts, each ended by a zero byte.
std::string EncodeFileData(const FileData& data);
// Those bytes read back, taking nothing on trust: every text is made a cell text and at
// most kMaxRows rows are kept; bytes of any other form give no data.
FileData DecodeFileData(std::string_view bytes);

} // namespace dirscribe
