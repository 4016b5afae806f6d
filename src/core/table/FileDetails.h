// SPDX-License-Identifier: MIT
// A file's own descriptive data pulled into the listing: MP3 tags or program version strings.
#pragma once

#include "core/listing/ListingShape.h"
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

// The file whose details a fetch on a row reads.
struct RowFile {
    std::string path;    // on disk
    std::string name;    // as the details name it (its ending says whether it is an MP3)
    std::string problem; // why it cannot be read; empty when it may be
};

// The file of the entry a row belongs to (a comment or details row: the entry above it):
// the entry's own, by its raw path, whatever the cells show. A row of a document that knows
// no entry names its file by its name cell, in its folder below folderPath (in a tree, the
// folders named by the rows above it); when that name is not there, the one name of that
// folder equal to it ignoring case is taken (none when two are). Nothing (an empty path)
// for a row that belongs to no entry.
RowFile LocateRowFile(const ListingTable& table, int row, const std::string& folderPath,
                      const ListingShape& shape);

// Puts details into the table for the entry row `row`: its Comments cell gets the comment,
// the detail rows follow it at row + 1, row + 2, ..., and the detail rows an earlier fetch
// put below the entry go.
void PutFileDetails(ListingTable& table, int row, const FileDetails& details);

// LocateRowFile, ReadFileDetails and PutFileDetails for the entry of a row; a file that
// cannot be read says so in the Comments cell ("Cannot read the file: " and the reason). A
// row outside the table or of no entry changes nothing.
void FetchFileDetails(ListingTable& table, int row, const std::string& folderPath,
                      const ListingShape& shape, std::uint16_t languageId);

} // namespace dirscribe
