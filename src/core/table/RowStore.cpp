// SPDX-License-Identifier: MIT
#include "core/table/RowStore.h"

#include <algorithm>
#include <new>
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

// The bytes of the five cells that start at first.
std::size_t EncodedRowBytes(const char* first) {
    const char* p = first;
    for (int c = 0; c < kMaxColumns; ++c) {
        const std::size_t length = ReadLength(p);
        p += length;
    }
    return static_cast<std::size_t>(p - first);
}

} // namespace

std::size_t RowStore::EncodedSize(std::size_t length) {
    const std::size_t prefix = length < kLongMark ? 1 : length < kLongerMark - 1 ? 3 : 7;
    return prefix + length;
}

const char* RowStore::Start(const Row& row) const {
    const std::uint64_t offset = row.Offset();
    if (offset < kFormattedMark)
        return m_data->text.data() + offset;
    if (offset == kNoTexts)
        return nullptr;
    const std::string& block = m_data->formatted[(offset & ~kFormattedMark) >> 32];
    return block.data() + (offset & 0xFFFFFFFF);
}

RowStore::Data& RowStore::Own() {
    if (!m_data)
        m_data = std::make_shared<Data>();
    else if (m_data.use_count() > 1) {
        // A copy may be keeping the texts of a row it reads meanwhile.
        const std::lock_guard lock(m_data->formatting.mutex);
        m_data = std::make_shared<Data>(*m_data);
    }
    return *m_data;
}

std::string_view RowStore::Cell(int row, int column) const {
    if (!Has(row) || column < 0 || column >= kMaxColumns)
        return {};
    const char* p = Start(RowAt(row));
    if (p == nullptr)
        return {};
    for (int c = 0;; ++c) {
        const std::size_t length = ReadLength(p);
        if (c == column)
            return {p, length};
        p += length;
    }
}

std::size_t RowStore::RowBytes(const Row& row) const {
    return row.Offset() < kFormattedMark ? EncodedRowBytes(Start(row)) : 0;
}

RowRecord RowStore::Record(int row) const {
    RowRecord record;
    for (int c = 0; c < kMaxColumns; ++c)
        record[static_cast<std::size_t>(c)] = std::string(Cell(row, c));
    return record;
}

RowStore::Row RowStore::Store(const CellTexts& cells) {
    Text& text = Own().text;
    // A text may point into the buffer, which may move while it grows: copy such rows first.
    const char* const first = text.data();
    const char* const last = first + text.capacity();
    const bool aliased = std::any_of(cells.begin(), cells.end(), [&](std::string_view cell) {
        return !cell.empty() && cell.data() >= first && cell.data() < last;
    });
    if (aliased) {
        const RowRecord copy = {std::string(cells[0]), std::string(cells[1]), std::string(cells[2]),
                                std::string(cells[3]), std::string(cells[4])};
        return Store({copy[0], copy[1], copy[2], copy[3], copy[4]});
    }
    Row row;
    row.SetOffset(text.size());
    for (const std::string_view cell : cells) {
        if (cell.size() > UINT32_MAX)
            throw std::length_error("A cell cannot hold 4 GiB or more.");
        AppendLength(text, cell.size());
        text.insert(text.end(), cell.begin(), cell.end());
    }
    return row;
}

void RowStore::KeepFormatted(int row, const CellTexts& cells) const {
    constexpr std::size_t kBlockBytes = std::size_t{1} << 20;
    Text encoded;
    for (const std::string_view cell : cells) {
        AppendLength(encoded, cell.size());
        encoded.insert(encoded.end(), cell.begin(), cell.end());
    }
    std::vector<std::string>& blocks = m_data->formatted;
    if (blocks.empty() || blocks.back().capacity() - blocks.back().size() < encoded.size()) {
        // 32 GiB of texts kept: more than any listing that fits in memory shows.
        if (blocks.size() == kMaxFormattedBlocks)
            throw std::bad_alloc();
        blocks.emplace_back().reserve(std::max(kBlockBytes, encoded.size()));
    }
    std::string& block = blocks.back();
    const std::uint64_t offset =
        kFormattedMark | std::uint64_t{blocks.size() - 1} << 32 | block.size();
    block.append(encoded.data(), encoded.size());
    m_data->rows[static_cast<std::size_t>(row)].SetOffset(offset);
}

