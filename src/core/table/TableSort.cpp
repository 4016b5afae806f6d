// SPDX-License-Identifier: MIT
// Column sorting on the table model: keys once per row, then one permutation per group.
#include "core/table/TableSort.h"

#include "core/format/AsciiCase.h"
#include "core/table/NumericKeyReader.h"
#include "core/table/SortKeys.h"
#include "core/table/TableColumn.h"

#include <algorithm>
#include <cstdint>
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

// The texts of a column for sorting: in place where the table keeps them, else made once
// and kept in `made`, one after another, which must last as long as the items.
std::vector<TextItem> TextItems(const ListingTable& table, int first, int count, int column,
                                std::string& made) {
    std::vector<TextItem> items;
    items.reserve(static_cast<std::size_t>(count));
    std::string scratch;
    std::vector<std::pair<std::size_t, std::size_t>> madeSpans; // item, offset in made
    for (int r = 0; r < count; ++r) {
        const std::string_view text = table.CellText(first + r, column, scratch);
        items.push_back({TextPrefix(text), text, r});
        if (text.data() == scratch.data()) {
            madeSpans.emplace_back(items.size() - 1, made.size());
            made += text;
        }
    }
    for (const auto& [item, offset] : madeSpans)
        items[item].text = std::string_view(made).substr(offset, items[item].text.size());
    return items;
}

struct NumberItem {
    NumericKey key;
    int row;
};

// Sorts rows first .. first + count - 1 among themselves. The row index breaks ties, so
// the unstable sort gives the stable order without the cost of a stable one.
void SortRows(ListingTable& table, int first, int count, bool ascending, int column,
              std::int32_t dateFormat) {
    if (count <= 0)
        return;
    const std::string_view title = table.GetColumnTitle(column);
    if (column != 0 && (title.empty() || title == kCommentsTitle))
        return;

    std::vector<int> order(static_cast<std::size_t>(count));
    if (column == 0 || title == kAttrTitle) {
        std::string made;
        std::vector<TextItem> items = TextItems(table, first, count, column, made);
        std::sort(items.begin(), items.end(), [ascending](const TextItem& a, const TextItem& b) {
            const int c = CompareTextItems(a, b);
            if (c != 0)
                return ascending ? c < 0 : c > 0;
            return a.row < b.row;
        });
        for (std::size_t i = 0; i < items.size(); ++i)
            order[i] = items[i].row;
    } else {
        const NumericKeyReader reader(title, dateFormat);
        std::vector<NumberItem> items;
        items.reserve(order.size());
        std::string scratch;
        for (int r = 0; r < count; ++r) {
            const NumericKey key = reader.Key(table.CellText(first + r, column, scratch));
            const std::int64_t data = key.Clamped();
            table.SetItemData(first + r, ascending ? data : -data);
            items.push_back({key, r});
        }
        std::sort(items.begin(), items.end(),
                  [ascending](const NumberItem& a, const NumberItem& b) {
                      if (a.key != b.key)
                          return ascending ? a.key < b.key : b.key < a.key;
                      return a.row < b.row;
                  });
        for (std::size_t i = 0; i < items.size(); ++i)
            order[i] = items[i].row;
    }
    table.PermuteRows(first, order);
}

} // namespace

void SortTableByColumn(ListingTable& table, bool ascending, int column, std::int32_t dateFormat) {
    SortRows(table, 0, table.RowCount(), ascending, column, dateFormat);
}

bool OnColumnClick(ListingTable& table, SortState& state, int column, const SortContext& context) {
    if (context.lastDepth != 0)
        return false;
    state.sortAscending = column == state.lastSortColumn ? (state.sortAscending == 0 ? 1 : 0) : 1;
    state.lastSortColumn = column;
    if (context.sortEnabled == 0)
        return false;

    // The folder rows at the top are one group and everything after them the other; with
    // fewer rows than folders left, the whole table is the upper group.
    const int rows = table.RowCount();
    const int upper = std::clamp(context.headFolderCount, 0, rows);
    const bool ascending = state.sortAscending != 0;
    SortRows(table, 0, upper, ascending, column, context.dateFormat);
    SortRows(table, upper, rows - upper, ascending, column, context.dateFormat);
    return true;
}

} // namespace dirscribe
