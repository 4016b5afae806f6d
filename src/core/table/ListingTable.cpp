// SPDX-License-Identifier: MIT
#include "core/table/ListingTable.h"

#include <algorithm>
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

std::string_view ListingTable::CellOf(const StoredRow& row, int column) {
    const std::uint32_t begin = column == 0 ? 0 : row.end[static_cast<std::size_t>(column - 1)];
    const std::uint32_t end = row.end[static_cast<std::size_t>(column)];
    return std::string_view(row.text).substr(begin, end - begin);
}

std::string_view ListingTable::Cell(int row, int column) const {
    if (!HasRow(row) || column < 0 || column >= ColumnCount())
        return {};
    return CellOf(m_rows[static_cast<std::size_t>(row)], column);
}

void ListingTable::SetCell(int row, int column, std::string_view text) {
    if (!HasRow(row) || column < 0 || column >= ColumnCount())
        return;
    StoredRow& r = m_rows[static_cast<std::size_t>(row)];
    const auto c = static_cast<std::size_t>(column);
    const std::uint32_t begin = column == 0 ? 0 : r.end[c - 1];
    const std::uint32_t oldLength = r.end[c] - begin;
    r.text.replace(begin, oldLength, text);
    const auto newLength = static_cast<std::uint32_t>(text.size());
    for (std::size_t k = c; k < kMaxColumns; ++k)
        r.end[k] = r.end[k] - oldLength + newLength;
}

std::int64_t ListingTable::ItemData(int row) const {
    return HasRow(row) ? m_rows[static_cast<std::size_t>(row)].itemData : 0;
}

void ListingTable::SetItemData(int row, std::int64_t data) {
    if (HasRow(row))
        m_rows[static_cast<std::size_t>(row)].itemData = data;
}

ListingTable::StoredRow
ListingTable::MakeRow(const std::array<std::string_view, kMaxColumns>& cells) const {
    StoredRow r;
    std::size_t length = 0;
    for (std::size_t c = 0; c < m_columns.size(); ++c)
        length += cells[c].size();
    r.text.reserve(length);
    std::uint32_t end = 0;
    for (std::size_t c = 0; c < kMaxColumns; ++c) {
        if (c < m_columns.size()) {
            r.text += cells[c];
            end += static_cast<std::uint32_t>(cells[c].size());
        }
        r.end[c] = end;
    }
    return r;
}

void ListingTable::InsertRow(int row, const RowRecord& cells) {
    const int at = std::clamp(row, 0, RowCount());
    m_rows.insert(m_rows.begin() + at, MakeRow({cells[0], cells[1], cells[2], cells[3], cells[4]}));
}

void ListingTable::AppendCells(const std::array<std::string_view, kMaxColumns>& cells) {
    m_rows.push_back(MakeRow(cells));
}

RowRecord ListingTable::Row(int row) const {
    RowRecord record;
    for (int c = 0; c < ColumnCount(); ++c)
        record[static_cast<std::size_t>(c)] = std::string(Cell(row, c));
    return record;
}

void ListingTable::RemoveRows(int first, int count) {
    first = std::clamp(first, 0, RowCount());
    const int last = std::clamp(first + std::max(count, 0), first, RowCount());
    m_rows.erase(m_rows.begin() + first, m_rows.begin() + last);
}

void ListingTable::PermuteRows(int first, const std::vector<int>& order) {
    // Each cycle of the permutation is followed once, so every row moves straight to its
    // place and no second table's worth of rows is allocated.
    std::vector<bool> placed(order.size(), false);
    const auto base = static_cast<std::size_t>(first);
    for (std::size_t start = 0; start < order.size(); ++start) {
        if (placed[start])
            continue;
        StoredRow held = std::move(m_rows[base + start]);
        std::size_t to = start;
        for (;;) {
            placed[to] = true;
            const auto from = static_cast<std::size_t>(order[to]);
            // The cycle closes at its start; the other tests keep an order that is no
            // permutation from looping or reading outside the range.
            if (from >= order.size() || placed[from]) {
                m_rows[base + to] = std::move(held);
                break;
            }
            m_rows[base + to] = std::move(m_rows[base + from]);
            to = from;
        }
    }
}

} // namespace dirscribe