void RowStore::SetCell(int row, int column, std::string_view text) {
    if (!Has(row) || column < 0 || column >= kMaxColumns)
        return;
    CellTexts cells;
    for (int c = 0; c < kMaxColumns; ++c)
        cells[static_cast<std::size_t>(c)] = c == column ? text : Cell(row, c);
    const std::size_t oldBytes = RowBytes(RowAt(row));
    const Row stored = Store(cells);
    Data& data = Own();
    Row& target = data.rows[static_cast<std::size_t>(row)];
    target.offsetLow = stored.offsetLow;
    target.offsetHigh = stored.offsetHigh;
    data.unused += oldBytes;
    ReclaimIfWasteful();
}

std::int64_t RowStore::ItemData(int row) const {
    return Has(row) && !m_data->itemData.empty() ? m_data->itemData[static_cast<std::size_t>(row)]
                                                 : 0;
}

void RowStore::SetItemData(int row, std::int64_t data) {
    if (!Has(row) || (m_data->itemData.empty() && data == 0))
        return;
    Data& own = Own();
    own.itemData.resize(own.rows.size());
    own.itemData[static_cast<std::size_t>(row)] = data;
}

std::uint32_t RowStore::Entry(int row) const {
    return Has(row) ? RowAt(row).entry : kNoEntry;
}

void RowStore::SetEntry(int row, std::uint32_t entry) {
    if (Has(row) && RowAt(row).entry != entry)
        Own().rows[static_cast<std::size_t>(row)].entry = entry;
}

RowKind RowStore::Kind(int row) const {
    return Has(row) ? RowAt(row).kind : RowKind::Free;
}

void RowStore::SetKind(int row, RowKind kind) {
    if (Has(row) && RowAt(row).kind != kind)
        Own().rows[static_cast<std::size_t>(row)].kind = kind;
}

bool RowStore::Gone(int row) const {
    return Has(row) && (RowAt(row).marks & kGoneBit) != 0;
}

void RowStore::SetGone(int row, bool gone) {
    if (!Has(row) || Gone(row) == gone)
        return;
    std::uint8_t& marks = Own().rows[static_cast<std::size_t>(row)].marks;
    marks = static_cast<std::uint8_t>(gone ? marks | kGoneBit : marks & ~kGoneBit);
}

bool RowStore::Unformatted(int row) const {
    return Has(row) && RowAt(row).Offset() == kNoTexts;
}

void RowStore::Insert(int row, const CellTexts& cells, RowKind kind, std::uint32_t entry) {
    Row stored = Store(cells);
    stored.kind = kind;
    stored.entry = entry;
    Data& data = Own();
    const int at = std::clamp(row, 0, Size());
    if (!data.itemData.empty())
        data.itemData.insert(data.itemData.begin() + at, 0);
    data.rows.insert(data.rows.begin() + at, stored);
}

void RowStore::AppendUnformatted(std::uint32_t entry) {
    Data& data = Own();
    Row row;
    row.SetOffset(kNoTexts);
    row.kind = RowKind::Entry;
    row.entry = entry;
    if (!data.itemData.empty())
        data.itemData.push_back(0);
    data.rows.push_back(row);
    data.unformattedRows = true;
}

void RowStore::Remove(int first, int count) {
    first = std::clamp(first, 0, Size());
    const int last = std::clamp(first + std::max(count, 0), first, Size());
    if (first == last)
        return;
    if (last - first == Size()) {
        Clear(); // without copying rows that a copy of the store still shares
        return;
    }
    Data& data = Own();
    for (int r = first; r < last; ++r)
        data.unused += RowBytes(RowAt(r));
    data.rows.erase(data.rows.begin() + first, data.rows.begin() + last);
    if (!data.itemData.empty())
        data.itemData.erase(data.itemData.begin() + first, data.itemData.begin() + last);
    ReclaimIfWasteful();
}

void RowStore::Clear() {
    m_data.reset();
}

void RowStore::Reserve(int rows, std::size_t textBytes) {
    Data& data = Own();
    data.rows.reserve(static_cast<std::size_t>(std::max(rows, 0)));
    data.text.reserve(textBytes);
}

