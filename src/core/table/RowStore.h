// SPDX-License-Identifier: MIT
// Rows of five cell texts, stored compactly.
#pragma once

#include "core/listing/ListingEntry.h"
#include "core/platform/HugePageAllocator.h"
#include "core/table/RowRecord.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace dirscribe {

using CellTexts = std::array<std::string_view, kMaxColumns>;

// Every row's cells stand one after another in one shared text buffer, each as its length
// and its bytes, the length written as the document file writes it (one byte below 255,
// more after a 0xFF byte). A row is the offset of its first cell and the index of the entry
// it was made from: 12 bytes. A million rows therefore cost two large buffers, not five
// million strings, and a document's rows can stay where they were read. Editing a cell
// writes the row anew at the end of the buffer; the space left behind is reclaimed once it
// makes up half of the buffer. Item data takes room only once a row has any.
// Views returned by Cell() stay valid until the store is next changed.
// Row indices outside the store read as empty rows; changes outside it are ignored.
class RowStore {
public:
    using Text = std::vector<char, HugePageAllocator<char>>;

    [[nodiscard]] int Size() const { return static_cast<int>(m_rows.size()); }
    [[nodiscard]] bool Empty() const { return m_rows.empty(); }
    [[nodiscard]] std::string_view Cell(int row, int column) const;
    [[nodiscard]] RowRecord Record(int row) const;
    void SetCell(int row, int column, std::string_view text);
    [[nodiscard]] std::int64_t ItemData(int row) const;
    void SetItemData(int row, std::int64_t data);
    // The entry the row was made from; kNoEntry for other rows and rows outside the store.
    [[nodiscard]] std::uint32_t Entry(int row) const;

    // Inserts a row at index row, clamped to 0..Size(); item data starts at 0. The texts
    // may be views into this store.
    void Insert(int row, const CellTexts& cells, std::uint32_t entry = kNoEntry);
    void Append(const CellTexts& cells, std::uint32_t entry = kNoEntry) {
        Insert(Size(), cells, entry);
    }
    void Remove(int first, int count);
    void Clear();
    // Room for rows and for their text bytes (EncodedSize of each cell), so a known amount
    // is stored without regrowth.
    void Reserve(int rows, std::size_t textBytes);
    // New row first+i is old row first+order[i]; order must be a permutation.
    void Permute(int first, const std::vector<int>& order);

    // The bytes a cell of length bytes takes in the text buffer.
    static std::size_t EncodedSize(std::size_t length);
    // Replaces the rows with rowCount rows that text already holds in the store's form from
    // offset first on, five cells a row, as the rows of a document file are written. The
    // caller has checked that they are all there; nothing is copied.
    void AdoptEncoded(Text text, std::size_t first, int rowCount);

    friend bool operator==(const RowStore& a, const RowStore& b);

private:
    // The offset in two halves keeps a row at 12 bytes.
    struct Row {
        std::uint32_t offsetLow = 0;
        std::uint32_t offsetHigh = 0;
        std::uint32_t entry = kNoEntry;

        [[nodiscard]] std::uint64_t Offset() const {
            return std::uint64_t{offsetHigh} << 32 | offsetLow;
        }
        void SetOffset(std::uint64_t offset) {
            offsetLow = static_cast<std::uint32_t>(offset);
            offsetHigh = static_cast<std::uint32_t>(offset >> 32);
        }
    };
    [[nodiscard]] bool Has(int row) const { return row >= 0 && row < Size(); }
    // Writes the cells at the end of the text buffer and returns the row describing them.
    Row Store(const CellTexts& cells);
    // The bytes the row's cells take in the text buffer.
    [[nodiscard]] std::size_t RowBytes(const Row& row) const;
    void ReclaimIfWasteful();

    Text m_text;
    std::vector<Row, HugePageAllocator<Row>> m_rows;
    std::vector<std::int64_t> m_itemData; // empty while every row's is 0
    std::size_t m_unused = 0;             // bytes of m_text no row refers to any more
};

} // namespace dirscribe
