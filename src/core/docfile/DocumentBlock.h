// SPDX-License-Identifier: MIT
// The block a document file carries after its rows: what the listing knew beyond its texts.
#pragma once

#include "core/docfile/ArchiveReader.h"
#include "core/docfile/ArchiveWriter.h"
#include "core/listing/ListingEntry.h"
#include "core/listing/ListingShape.h"
#include "core/listing/ListingVolume.h"
#include "core/table/ListingTable.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dirscribe {

// The block starts with these bytes and a 32-bit version. Version 2 added the volume
// record; a block of version 1 reads as before, knowing no volume.
inline constexpr std::string_view kBlockMagic = "DSCX";
inline constexpr std::int32_t kBlockVersion = 2;
// The longest text of the volume record (the short string forms).
inline constexpr std::size_t kMaxVolumeText = 65533;

// What the block records of one row.
struct BlockRow {
    RowKind kind = RowKind::Free;
    bool gone = false;  // an entry that was no longer on disk
    bool known = false; // an entry whose facts follow; a document's own rows may have none
    // The facts of a known entry: its raw name (the last of the path's components), level,
    // attributes, restricted mark, size and time; parent is left unset.
    ListingEntry entry;
};

// Throws Error("The document cannot be saved: ...") when a text of the volume is longer
// than kMaxVolumeText or not UTF-8, which no reader would accept.
void CheckVolumeTexts(const ListingVolume& volume);

// Writes the block for the rows of table, one record at a time, each right after its row
// would be written, into writer: the head (with the volume record) first, then WriteRow
// for rows 0 to rowCount - 1. Throws as CheckVolumeTexts does, before anything is written.
// An entry row whose entry the table knows records it with its path of raw names from the
// listed folder, as the components it does not share with the entry recorded before it.
class BlockWriter {
public:
    BlockWriter(ArchiveWriter& writer, const ListingShape& shape, const ListingVolume& volume,
                std::int32_t rowCount);
    void WriteRow(const ListingTable& table, int row);

private:
    ArchiveWriter& m_writer;
    std::vector<std::string_view> m_path; // the components of the entry recorded last
    std::vector<std::string_view> m_next;
};

// Whether the bytes from the reader's position on begin a block.
bool StartsBlock(ArchiveReader& reader);

// The names of a path one after another in one buffer, so a path costs its bytes and an
// offset a name.
class NamePath {
public:
    [[nodiscard]] std::size_t Size() const { return m_ends.size(); }
    [[nodiscard]] std::string_view operator[](std::size_t i) const {
        const std::size_t start = i == 0 ? 0 : m_ends[i - 1];
        return std::string_view(m_bytes).substr(start, m_ends[i] - start);
    }
    [[nodiscard]] std::string_view Back() const { return (*this)[Size() - 1]; }
    // Keeps the first count names (at most Size()).
    void Keep(std::size_t count) {
        m_ends.resize(count);
        m_bytes.resize(count == 0 ? 0 : m_ends.back());
    }
    void Push(std::string_view name) {
        m_bytes.append(name);
        m_ends.push_back(m_bytes.size());
    }

private:
    std::string m_bytes;
    std::vector<std::size_t> m_ends;
};

// Reads and checks the block record by record from the reader's position: the head, then one
// record per row, in row order, in memory that does not grow with the number of rows. Every
// failure throws Error with the reason ("the extension block ..."). Besides the rules each
// record keeps on its own, an entry's level must fit its path (the path holds the listed
// folder's entries down to it: as many names as its level in a tree, one more in a flat
// listing, whose entries stand at level 0), and all the records together may name at most
// kSpareFolderNames more folders beyond their own entries than there are rows: a folder
// named in a path but without a row of its own is one whose row was deleted, and a few
// bytes cannot stand for millions of them.
class BlockReader {
public:
    explicit BlockReader(ArchiveReader& reader) : m_reader(reader) {}
    // The magic, the version, the shape, the volume record (version 2) and the row count,
    // which must be rowCount.
    ListingShape ReadHead(std::int32_t rowCount);
    // The volume the head recorded; empty for a block of version 1.
    [[nodiscard]] const ListingVolume& Volume() const { return m_volume; }
    // The record of row `row` (from 0).
    void ReadRow(std::int32_t row, BlockRow& out);
    // The path of raw names of the known entry read last, from the listed folder down.
    [[nodiscard]] const NamePath& Path() const { return m_path; }
    // How many of Path()'s components the last known entry shares with the one before it.
    [[nodiscard]] std::size_t Kept() const { return m_kept; }

private:
    void ReadFacts(BlockRow& out, bool base64);
    void ReadVolume();

    ArchiveReader& m_reader;
    ListingVolume m_volume;
    std::int32_t m_rowCount = 0;
    NamePath m_path;
    std::size_t m_kept = 0;
    std::uint64_t m_folderNames = 0; // names the records added beyond their entries' own
};

// How many more folder names than rows the records of a block may add.
inline constexpr std::uint64_t kSpareFolderNames = 65536;

} // namespace dirscribe
