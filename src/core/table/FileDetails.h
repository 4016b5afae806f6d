// SPDX-License-Identifier: MIT
// A file's own descriptive data pulled into the listing: MP3 tags or program version strings.
#pragma once

#include "core/platform/ByteSource.h"
#include "core/table/ListingTable.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace dirscribe {

// What a fetch writes: the text of the row's Comments cell and the rows inserted below it,
// each as (first cell, second cell).
struct FileDetails {
    std::string comment;
    std::vector<std::pair<std::string, std::string>> rows;

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

// The same for the file at path; a file that cannot be opened reads as empty.
FileDetails ReadFileDetails(const std::string& path, std::string_view name,
                            std::uint16_t languageId);

// Fetches the details of the row's own entry into the table: cell (row, 1) gets the comment
// and the detail rows are inserted at row + 1, row + 2, ... The file is the entry's, whatever
// its cells show; a row made from no entry (the rows of a document) names its file in
// folderPath by its first cell. The texts take the name as the first cell shows it. A row
// outside the table changes nothing. Sorting is the caller's concern.
void FetchFileDetails(ListingTable& table, int row, const std::string& folderPath,
                      std::uint16_t languageId);

} // namespace dirscribe
