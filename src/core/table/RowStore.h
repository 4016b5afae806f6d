// SPDX-License-Identifier: MIT
// Rows of five cell texts, stored compactly.
#pragma once

#include "core/listing/ListingEntry.h"
#include "core/platform/HugePageAllocator.h"
#include "core/table/RowKind.h"
#include "core/table/RowRecord.h"

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace dirscribe {

using CellTexts = std::array<std::string_view, kMaxColumns>;

// Every row's cells stand one after another in one shared text buffer, each as its length
// and its bytes, the length written as the document file writes it (one byte below 255,
// more after a 0xFF byte). A row is the offset of its first cell, its kind, whether it
// stands for an entry that is gone, and the index of the entry it was made from: 12 bytes. A
// million rows therefore cost two large buffers, not five million strings, and a document's rows
// can stay where they were read. Editing a cell writes the row anew at the end of the buffer; the
// space left behind is reclaimed once it makes up half of the buffer. Item data takes room only
// once a row has any. A row may also start without texts (AppendUnformatted): its cells read as
// empty until the table that knows how to make them calls Formatted(), which keeps them in blocks
// of their own that never move. Copies share their rows until one of them changes (copy on write),
// so a snapshot of a large table costs nothing. Views returned by Cell() stay valid until the store
// is next changed. Row indices outside the store read as empty rows; changes outside it are
// ignored.
class RowStore {
public:
    using Text = std::vector<char, HugePageAllocator<char>>;

    [[nodiscard]] int Size() const { return m_data ? static_cast<int>(m_data->rows.size()) : 0; }
    [[nodiscard]] bool Empty() const { return Size() == 0; }
    [[nodiscard]] std::string_view Cell(int row, int column) const;
    [[nodiscard]] RowRecord Record(int row) const;
    void SetCell(int row, int column, std::string_view text);
    [[nodiscard]] std::int64_t ItemData(int row) const;
    void SetItemData(int row, std::int64_t data);
    // The entry the row was made from; kNoEntry for other rows and rows outside the store.
    [[nodiscard]] std::uint32_t Entry(int row) const;
    void SetEntry(int row, std::uint32_t entry);
    // Rows outside the store read as free rows that are not gone.
    [[nodiscard]] RowKind Kind(int row) const;
    void SetKind(int row, RowKind kind);
    // Whether an entry row stands for an entry that is no longer on disk.
    [[nodiscard]] bool Gone(int row) const;
    void SetGone(int row, bool gone);

    // Inserts a row at index row, clamped to 0..Size(); item data starts at 0. The texts
    // may be views into this store.
    void Insert(int row, const CellTexts& cells, RowKind kind, std::uint32_t entry = kNoEntry);
    void Append(const CellTexts& cells, RowKind kind, std::uint32_t entry = kNoEntry) {
        Insert(Size(), cells, kind, entry);
    }
    // Appends an entry row made from `entry` that holds no texts yet: 12 bytes.
    void AppendUnformatted(std::uint32_t entry);
    // Whether the row holds no texts yet.
    [[nodiscard]] bool Unformatted(int row) const;
    // The cell, after the texts of a row that has none have been made by
    // format(entry, scratch) (a CellTexts that may point into scratch) and kept. Several
    // threads may read at once.
    template <typename Format>
    std::string_view Formatted(int row, int column, const Format& format) const;
    void Remove(int first, int count);
    void Clear();
    // Room for rows and for their text bytes (EncodedSize of each cell), so a known amount
    // is stored without regrowth.
    void Reserve(int rows, std::size_t textBytes);
    // New row first+i is old row first+order[i]; order must be a permutation.
    void Permute(int first, const std::vector<int>& order);
    // The rows [first, first + count) (clamped to the store) as a store of their own, with
    // everything each row holds besides its texts (its entry, its item data) as it is, and
    // a row without texts still without them: Put() gives back exactly these rows.
    [[nodiscard]] RowStore Copy(int first, int count) const;
    // Inserts the rows of `rows` at index at, clamped to 0..Size(), as Copy() took them.
    // `rows` may share this store's rows.
    void Put(int at, const RowStore& rows);

    // The bytes a cell of length bytes takes in the text buffer.
    static std::size_t EncodedSize(std::size_t length);
    // Replaces the rows with rowCount entry rows that text already holds in the store's
    // form from offset first on, five cells a row, as the rows of a document file are
    // written. The caller has checked that they are all there; nothing is copied.
    void AdoptEncoded(Text text, std::size_t first, int rowCount);

    friend bool operator==(const RowStore& a, const RowStore& b);

private:
    // Offsets are 48 bits. From kFormattedMark on they point into the formatted blocks:
    // block << 32 | start, so 32,767 blocks of at least 1 MiB.
    static constexpr std::uint64_t kFormattedMark = std::uint64_t{1} << 47;
    static constexpr std::uint64_t kNoTexts = (std::uint64_t{1} << 48) - 1;
    static constexpr std::size_t kMaxFormattedBlocks = (std::size_t{1} << 15) - 1;
    static constexpr std::uint8_t kGoneBit = 1;

    // The offset in two halves keeps a row at 12 bytes.
    struct Row {
        std::uint32_t offsetLow = 0;
        std::uint16_t offsetHigh = 0;
        RowKind kind = RowKind::Free;
        std::uint8_t marks = 0;
        std::uint32_t entry = kNoEntry;

        [[nodiscard]] std::uint64_t Offset() const {
            return std::uint64_t{offsetHigh} << 32 | offsetLow;
        }
        void SetOffset(std::uint64_t offset) {
            offsetLow = static_cast<std::uint32_t>(offset);
            offsetHigh = static_cast<std::uint16_t>(offset >> 32);
        }
    };
    static_assert(sizeof(Row) == 12);
    // A mutex that a copy of its owner does not share.
    struct Lock {
        Lock() = default;
        Lock(const Lock&) {}
        Lock& operator=(const Lock&) { return *this; }
        std::mutex mutex;
    };
    struct Data {
        Text text;
        std::vector<Row, HugePageAllocator<Row>> rows;
        std::vector<std::int64_t> itemData; // empty while every row's is 0
        std::size_t unused = 0;             // bytes of text no row refers to any more
        bool unformattedRows = false;       // whether any row was made without texts
        // The texts of rows formatted when first read; a block never grows past its room.
        mutable std::vector<std::string> formatted;
        mutable Lock formatting;
    };

    [[nodiscard]] bool Has(int row) const { return row >= 0 && row < Size(); }
    [[nodiscard]] const Row& RowAt(int row) const {
        return m_data->rows[static_cast<std::size_t>(row)];
    }
    // Where the row's cells start; null for a row without texts.
    [[nodiscard]] const char* Start(const Row& row) const;
    // The rows to change, no longer shared with a copy.
    Data& Own();
    // Writes the cells at the end of the text buffer and returns the row describing them.
    Row Store(const CellTexts& cells);
    // The bytes the row's cells take in the text buffer; 0 for rows stored elsewhere.
    [[nodiscard]] std::size_t RowBytes(const Row& row) const;
    // Row `row` of `from` with its texts written into this store.
    Row CopiedRow(const RowStore& from, int row);
    // Keeps the texts of a row that has none, under the formatting lock.
    void KeepFormatted(int row, const CellTexts& cells) const;
    void ReclaimIfWasteful();

    std::shared_ptr<Data> m_data; // null while empty
};

template <typename Format>
std::string_view RowStore::Formatted(int row, int column, const Format& format) const {
    if (!m_data || !m_data->unformattedRows)
        return Cell(row, column);
    const std::lock_guard lock(m_data->formatting.mutex);
    if (Unformatted(row)) {
        std::string scratch;
        KeepFormatted(row, format(RowAt(row).entry, scratch));
    }
    return Cell(row, column);
}

} // namespace dirscribe
