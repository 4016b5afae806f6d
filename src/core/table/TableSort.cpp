// SPDX-License-Identifier: MIT
// Column sorting on the table model: keys once per row, then one permutation per group.
#include "core/table/TableSort.h"

#include "core/format/AsciiCase.h"
#include "core/table/NameCell.h"
#include "core/table/NumericKeyReader.h"
#include "core/table/SortKeys.h"
#include "core/table/TableColumn.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <string_view>

namespace dirscribe {

namespace {

struct TextItem {
    std::uint64_t prefix;  // the first eight bytes, lower-cased, as one big-endian number
    std::string_view text; // points into the table, which stays untouched until the permutation
    int row;
};

// Most comparisons are decided by the first bytes; holding them in the item saves a trip
// to the row's text. Unused bytes are 0, so a shorter text compares lower, as it should;
// equal prefixes fall back to the whole texts.
std::uint64_t TextPrefix(std::string_view text) {
    std::uint64_t prefix = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        const unsigned char c = i < text.size() ? static_cast<unsigned char>(text[i]) : 0U;
        prefix = prefix << 8 | AsciiLower(c);
    }
    return prefix;
}

int CompareTextItems(const TextItem& a, const TextItem& b) {
    if (a.prefix != b.prefix)
        return a.prefix < b.prefix ? -1 : 1;
    return CompareTextKeys(a.text, b.text);
}

struct NumberItem {
    NumericKey key;
    int row;
};

// An entry row of the listed folder and the rows after it that belong to it.
struct Group {
    int first;
    int count;
};

// Whether the row starts a group: an entry of the listed folder, not one a re-read kept
// below a folder's row.
bool StartsGroup(const ListingTable& table, int row) {
    if (table.Kind(row) != RowKind::Entry)
        return false;
    const std::uint32_t entry = table.EntryIndex(row);
    return entry == kNoEntry || table.Entries()->Entries().Level(entry) == 0;
}

bool IsFolderRow(const ListingTable& table, int row) {
    const std::uint32_t entry = table.EntryIndex(row);
    if (entry != kNoEntry)
        return table.Entries()->Entries().IsFolder(entry);
    return ReadRowNameIn(table.Cell(row, 0), table.Gone(row), false).folder;
}

// The groups of the table; `lead` gets the rows above the first one.
std::vector<Group> Groups(const ListingTable& table, int& lead) {
    std::vector<Group> groups;
    lead = 0;
    for (int row = 0; row < table.RowCount(); ++row) {
        if (StartsGroup(table, row))
            groups.push_back({row, 1});
        else if (groups.empty())
            lead = row + 1;
        else
            ++groups.back().count;
    }
    return groups;
}

// Sorts the groups [begin, end) among themselves by the key of each one's first row. The
// index breaks ties, so the unstable sort gives the stable order without the cost of a
// stable one.
void SortGroups(ListingTable& table, const std::vector<Group>& groups, std::size_t begin,
                std::size_t end, bool ascending, int column, std::int32_t dateFormat,
                std::vector<int>* moved = nullptr) {
    if (begin >= end)
        return;
    // Comments and texts of no known kind keep their order.
    const ColumnKind kind = table.KindOfColumn(column);
    if (column != 0 && (kind == ColumnKind::Comments || kind == ColumnKind::Detail))
        return;
    const auto count = static_cast<int>(end - begin);
    std::vector<int> sorted(static_cast<std::size_t>(count)); // group order, relative to begin
    if (column == 0 || kind == ColumnKind::Attributes) {
        std::string made;
        std::vector<TextItem> items;
        items.reserve(sorted.size());
        std::string scratch;
        std::vector<std::pair<std::size_t, std::size_t>> madeSpans; // item, offset in made
        for (int g = 0; g < count; ++g) {
            const std::string_view text =
                table.CellText(groups[begin + static_cast<std::size_t>(g)].first, column, scratch);
            items.push_back({TextPrefix(text), text, g});
            if (text.data() == scratch.data()) {
                madeSpans.emplace_back(items.size() - 1, made.size());
                made += text;
            }
        }
        for (const auto& [item, offset] : madeSpans)
            items[item].text = std::string_view(made).substr(offset, items[item].text.size());
        std::sort(items.begin(), items.end(), [ascending](const TextItem& a, const TextItem& b) {
            const int c = CompareTextItems(a, b);
            if (c != 0)
                return ascending ? c < 0 : c > 0;
            return a.row < b.row;
        });
        for (std::size_t i = 0; i < items.size(); ++i)
            sorted[i] = items[i].row;
    } else {
        const NumericKeyReader reader(kind, dateFormat);
        std::vector<NumberItem> items;
        items.reserve(sorted.size());
        std::string scratch;
        for (int g = 0; g < count; ++g) {
            const int row = groups[begin + static_cast<std::size_t>(g)].first;
            const NumericKey key = reader.Key(table.CellText(row, column, scratch));
            const std::int64_t data = key.Clamped();
            table.SetItemData(row, ascending ? data : -data);
            items.push_back({key, g});
        }
        std::sort(items.begin(), items.end(),
                  [ascending](const NumberItem& a, const NumberItem& b) {
                      if (a.key != b.key)
                          return ascending ? a.key < b.key : b.key < a.key;
                      return a.row < b.row;
                  });
        for (std::size_t i = 0; i < items.size(); ++i)
            sorted[i] = items[i].row;
    }
    // Each group's rows move together.
    const int first = groups[begin].first;
    std::vector<int> order;
    for (const int g : sorted) {
        const Group& group = groups[begin + static_cast<std::size_t>(g)];
        for (int r = 0; r < group.count; ++r)
            order.push_back(group.first + r - first);
    }
    table.PermuteRows(first, order);
    if (moved != nullptr) {
        const auto from = moved->begin() + first;
        const std::vector<int> before(from, from + static_cast<std::ptrdiff_t>(order.size()));
        for (std::size_t i = 0; i < order.size(); ++i)
            from[static_cast<std::ptrdiff_t>(i)] = before[static_cast<std::size_t>(order[i])];
    }
}

} // namespace

bool OnColumnClick(ListingTable& table, SortState& state, int column, const SortContext& context,
                   std::vector<int>* moved) {
    if (context.tree)
        return false;
    if (moved != nullptr) {
        moved->resize(static_cast<std::size_t>(table.RowCount()));
        std::iota(moved->begin(), moved->end(), 0);
    }
    state.sortAscending = column == state.lastSortColumn ? (state.sortAscending == 0 ? 1 : 0) : 1;
    state.lastSortColumn = column;

    // The folders at the top are one part and everything after them the other.
    int lead = 0;
    const std::vector<Group> groups = Groups(table, lead);
    std::size_t folders = 0;
    while (folders < groups.size() && IsFolderRow(table, groups[folders].first))
        ++folders;
    const bool ascending = state.sortAscending != 0;
    SortGroups(table, groups, 0, folders, ascending, column, context.dateFormat, moved);
    SortGroups(table, groups, folders, groups.size(), ascending, column, context.dateFormat, moved);
    return true;
}

} // namespace dirscribe
