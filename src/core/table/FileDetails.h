// SPDX-License-Identifier: MIT
// A file's own descriptive data pulled into the listing: tags, version strings, photo data.
#pragma once

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

// The details of the file in source, known to the user by name:
// - a name ending in "mp3" (any case): the MP3 tag summary, then the tag fields and stream
//   properties;
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
    std::string path; // the row's own entry's file, or its name cell's file in the folder
    std::string name; // the name as the first cell shows it
    std::uint16_t languageId = 0;
    std::shared_ptr<const FileDataReader> others;

    [[nodiscard]] FileDetails Read() const {
        return ReadFileDetails(path, name, languageId, others.get());
    }
};

// The request for the row: the file is the entry's, whatever its cells show; a row made
// from no entry (the rows of a document) names its file in folderPath by its first cell.
// Nothing for a row outside the table.
std::optional<FileDetailsRequest> RequestFileDetails(const ListingTable& table, int row,
                                                     const std::string& folderPath,
                                                     std::uint16_t languageId,
                                                     std::shared_ptr<const FileDataReader> others);

// Writes what a fetch read into the table: cell (row, 1) gets the comment and the detail
// rows are inserted at row + 1, row + 2, ... A row outside the table changes nothing.
void InsertFileDetails(ListingTable& table, int row, FileDetails details);

// Fetches the details of the row's file into the table: RequestFileDetails, Read and
// InsertFileDetails in one. Sorting is the caller's concern.
void FetchFileDetails(ListingTable& table, int row, const std::string& folderPath,
                      std::uint16_t languageId,
                      std::shared_ptr<const FileDataReader> others = nullptr);

} // namespace dirscribe
