// SPDX-License-Identifier: MIT
// A file's own descriptive data pulled into the listing: tags, version strings, photo data.
#pragma once

#include "core/listing/ListingShape.h"
#include "core/platform/ByteSource.h"
#include "core/table/ListingTable.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace dirscribe {

class FileDataReader;

// What a fetch writes: the text of the row's Comments cell and the rows inserted below it,
// each as (first cell, second cell).
struct FileDetails {
    std::string comment;
    std::vector<std::pair<std::string, std::string>> rows;
    // Why an audio file, photo, video or PDF gave the no-data text, when the user can act
    // on it (this build cannot read the kind, the reader failed); not written to the table.
    std::string note = {};

    friend bool operator==(const FileDetails&, const FileDetails&) = default;
};

// The details of the file in source, known to the user by name, its content deciding
// before its name:
// - MPEG audio (MediaTagReader::HoldsMpegAudio), whatever its name, and a file whose name
//   ends in "mp3" (any case) and whose content is of no other kind (DetectFileKind): the
//   MP3 tag summary, then the tag fields and stream properties;
// - a readable version resource: "File's data:", then "  ***<label>" and the string for each
//   version key found for languageId (code page 04B0, else 04E4); when the resource has
//   neither table, in the table its translation list names first, else its first table;
// - anything else: the lower-cased name from its last dot (the whole name without one) and
//   " extention file. No data.".
FileDetails ReadFileDetails(const ByteSource& source, std::string_view name,
                            std::uint16_t languageId);

// The same for the file at path; a file that cannot be opened reads as empty. With others,
// a file that is neither an MP3 nor a program and whose kind (DetectFileKind) is audio,
// photo, video or PDF gives the rows others reads ("FLAC Tag:", then "**Title:", ...),
// or the no-data text when it reads none.
FileDetails ReadFileDetails(const std::string& path, std::string_view name,
                            std::uint16_t languageId, const FileDataReader* others = nullptr);

// What a fetch for one row reads, taken from the table so that the reading needs nothing
// of it and may run on another thread.
struct FileDetailsRequest {
    std::string path;    // the file of the row's entry
    std::string name;    // as the details name it (its ending says whether it is an MP3)
    std::string problem; // why it cannot be read; empty when it may be
    std::uint16_t languageId = 0;
    std::shared_ptr<const FileDataReader> others;

    // The file's details, or for a file that cannot be read a Comments cell that says so
    // ("Cannot read the file: " and the reason).
    [[nodiscard]] FileDetails Read() const;
};

// The request for the entry a row belongs to (a comment or details row: the entry above
// it): the entry's own file, by its raw path, whatever the cells show. A row of a document
// that knows no entry names its file by its name cell, in its folder below folderPath (in a
// tree, the folders named by the rows above it); when that name is not there, the one name
// of that folder equal to it ignoring case is taken (none when two are). Nothing for a row
// outside the table or of no entry.
std::optional<FileDetailsRequest> RequestFileDetails(const ListingTable& table, int row,
                                                     const std::string& folderPath,
                                                     const ListingShape& shape,
                                                     std::uint16_t languageId,
                                                     std::shared_ptr<const FileDataReader> others);

// The first cell of the details row that holds the summary when the entry's Comments cell
// holds a typed comment.
inline constexpr std::string_view kSummaryRowLabel = "**File Data:";

// Writes what a fetch read into the table for the entry of row: the detail rows follow the
// entry (after the "comments:" rows of its comment), and those an earlier fetch put there
// go. The
// summary (the comment) goes into the entry's Comments cell when that is empty or holds what
// an earlier fetch wrote; a typed comment stays, and the summary becomes the first detail
// row (kSummaryRowLabel). A row outside the table or of no entry changes nothing.
void InsertFileDetails(ListingTable& table, int row, FileDetails details);

} // namespace dirscribe
