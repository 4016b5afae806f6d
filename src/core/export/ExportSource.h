// SPDX-License-Identifier: MIT
// What an export of a listing is made from.
#pragma once

#include "core/listing/ListingSummary.h"
#include "core/listing/ListingVolume.h"
#include "core/table/ListingTable.h"

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace dirscribe {

// The exact facts of the entry a row was made from.
struct RowEntryFacts {
    std::uint64_t bytes = 0;
    std::uint64_t modified = 0; // file time: 100 ns ticks since 1601-01-01 UTC
    std::string path;           // the entry's path on disk, as bytes
    std::int32_t level = 0;     // the tree level it is shown at: 0 flat, from 1 in a tree
    bool folder = false;
};

// The entry a table row was made from, for rows read from the disk in this run; nothing
// for other rows (comments, details, inserted rows, the rows of a document file).
class RowEntries {
public:
    virtual ~RowEntries() = default;
    [[nodiscard]] virtual std::optional<RowEntryFacts> EntryOf(int row) const = 0;
};

// The listing as shown: the table's texts, with the title and summary of the report.
struct ExportSource {
    const ListingTable& table;
    std::string_view folder;
    ListingSummary summary;
    bool sizeInBytes = false;
    std::int32_t dateFormat = 0;
    std::time_t createdOn = 0;
    const RowEntries* entries = nullptr;   // null: no row knows its entry
    const ListingVolume* volume = nullptr; // null: the volume is not known
};

// A cell's text as the exports give it: the name cell as it is (its leading blanks are the
// tree's indentation), a Comments cell as typed (the blank that ends a row of a comment is
// part of it), every other cell without the blanks that align it. The text of a row
// that keeps none yet is made in scratch (see ListingTable::CellText), so an export of every
// row keeps no copy of them; valid until scratch or the table changes.
std::string_view ExportedCell(const ListingTable& table, int row, int column, std::string& scratch);
// The same for a cell read with Cell(), which keeps the row's texts.
std::string_view ExportedCell(const ListingTable& table, int row, int column);

} // namespace dirscribe
