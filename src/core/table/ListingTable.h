// SPDX-License-Identifier: MIT
// The listing as the user sees it: rows of cell texts under one to five columns.
#pragma once

#include "core/listing/EntryList.h"
#include "core/table/EntryCells.h"
#include "core/table/RowRecord.h"
#include "core/table/RowStore.h"
#include "core/table/TableColumn.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace dirscribe {

// Once filled, the cell texts are the listing: sorting, comments, printing and saving
// work on them. A row made from an entry that was read also knows that entry, so what goes
// back to the disk reads the entry, never a text. Rows live in a RowStore, so millions of
// rows cost a few large buffers; a row made by AppendEntryRow holds no texts at all until
// Cell() first reads it, and CellText() and RowTexts() read without keeping anything, so
// an output of every row costs no second copy of them. Copies share the rows until one
// of them changes. Row and column indices outside the table read as empty; writes outside
// it are ignored. Views returned by Cell() stay valid until the table is next changed.
class ListingTable {
public:
    void SetColumns(std::vector<TableColumn> columns);
    [[nodiscard]] const std::vector<TableColumn>& Columns() const { return m_columns; }
    [[nodiscard]] int ColumnCount() const { return static_cast<int>(m_columns.size()); }
    // The header text of a column; empty for an index the table does not have.
    [[nodiscard]] std::string_view GetColumnTitle(int column) const;
    // The kind of a column; Detail for an index the table does not have.
    [[nodiscard]] ColumnKind KindOfColumn(int column) const;
    // The index of the first column of this kind, or -1.
    [[nodiscard]] int ColumnIndex(ColumnKind kind) const;

    [[nodiscard]] int RowCount() const { return m_rows.Size(); }
    [[nodiscard]] std::string_view Cell(int row, int column) const;
    // The cell's text, read in place, or made in scratch (replacing what it held) for a
    // row that holds no texts yet; valid until scratch or the table changes.
    [[nodiscard]] std::string_view CellText(int row, int column, std::string& scratch) const;
    // All five cells of a row in the same way; cells past ColumnCount() are empty.
    [[nodiscard]] CellTexts RowTexts(int row, std::string& scratch) const;
    // The text the row's entry makes for the column in the table's style, made in scratch
    // whatever the row holds (a typed text, say); empty for a row of no entry.
    [[nodiscard]] std::string_view EntryText(int row, int column, std::string& scratch) const;
    void SetCell(int row, int column, std::string_view text);
    [[nodiscard]] std::int64_t ItemData(int row) const { return m_rows.ItemData(row); }
    void SetItemData(int row, std::int64_t data) { m_rows.SetItemData(row, data); }

    // Inserts a row of the given kind at index row (clamped to 0..RowCount()) with the
    // first ColumnCount() cells of the record; item data starts at 0.
    void InsertRow(int row, const RowRecord& cells, RowKind kind);
    // Appends a row from cell texts that need not be strings of their own, made from entry
    // `entry` of Entries() (kNoEntry: from none).
    void AppendCells(const CellTexts& cells, RowKind kind, std::uint32_t entry = kNoEntry);
    // Appends an entry row whose texts are made from entry `entry` of Entries() in the
    // style SetEntries() gave (see AppendEntryCell), when they are first read.
    void AppendEntryRow(std::uint32_t entry) { m_rows.AppendUnformatted(entry); }

    // What the row is; rows outside the table read as free rows.
    [[nodiscard]] RowKind Kind(int row) const { return m_rows.Kind(row); }
    void SetKind(int row, RowKind kind) { m_rows.SetKind(row, kind); }
    // Whether an entry row stands for an entry that is no longer on disk.
    [[nodiscard]] bool Gone(int row) const { return m_rows.Gone(row); }
    void SetGone(int row, bool gone) { m_rows.SetGone(row, gone); }
    // The entry row that a continuation or details row belongs to (the row itself for any
    // other row); -1 when no entry row stands above it.
    [[nodiscard]] int OwnerRow(int row) const;

    // The entries the rows were made from; null when no row was.
    [[nodiscard]] const EntryList* Entries() const { return m_entries.get(); }
    [[nodiscard]] const std::shared_ptr<const EntryList>& SharedEntries() const {
        return m_entries;
    }
    void SetEntries(std::shared_ptr<const EntryList> entries, EntryRowStyle style = {}) {
        m_entries = std::move(entries);
        m_style = style;
    }
    // How rows made from entries show them.
    [[nodiscard]] const EntryRowStyle& Style() const { return m_style; }
    // The index in Entries() of the entry a row stands for; kNoEntry for a row of none (rows
    // that are not entries, entries of a document that does not know them) or outside the
    // table.
    [[nodiscard]] std::uint32_t EntryIndex(int row) const;
    // The five cell texts of a row; cells past ColumnCount() are empty.
    [[nodiscard]] RowRecord Row(int row) const;
    void RemoveRows(int first, int count) { m_rows.Remove(first, count); }
    void RemoveRow(int row) { RemoveRows(row, 1); }
    void ClearRows() {
        m_rows.Clear();
        m_entries.reset();
    }
    // The rows [first, first + count) as a value holding everything each row holds (its
    // texts, its kind, the entry it was made from, ...), which PutRows gives back exactly.
    // Rows made from entries refer to Entries(), so they go back into the table they came
    // from.
    [[nodiscard]] RowStore CopyRows(int first, int count) const {
        return m_rows.Copy(first, count);
    }
    // CopyRows, then the rows are removed.
    RowStore TakeRows(int first, int count);
    // Inserts rows CopyRows or TakeRows gave at index at (clamped to 0..RowCount()).
    void PutRows(int at, const RowStore& rows) { m_rows.Put(at, rows); }
    // Whether the row continues the comment above it.
    [[nodiscard]] bool IsCommentRow(int row) const { return Kind(row) == RowKind::Continuation; }
    void ReserveRows(int count, std::size_t textBytes = 0) { m_rows.Reserve(count, textBytes); }
    // Takes over rows made elsewhere (a loaded document) with their kinds; cells past
    // ColumnCount() read as empty.
    void AdoptRows(RowStore rows);

    // Puts the rows [first, first + order.size()) into the given order: new row first+i
    // is old row first+order[i]. order must be a permutation of 0..order.size()-1.
    void PermuteRows(int first, const std::vector<int>& order) { m_rows.Permute(first, order); }

private:
    [[nodiscard]] CellTexts VisibleCells(const CellTexts& cells) const;
    // The texts of the row made from entry `entry`, made in scratch.
    [[nodiscard]] CellTexts EntryTexts(std::uint32_t entry, std::string& scratch) const;

    std::vector<TableColumn> m_columns;
    RowStore m_rows;
    // Shared, so a copy of the table (a print job's) costs no copy of them.
    std::shared_ptr<const EntryList> m_entries;
    EntryRowStyle m_style;
};

} // namespace dirscribe
