// SPDX-License-Identifier: MIT
#include "core/table/RowStore.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace dirscribe {

namespace {

constexpr std::size_t kLongMark = 0xFF;
constexpr std::size_t kLongerMark = 0xFFFF;

unsigned Byte(const char* p) {
    return static_cast<unsigned char>(*p);
}

// Reads a length in any of its three forms and moves p past it.
std::size_t ReadLength(const char*& p) {
    std::size_t length = Byte(p++);
    if (length != kLongMark)
        return length;
    length = Byte(p) | Byte(p + 1) << 8;
    p += 2;
    if (length != kLongerMark)
        return length;
    length = std::size_t{Byte(p)} | std::size_t{Byte(p + 1)} << 8 | std::size_t{Byte(p + 2)} << 16 |
             std::size_t{Byte(p + 3)} << 24;
    p += 4;
    return length;
}

void AppendLength(RowStore::Text& text, std::size_t length) {
    const auto append = [&](std::size_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            text.push_back(static_cast<char>(value >> (8 * i) & 0xFF));
    };
    if (length < kLongMark) {
        append(length, 1);
    } else if (length < kLongerMark - 1) {
        append(kLongMark, 1);
        append(length, 2);
    } else {
        append(kLongMark, 1);
        append(kLongerMark, 2);
        append(length, 4);
    }
}

// Moves the elements [base, base + order.size()) so that new element i is old element
// order[i]. Each cycle of the permutation is followed once, so every element moves straight
// to its place; an order that is no permutation cannot loop or reach outside the range.
template <typename Vector>
void PermuteInPlace(Vector& items, std::size_t base, const std::vector<int>& order) {
    std::vector<bool> placed(order.size(), false);
    for (std::size_t start = 0; start < order.size(); ++start) {
        if (placed[start])
            continue;
        const auto held = items[base + start];
        std::size_t to = start;
        for (;;) {
            placed[to] = true;
            const auto from = static_cast<std::size_t>(order[to]);
            if (from >= order.size() || placed[from]) {
                items[base + to] = held;
                break;
            }
            items[base + to] = items[base + from];
            to = from;
        }
    }
}

} // namespace

std::size_t RowStore::EncodedSize(std::size_t length) {
    const std::size_t prefix = length < kLongMark ? 1 : length < kLongerMark - 1 ? 3 : 7;
    return prefix + length;
}

std::string_view RowStore::Cell(int row, int column) const {
    if (!Has(row) || column < 0 || column >= kMaxColumns)
        return {};
    const char* p = m_text.data() + m_rows[static_cast<std::size_t>(row)].Offset();
    for (int c = 0;; ++c) {
        const std::size_t length = ReadLength(p);
        if (c == column)
            return {p, length};
        p += length;
    }
}

std::size_t RowStore::RowBytes(const Row& row) const {
    const char* const first = m_text.data() + row.Offset();
    const char* p = first;
    for (int c = 0; c < kMaxColumns; ++c) {
        const std::size_t length = ReadLength(p);
        p += length;
    }
    return static_cast<std::size_t>(p - first);
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
    row.SetOffset(m_text.size());
    for (const std::string_view cell : cells) {
        if (cell.size() > UINT32_MAX)
            throw std::length_error("A cell cannot hold 4 GiB or more.");
        AppendLength(m_text, cell.size());
        m_text.insert(m_text.end(), cell.begin(), cell.end());
    }
    return row;
}

void RowStore::SetCell(int row, int column, std::string_view text) {
    if (!Has(row) || column < 0 || column >= kMaxColumns)
        return;
    CellTexts cells;
    for (int c = 0; c < kMaxColumns; ++c)
        cells[static_cast<std::size_t>(c)] = c == column ? text : Cell(row, c);
    const std::size_t oldBytes = RowBytes(m_rows[static_cast<std::size_t>(row)]);
    const Row stored = Store(cells);
    Row& target = m_rows[static_cast<std::size_t>(row)];
    target.offsetLow = stored.offsetLow;
    target.offsetHigh = stored.offsetHigh;
    m_unused += oldBytes;
    ReclaimIfWasteful();
}

