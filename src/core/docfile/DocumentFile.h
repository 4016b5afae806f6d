// SPDX-License-Identifier: MIT
// The document file (.dsc): a saved listing that can be opened again.
#pragma once

#include "core/docfile/DocumentSettings.h"
#include "core/listing/ListingSummary.h"
#include "core/options/ListingOptions.h"
#include "core/platform/ByteSink.h"
#include "core/table/ListingTable.h"
#include "core/table/RowStore.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dirscribe {

// Everything a document file holds. Strings are UTF-8.
struct DocumentContents {
    ListingSummary summary;
    std::string folderPath;
    DocumentSettings settings;
    RowStore rows; // in display order; cell j is the text of column j

    friend bool operator==(const DocumentContents&, const DocumentContents&) = default;
};

// Larger files are refused before they are read.
inline constexpr std::uint64_t kMaxDocumentBytes = std::uint64_t{1} << 30;

// The bytes of a document file: the summary, the folder path, the seven settings of
// options and every row of the table as five strings (the texts of columns 0 to 4, empty
// for columns the table does not have). Texts are written as the bytes they are. Throws
// Error when a setting is out of its range (the file could not be opened again) or a text
// is longer than a document can hold.
std::string WriteDocumentFile(const ListingSummary& summary, std::string_view folderPath,
                              const ListingOptions& options, const ListingTable& table);
// The same bytes handed to sink a block at a time as they are made, so a document of
// millions of rows is never held whole. Throws what the sink throws; a setting out of range
// throws before anything is written.
void WriteDocumentFile(ByteSink& sink, const ListingSummary& summary, std::string_view folderPath,
                       const ListingOptions& options, const ListingTable& table);

// Reads and checks a whole document file. It returns only complete, valid contents: the
// file must not be empty, must hold every field and string it announces, must have its
// settings in range, a row count from 0 to what the remaining bytes can hold (at least five
// bytes a row, checked before anything is reserved) and nothing after the last row.
// Otherwise it throws Error("This is not a Dirscribe document: <reason>."). When any string
// of the file is not valid UTF-8 the file was written on a Windows code page, and every
// string of it is read as Windows-1252. Memory running out throws std::bad_alloc.
DocumentContents ReadDocumentFile(std::string_view bytes);

// Reads the file at path (up to kMaxDocumentBytes) as a document file. Every failure throws
// Error with a message that names the file and says why: missing, a folder, unreadable,
// too large, or not a Dirscribe document and the reason; memory running out throws
// std::bad_alloc. The fields before the rows are checked on the file's first bytes, so a
// large file that is no document is refused after reading kHeadBytes. Valid rows stay in
// the bytes read, so opening takes little more memory than the file's size and 12 bytes a
// row.
DocumentContents LoadDocumentFile(const std::string& path);

} // namespace dirscribe
