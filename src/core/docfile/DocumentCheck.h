// SPDX-License-Identifier: MIT
// The check every reader of document files makes before anything of a file is used.
#pragma once

#include "core/docfile/ArchiveReader.h"
#include "core/docfile/DocumentSettings.h"
#include "core/listing/ListingShape.h"
#include "core/listing/ListingSummary.h"
#include "core/listing/ListingVolume.h"
#include "core/table/RowKind.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace dirscribe {

// The smallest row: five empty strings of one length byte each.
inline constexpr std::size_t kMinRowBytes = 5;
// The longest folder path a document may hold: far more than any path a listing stores
// (two of PATH_MAX, the folder read against the current one, each byte three in UTF-8), and
// short enough that the fields before the rows lie in a file's first 64 KiB.
inline constexpr std::size_t kMaxFolderPathBytes = std::size_t{32} * 1024;

// A document file checked whole: everything but its rows, and where they are.
struct CheckedDocument {
    ListingSummary summary;
    std::string folderPath; // UTF-8
    DocumentSettings settings;
    std::int32_t rowCount = 0;
    std::size_t rowsOffset = 0;
    std::size_t blockOffset = 0; // where the extension block starts; 0 without one
    // From the block; read from the rows' names for a document without it.
    ListingShape shape;
    ListingVolume volume; // from the block of version 2; empty otherwise
    bool utf8 = true;     // false: every string was written on a Windows code page
};

// Reads every field, string and block record from the reader's position (the start of the
// file) to its end without holding a copy of any row, or throws Error with the reason alone
// (no file name, no sentence around it), so each caller can say which file it was: the
// file must not be empty, must hold every field and string it announces, must have its
// settings in range, a row count from 0 to what the remaining bytes can hold (at least five
// bytes a row, checked before anything is reserved) and after the last row nothing, or an
// extension block whose every record is well formed, and nothing after it.
CheckedDocument CheckDocument(ArchiveReader& reader);

// Whether the bytes from the reader's position on are a saved text report, the likeliest
// wrong file.
bool IsTextReport(ArchiveReader& reader);

// The message for a file CheckDocument refused for `reason`: lead + the reason + ".", or
// for a saved text report (whose start `start` reads), that it cannot be opened.
std::string RefusalMessage(const std::string& lead, std::string_view reason, ArchiveReader& start);

// The kind and gone mark of a row of a document that does not record them, read from its
// FileName text as such documents were written.
RowKind InferredKind(std::string_view fileNameCell, bool& gone);

// Reads the shape of a document without the block from the FileName cells of its rows, one
// row at a time: a tree when every entry row reads as a tree row (so a flat listing of a file
// whose name begins with blanks stays flat), as deep as its deepest row; folders, files or
// both as its entry rows show them (bracketed names being the folders of a flat listing of
// both, which lists folders alone without brackets).
class ShapeReading {
public:
    void Add(std::string_view fileNameCell);
    [[nodiscard]] ListingShape Shape() const;

private:
    bool m_any = false;
    bool m_allTree = true;
    int m_deepest = 0;
    bool m_treeFolders = false;
    bool m_treeFiles = false;
    bool m_bracketed = false;
    bool m_plain = false;
};

} // namespace dirscribe
