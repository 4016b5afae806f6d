// SPDX-License-Identifier: MIT
#include "core/table/ListingTable.h"

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

ColumnKind ListingTable::KindOfColumn(int column) const {
    if (column < 0 || column >= ColumnCount())
        return ColumnKind::Detail;
    return m_columns[static_cast<std::size_t>(column)].kind;
}

int ListingTable::ColumnIndex(ColumnKind kind) const {
    for (int c = 0; c < ColumnCount(); ++c)
        if (KindOfColumn(c) == kind)
            return c;
    return -1;
}

std::string_view ListingTable::Cell(int row, int column) const {
    if (column >= ColumnCount())
        return {};
    return m_rows.Formatted(row, column, [this](std::uint32_t entry, std::string& scratch) {
        return EntryTexts(entry, scratch);
    });
}

CellTexts ListingTable::EntryTexts(std::uint32_t entry, std::string& scratch) const {
    scratch.clear();
    std::array<std::size_t, kMaxColumns + 1> ends{};
    if (m_entries != nullptr && entry < m_entries->Size()) {
        for (int c = 0; c < ColumnCount(); ++c) {
            AppendEntryCell(scratch, m_entries->Entries(), entry, m_style, c,
                            m_columns[static_cast<std::size_t>(c)].kind);
            ends[static_cast<std::size_t>(c) + 1] = scratch.size();
        }
    }
    CellTexts cells;
    for (int c = 0; c < ColumnCount(); ++c) {
        const std::size_t begin = ends[static_cast<std::size_t>(c)];
        cells[static_cast<std::size_t>(c)] =
            std::string_view(scratch).substr(begin, ends[static_cast<std::size_t>(c) + 1] - begin);
    }
    return cells;
}

std::string_view ListingTable::CellText(int row, int column, std::string& scratch) const {
    if (column >= ColumnCount())
        return {};
    if (!m_rows.Unformatted(row))
        return m_rows.Cell(row, column);
    scratch.clear();
    if (m_entries != nullptr && m_rows.Entry(row) < m_entries->Size())
        AppendEntryCell(scratch, m_entries->Entries(), m_rows.Entry(row), m_style, column,
                        m_columns[static_cast<std::size_t>(column)].kind);
    return scratch;
}

std::string_view ListingTable::EntryText(int row, int column, std::string& scratch) const {
    scratch.clear();
    const std::uint32_t entry = EntryIndex(row);
    if (entry != kNoEntry && column >= 0 && column < ColumnCount())
        AppendEntryCell(scratch, m_entries->Entries(), entry, m_style, column,
                        m_columns[static_cast<std::size_t>(column)].kind);
    return scratch;
}

CellTexts ListingTable::RowTexts(int row, std::string& scratch) const {
    if (m_rows.Unformatted(row))
        return EntryTexts(m_rows.Entry(row), scratch);
    CellTexts cells;
    for (int c = 0; c < ColumnCount(); ++c)
        cells[static_cast<std::size_t>(c)] = m_rows.Cell(row, c);
    return cells;
}

void ListingTable::SetCell(int row, int column, std::string_view text) {
    if (column >= ColumnCount())
        return;
    (void)Cell(row, 0); // a row made from an entry gets its texts first
    m_rows.SetCell(row, column, text);
}

CellTexts ListingTable::VisibleCells(const CellTexts& cells) const {
    CellTexts visible;
    for (int c = 0; c < ColumnCount(); ++c)
        visible[static_cast<std::size_t>(c)] = cells[static_cast<std::size_t>(c)];
    return visible;
}

void ListingTable::InsertRow(int row, const RowRecord& cells, RowKind kind) {
    m_rows.Insert(row, VisibleCells({cells[0], cells[1], cells[2], cells[3], cells[4]}), kind);
}

void ListingTable::AppendCells(const CellTexts& cells, RowKind kind, std::uint32_t entry) {
    m_rows.Append(VisibleCells(cells), kind, entry);
}

int ListingTable::OwnerRow(int row) const {
    if (row < 0 || row >= RowCount())
        return -1;
    while (row >= 0 && FollowsEntry(Kind(row)))
        --row;
    return row;
}

std::uint32_t ListingTable::EntryIndex(int row) const {
    const std::uint32_t index = m_rows.Entry(row);
    return m_entries != nullptr && index < m_entries->Size() ? index : kNoEntry;
}

RowRecord ListingTable::Row(int row) const {
    std::string scratch;
    const CellTexts cells = RowTexts(row, scratch);
    RowRecord record;
    for (int c = 0; c < ColumnCount(); ++c)
        record[static_cast<std::size_t>(c)] = std::string(cells[static_cast<std::size_t>(c)]);
    return record;
}

RowStore ListingTable::TakeRows(int first, int count) {
    RowStore taken = m_rows.Copy(first, count);
    m_rows.Remove(first, count);
    return taken;
}

void ListingTable::AdoptRows(RowStore rows) {
    // Cells past the columns stay where they are: Cell() reads them as empty, and
    // rewriting every row would hold two copies of a large document at once.
    m_rows = std::move(rows);
    m_entries.reset();
}

} // namespace dirscribe
