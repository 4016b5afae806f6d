// SPDX-License-Identifier: MIT
// The document file (.dsc): a saved listing that can be opened again.
#pragma once

#include "core/docfile/DocumentSettings.h"
#include "core/listing/EntryList.h"
#include "core/listing/ListingShape.h"
#include "core/listing/ListingSummary.h"
#include "core/listing/ListingVolume.h"
#include "core/options/ListingOptions.h"
#include "core/platform/ByteSink.h"
#include "core/platform/FileVersion.h"
#include "core/table/ListingTable.h"
#include "core/table/RowStore.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dirscribe {

// Everything a document file holds. Strings are UTF-8.
struct DocumentContents {
    ListingSummary summary;
    std::string folderPath;
    DocumentSettings settings;
    // In display order; cell j is the text of column j. Each row has its kind and gone mark,
    // and an entry row whose entry the file knows the index of that entry in `entries`.
    RowStore rows;
    // The depth and content the listing was read in: recorded, or for a document without
    // its extension block read from its rows.
    ListingShape shape;
    // The volume the listing was read from and the user's note, as the block records them;
    // empty for a document written before they were recorded.
    ListingVolume volume;
    // The entries the extension block knows, with their raw names, exact sizes and times
    // and their places below folderPath; null when it knows none.
    std::shared_ptr<const EntryList> entries;
};

// Whether two contents say the same: the entries compared by what they hold.
bool operator==(const DocumentContents& a, const DocumentContents& b);

// Larger files are refused before they are read.
inline constexpr std::uint64_t kMaxDocumentBytes = std::uint64_t{1} << 30;

// The bytes of a document file: the summary, the folder path, the seven settings of
// options (whose four column settings must say which columns the table has) and every row of the
// table as five strings (the texts of columns 0 to 4, empty for columns the table does not have),
// then the extension block: the shape, the volume and, for each row, its kind, its gone
// mark and the entry it stands for, where the table knows it. Texts are written as the
// bytes they are. Throws Error when a setting is out of its range or a text of the volume
// too long or not UTF-8 (the file could not be opened again), or a text is longer than a
// document can hold.
std::string WriteDocumentFile(const ListingSummary& summary, std::string_view folderPath,
                              const ListingOptions& options, const ListingTable& table,
                              const ListingShape& shape = {}, const ListingVolume& volume = {});
// The same bytes handed to sink a block at a time as they are made, so a document of
// millions of rows is never held whole. Throws what the sink throws; a setting out of range
// throws before anything is written.
void WriteDocumentFile(ByteSink& sink, const ListingSummary& summary, std::string_view folderPath,
                       const ListingOptions& options, const ListingTable& table,
                       const ListingShape& shape = {}, const ListingVolume& volume = {});

// Reads and checks a whole document file (see CheckDocument). It returns only complete,
// valid contents; otherwise it throws Error("This is not a Dirscribe document: <reason>.").
// When any string of the file is not valid UTF-8 the file was written on a Windows code
// page, and every string of it is read as Windows-1252. A document without the extension
// block reads as documents were always read: the kinds of its rows from their FileName
// texts. Memory running out throws std::bad_alloc.
DocumentContents ReadDocumentFile(std::string_view bytes);

// Reads the file at path (up to kMaxDocumentBytes) as a document file. Every failure throws
// Error with a message that names the file and says why: missing, a folder, unreadable,
// too large, or not a Dirscribe document and the reason; memory running out throws
// std::bad_alloc. The fields before the rows are checked on the file's first bytes, so a
// large file that is no document is refused after reading kHeadBytes. Valid rows stay in
// the bytes read, so opening takes little more memory than the file's size, 12 bytes a row
// and the entries the block knows. Where version is not null it receives the version of the
// file read (see FileVersion), so a save can tell whether another has replaced it since.
DocumentContents LoadDocumentFile(const std::string& path,
                                  std::optional<FileVersion>* version = nullptr);

} // namespace dirscribe
