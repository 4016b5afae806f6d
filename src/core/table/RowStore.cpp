// SPDX-License-Identifier: MIT
#include "core/table/RowStore.h"

#include <algorithm>
#include <string>

namespace dirscribe {

std::string_view RowStore::Cell(int row, int column) const {
    if (!Has(row) || column < 0 || column >= kMaxColumns)
        return {};
    const Row& r = m_rows[static_cast<std::size_t>(row)];
    const auto c = static_cast<std::size_t>(column);
    const std::uint32_t begin = c == 0 ? 0 : r.end[c - 1];
    return {m_text.data() + r.offset + begin, r.end[c] - begin};
}

RowRecord RowStore::Record(int row) const {
    RowRecord record;
    for (int c = 0; c < kMaxColumns; ++c)
        record[static_cast<std::size_t>(c)] = std::string(Cell(row, c));
    return record;
}

RowStore::Row RowStore::Store(const CellTexts& cells) {
    // A text may point into the buffer, which may move while it grows: copy such rows first.
    const char* const first = m_text.data();
    const char* const last = first + m_text.capacity();
    const bool aliased = std::any_of(cells.begin(), cells.end(), [&](std::string_view cell) {
        return !cell.empty() && cell.data() >= first && cell.data() < last;
    });
    if (aliased) {
        const RowRecord copy = {std::string(cells[0]), std::string(cells[1]), std::string(cells[2]),
                                std::string(cells[3]), std::string(cells[4])};
        return Store({copy[0], copy[1], copy[2], copy[3], copy[4]});
    }
    Row row;
    row.offset = m_text.size();
    std::uint32_t end = 0;
    for (std::size_t c = 0; c < kMaxColumns; ++c) {
        m_text.insert(m_text.end(), cells[c].begin(), cells[c].end());
        end += static_cast<std::uint32_t>(cells[c].size());
        row.end[c] = end;
    }
    return row;
}

void RowStore::SetCell(int row, int column, std::string_view text) {
    if (!Has(row) || column < 0 || column >= kMaxColumns)
        return;
    CellTexts cells;
    for (int c = 0; c < kMaxColumns; ++c)
        cells[static_cast<std::size_t>(c)] = c == column ? text : Cell(row, c);
    Row& r = m_rows[static_cast<std::size_t>(row)];
    m_unused += r.end.back();
    const std::int64_t itemData = r.itemData;
    const Row stored = Store(cells);
    Row& target = m_rows[static_cast<std::size_t>(row)];
    target = stored;
    target.itemData = itemData;
    ReclaimIfWasteful();
}

std::int64_t RowStore::ItemData(int row) const {
    return Has(row) ? m_rows[static_cast<std::size_t>(row)].itemData : 0;
}

void RowStore::SetItemData(int row, std::int64_t data) {
    if (Has(row))
        m_rows[static_cast<std::size_t>(row)].itemData = data;
}

void RowStore::Insert(int row, const CellTexts& cells) {
    const Row stored = Store(cells);
    const int at = std::clamp(row, 0, Size());
    m_rows.insert(m_rows.begin() + at, stored);
}

void RowStore::Remove(int first, int count) {
    first = std::clamp(first, 0, Size());
    const int last = std::clamp(first + std::max(count, 0), first, Size());
    for (int r = first; r < last; ++r)
        m_unused += m_rows[static_cast<std::size_t>(r)].end.back();
    m_rows.erase(m_rows.begin() + first, m_rows.begin() + last);
    ReclaimIfWasteful();
}

void RowStore::Clear() {
    m_rows.clear();
    m_text.clear();
    m_unused = 0;
}

void RowStore::Reserve(int rows, std::size_t textBytes) {
    m_rows.reserve(static_cast<std::size_t>(std::max(rows, 0)));
    m_text.reserve(textBytes);
}

void RowStore::Permute(int first, const std::vector<int>& order) {
    // Each cycle of the permutation is followed once, so every row moves straight to its
    // place; an order that is no permutation cannot loop or reach outside the range.
    std::vector<bool> placed(order.size(), false);
    const auto base = static_cast<std::size_t>(first);
    for (std::size_t start = 0; start < order.size(); ++start) {
        if (placed[start])
            continue;
        const Row held = m_rows[base + start];
        std::size_t to = start;
        for (;;) {
            placed[to] = true;
            const auto from = static_cast<std::size_t>(order[to]);
            if (from >= order.size() || placed[from]) {
                m_rows[base + to] = held;
                break;
            }
            m_rows[base + to] = m_rows[base + from];
            to = from;
        }
    }
}

void RowStore::ClearColumnsFrom(int column) {
    if (column <= 0 || column >= kMaxColumns)
        return;
    const auto keep = static_cast<std::size_t>(column);
    for (Row& r : m_rows) {
        m_unused += r.end.back() - r.end[keep - 1];
        std::fill(r.end.begin() + static_cast<std::ptrdiff_t>(keep), r.end.end(), r.end[keep - 1]);
    }
    ReclaimIfWasteful();
}

void RowStore::ReclaimIfWasteful() {
    constexpr std::size_t kMinimumWaste = std::size_t{1} << 20;
    if (m_unused < kMinimumWaste || m_unused * 2 < m_text.size())
        return;
    std::vector<char, HugePageAllocator<char>> text;
    text.reserve(m_text.size() - m_unused);
    for (Row& r : m_rows) {
        const std::size_t offset = text.size();
        text.insert(text.end(), m_text.begin() + static_cast<std::ptrdiff_t>(r.offset),
                    m_text.begin() + static_cast<std::ptrdiff_t>(r.offset + r.end.back()));
        r.offset = offset;
    }
    m_text = std::move(text);
    m_unused = 0;
}

bool operator==(const RowStore& a, const RowStore& b) {
    if (a.Size() != b.Size())
        return false;
    for (int r = 0; r < a.Size(); ++r) {
        if (a.ItemData(r) != b.ItemData(r))
            return false;
        for (int c = 0; c < kMaxColumns; ++c)
            if (a.Cell(r, c) != b.Cell(r, c))
                return false;
    }
    return true;
}

} // namespace dirscribe