void RowStore::Permute(int first, const std::vector<int>& order) {
    if (order.empty())
        return;
    Data& data = Own();
    const auto base = static_cast<std::size_t>(first);
    PermuteInPlace(data.rows, base, order);
    if (!data.itemData.empty())
        PermuteInPlace(data.itemData, base, order);
}

RowStore::Row RowStore::CopiedRow(const RowStore& from, int row) {
    Row copied = from.RowAt(row); // whatever a row holds besides its texts comes along
    if (copied.Offset() == kNoTexts) {
        Own().unformattedRows = true;
        return copied;
    }
    CellTexts cells;
    for (int c = 0; c < kMaxColumns; ++c)
        cells[static_cast<std::size_t>(c)] = from.Cell(row, c);
    copied.SetOffset(Store(cells).Offset());
    return copied;
}

RowStore RowStore::Copy(int first, int count) const {
    RowStore copy;
    first = std::clamp(first, 0, Size());
    const int last = std::clamp(first + std::max(count, 0), first, Size());
    if (first == last)
        return copy;
    std::vector<std::int64_t> itemData;
    for (int r = first; r < last; ++r) {
        const Row row = copy.CopiedRow(*this, r);
        copy.m_data->rows.push_back(row);
        itemData.push_back(ItemData(r));
    }
    if (!m_data->itemData.empty())
        copy.m_data->itemData = std::move(itemData);
    return copy;
}

void RowStore::Put(int at, const RowStore& rows) {
    if (rows.Empty())
        return;
    std::vector<Row> added;
    added.reserve(static_cast<std::size_t>(rows.Size()));
    for (int r = 0; r < rows.Size(); ++r)
        added.push_back(CopiedRow(rows, r));
    Data& data = Own();
    const auto place = static_cast<std::size_t>(std::clamp(at, 0, Size()));
    if (!data.itemData.empty() || !rows.m_data->itemData.empty()) {
        data.itemData.resize(data.rows.size());
        std::vector<std::int64_t> values;
        values.reserve(static_cast<std::size_t>(rows.Size()));
        for (int r = 0; r < rows.Size(); ++r)
            values.push_back(rows.ItemData(r));
        data.itemData.insert(data.itemData.begin() + static_cast<std::ptrdiff_t>(place),
                             values.begin(), values.end());
    }
    data.rows.insert(data.rows.begin() + static_cast<std::ptrdiff_t>(place), added.begin(),
                     added.end());
}

void RowStore::AdoptEncoded(Text text, std::size_t first, int rowCount) {
    auto data = std::make_shared<Data>();
    data->rows.reserve(static_cast<std::size_t>(std::max(rowCount, 0)));
    std::size_t offset = first;
    for (int r = 0; r < rowCount; ++r) {
        Row row;
        row.SetOffset(offset);
        row.kind = RowKind::Entry;
        offset += EncodedRowBytes(text.data() + offset);
        data->rows.push_back(row);
    }
    data->unused = text.size() - (offset - first);
    data->text = std::move(text);
    m_data = std::move(data);
}

void RowStore::ReclaimIfWasteful() {
    constexpr std::size_t kMinimumWaste = std::size_t{1} << 20;
    Data& data = *m_data;
    if (data.unused < kMinimumWaste || data.unused * 2 < data.text.size())
        return;
    Text text;
    text.reserve(data.text.size() - data.unused);
    for (Row& r : data.rows) {
        if (r.Offset() >= kFormattedMark)
            continue;
        const std::size_t offset = text.size();
        const auto begin = data.text.begin() + static_cast<std::ptrdiff_t>(r.Offset());
        text.insert(text.end(), begin, begin + static_cast<std::ptrdiff_t>(RowBytes(r)));
        r.SetOffset(offset);
    }
    data.text = std::move(text);
    data.unused = 0;
}

bool operator==(const RowStore& a, const RowStore& b) {
    if (a.Size() != b.Size())
        return false;
    for (int r = 0; r < a.Size(); ++r) {
        if (a.ItemData(r) != b.ItemData(r) || a.Entry(r) != b.Entry(r) || a.Kind(r) != b.Kind(r) ||
            a.Gone(r) != b.Gone(r))
            return false;
        for (int c = 0; c < kMaxColumns; ++c)
            if (a.Cell(r, c) != b.Cell(r, c))
                return false;
    }
    return true;
}

} // namespace dirscribe
