// SPDX-License-Identifier: MIT
// Rows of five cell texts, stored compactly.
#pragma once

#include "core/platform/HugePageAllocator.h"
#include "core/table/RowRecord.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace dirscribe {

using CellTexts = std::array<std::string_view, kMaxColumns>;

// Every row's cells stand one after another in one shared text buffer; a row is an offset,
// five cell ends and an item-data value. A million rows therefore cost two large buffers,
// not five million strings. Editing a cell writes the row anew at the end of the buffer;
// the space left behind is reclaimed once it makes up half of the buffer.
// Views returned by Cell() stay valid until the store is next changed.
// Row indices outside the store read as empty rows; changes outside it are ignored.
class RowStore {
public:
    [[nodiscard]] int Size() const { return static_cast<int>(m_rows.size()); }
    [[nodiscard]] bool Empty() const { return m_rows.empty(); }
    [[nodiscard]] std::string_view Cell(int row, int column) const;
    [[nodiscard]] RowRecord Record(int row) const;
    void SetCell(int row, int column, std::string_view text);
    [[nodiscard]] std::int64_t ItemData(int row) const;
    void SetItemData(int row, std::int64_t data);

    // Inserts a row at index row, clamped to 0..Size(); item data starts at 0. The texts
    // may be views into this store.
    void Insert(int row, const CellTexts& cells);
    void Append(const CellTexts& cells) { Insert(Size(), cells); }
    void Remove(int first, int count);
    void Clear();
    // Room for rows and for their text bytes, so a known amount is stored without regrowth.
    void Reserve(int rows, std::size_t textBytes);
    // New row first+i is old row first+order[i]; order must be a permutation.
    void Permute(int first, const std::vector<int>& order);
    // Empties the cells of every row from column on.
    void ClearColumnsFrom(int column);

    friend bool operator==(const RowStore& a, const RowStore& b);

private:
    struct Row {
        std::uint64_t offset = 0;                     // where the row's text starts
        std::array<std::uint32_t, kMaxColumns> end{}; // end of each cell, from offset
        std::int64_t itemData = 0;
    };
    [[nodiscard]] bool Has(int row) const { return row >= 0 && row < Size(); }
    // Writes the cells at the end of the text buffer and returns the row describing them.
    Row Store(const CellTexts& cells);
    void ReclaimIfWasteful();

    std::vector<char, HugePageAllocator<char>> m_text;
    std::vector<Row, HugePageAllocator<Row>> m_rows;
    std::size_t m_unused = 0; // bytes of m_text no row refers to any more
};

} // namespace dirscribe