std::int64_t RowStore::ItemData(int row) const {
    return Has(row) && !m_itemData.empty() ? m_itemData[static_cast<std::size_t>(row)] : 0;
}

void RowStore::SetItemData(int row, std::int64_t data) {
    if (!Has(row) || (m_itemData.empty() && data == 0))
        return;
    m_itemData.resize(m_rows.size());
    m_itemData[static_cast<std::size_t>(row)] = data;
}

std::uint32_t RowStore::Entry(int row) const {
    return Has(row) ? m_rows[static_cast<std::size_t>(row)].entry : kNoEntry;
}

void RowStore::Insert(int row, const CellTexts& cells, std::uint32_t entry) {
    Row stored = Store(cells);
    stored.entry = entry;
    const int at = std::clamp(row, 0, Size());
    if (!m_itemData.empty())
        m_itemData.insert(m_itemData.begin() + at, 0);
    m_rows.insert(m_rows.begin() + at, stored);
}

void RowStore::Remove(int first, int count) {
    first = std::clamp(first, 0, Size());
    const int last = std::clamp(first + std::max(count, 0), first, Size());
    for (int r = first; r < last; ++r)
        m_unused += RowBytes(m_rows[static_cast<std::size_t>(r)]);
    m_rows.erase(m_rows.begin() + first, m_rows.begin() + last);
    if (!m_itemData.empty())
        m_itemData.erase(m_itemData.begin() + first, m_itemData.begin() + last);
    ReclaimIfWasteful();
}

void RowStore::Clear() {
    m_rows.clear();
    m_text.clear();
    m_itemData.clear();
    m_unused = 0;
}

void RowStore::Reserve(int rows, std::size_t textBytes) {
    m_rows.reserve(static_cast<std::size_t>(std::max(rows, 0)));
    m_text.reserve(textBytes);
}

void RowStore::Permute(int first, const std::vector<int>& order) {
    const auto base = static_cast<std::size_t>(first);
    PermuteInPlace(m_rows, base, order);
    if (!m_itemData.empty())
        PermuteInPlace(m_itemData, base, order);
}

void RowStore::AdoptEncoded(Text text, std::size_t first, int rowCount) {
    m_text = std::move(text);
    m_rows.clear();
    m_itemData.clear();
    m_rows.reserve(static_cast<std::size_t>(std::max(rowCount, 0)));
    std::size_t offset = first;
    for (int r = 0; r < rowCount; ++r) {
        Row row;
        row.SetOffset(offset);
        offset += RowBytes(row);
        m_rows.push_back(row);
    }
    m_unused = m_text.size() - (offset - first);
}

void RowStore::ReclaimIfWasteful() {
    constexpr std::size_t kMinimumWaste = std::size_t{1} << 20;
    if (m_unused < kMinimumWaste || m_unused * 2 < m_text.size())
        return;
    Text text;
    text.reserve(m_text.size() - m_unused);
    for (Row& r : m_rows) {
        const std::size_t offset = text.size();
        const auto begin = m_text.begin() + static_cast<std::ptrdiff_t>(r.Offset());
        text.insert(text.end(), begin, begin + static_cast<std::ptrdiff_t>(RowBytes(r)));
        r.SetOffset(offset);
    }
    m_text = std::move(text);
    m_unused = 0;
}

bool operator==(const RowStore& a, const RowStore& b) {
    if (a.Size() != b.Size())
        return false;
    for (int r = 0; r < a.Size(); ++r) {
        if (a.ItemData(r) != b.ItemData(r) || a.Entry(r) != b.Entry(r))
            return false;
        for (int c = 0; c < kMaxColumns; ++c)
            if (a.Cell(r, c) != b.Cell(r, c))
                return false;
    }
    return true;
}

} // namespace dirscribe
