// SPDX-License-Identifier: MIT
#include "core/table/ListingTable.h"

#include "core/table/CommentFlow.h"

#include <utility>

namespace dirscribe {

void ListingTable::SetColumns(std::vector<TableColumn> columns) {
    if (columns.size() > kMaxColumns)
        columns.resize(kMaxColumns);
    m_columns = std::move(columns);
}

std::string_view ListingTable::GetColumnTitle(int column) const {
    if (column < 0 || column >= ColumnCount())
        return {};
    return m_columns[static_cast<std::size_t>(column)].title;
}

int ListingTable::ColumnIndex(std::string_view title) const {
    for (int c = 0; c < ColumnCount(); ++c)
        if (GetColumnTitle(c) == title)
            return c;
    return -1;
}

std::string_view ListingTable::Cell(int row, int column) const {
    return column < ColumnCount() ? m_rows.Cell(row, column) : std::string_view();
}

void ListingTable::SetCell(int row, int column, std::string_view text) {
    if (column < ColumnCount())
        m_rows.SetCell(row, column, text);
}

CellTexts ListingTable::VisibleCells(const CellTexts& cells) const {
    CellTexts visible;
    for (int c = 0; c < ColumnCount(); ++c)
        visible[static_cast<std::size_t>(c)] = cells[static_cast<std::size_t>(c)];
    return visible;
}

void ListingTable::InsertRow(int row, const RowRecord& cells) {
    m_rows.Insert(row, VisibleCells({cells[0], cells[1], cells[2], cells[3], cells[4]}));
}

void ListingTable::AppendCells(const CellTexts& cells, std::uint32_t entry) {
    m_rows.Append(VisibleCells(cells), entry);
}

std::uint32_t ListingTable::EntryIndex(int row) const {
    const std::uint32_t index = m_rows.Entry(row);
    return m_entries != nullptr && index < m_entries->Size() ? index : kNoEntry;
}

RowRecord ListingTable::Row(int row) const {
    RowRecord record;
    for (int c = 0; c < ColumnCount(); ++c)
        record[static_cast<std::size_t>(c)] = std::string(Cell(row, c));
    return record;
}

bool ListingTable::IsCommentRow(int row) const {
    return Cell(row, 0) == kCommentRowMark;
}

void ListingTable::AdoptRows(RowStore rows) {
    // Cells past the columns stay where they are: Cell() reads them as empty, and
    // rewriting every row would hold two copies of a large document at once.
    m_rows = std::move(rows);
    m_entries.reset();
}

} // namespace dirscribe
