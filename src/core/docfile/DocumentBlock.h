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
#include <span>
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

// Reads and checks the block record by record from the reader's position: the head, then one
// record per row, in row order, in memory that does not grow with the number of rows. Every
// failure throws Error with the reason ("the extension block ...").
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
    [[nodiscard]] std::span<const std::string> Path() const { return {m_path.data(), m_used}; }
    // How many of Path()'s components the last known entry shares with the one before it.
    [[nodiscard]] std::size_t Kept() const { return m_kept; }

private:
    void ReadFacts(BlockRow& out, bool base64);
    void ReadVolume();

    ArchiveReader& m_reader;
    ListingVolume m_volume;
    std::int32_t m_rowCount = 0;
    std::vector<std::string> m_path; // the first m_used are the path; the rest keep their room
    std::size_t m_used = 0;
    std::size_t m_kept = 0;
};

} // namespace dirscribe
