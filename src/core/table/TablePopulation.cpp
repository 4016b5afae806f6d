// SPDX-License-Identifier: MIT
#include "core/table/TablePopulation.h"

#include "core/format/AttributeLetters.h"
#include "core/format/DateFormat.h"
#include "core/format/SizeFormat.h"

#include <algorithm>
#include <string>

namespace dirscribe {

namespace {

std::string FileNameText(const ListingEntry& entry, bool bracketed, bool upperCase) {
    std::string text = bracketed ? "[" + entry.name + "]" : entry.name;
    if (upperCase)
        std::transform(text.begin(), text.end(), text.begin(), [](char c) {
            return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        });
    return text;
}

RowRecord EntryRow(const ListingEntry& entry, bool bracketed, const ListingOptions& options,
                   const std::vector<TableColumn>& columns) {
    RowRecord row;
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const std::string& title = columns[c].title;
        if (c == 0)
            row[c] = FileNameText(entry, bracketed, options.allInUpperCase != 0);
        else if (title == kSizeTitle)
            row[c] = FormatSize(entry.size, kTableSizeWidth, options.addSizeInBytes != 0);
        else if (title == kAttrTitle)
            row[c] = AttributeLetters(entry.attributes);
        else if (title == kLastModifiedTitle)
            row[c] = FormatDate(entry.modified, options.dateFormat);
    }
    return row;
}

} // namespace

std::vector<TableColumn> ListingColumns(const ListingOptions& options) {
    std::vector<TableColumn> columns = {{kFileNameTitle, 160, 230, ColumnAlignment::Left}};
    if (options.addComments)
        columns.push_back({kCommentsTitle, 200, 250, ColumnAlignment::Left});
    if (options.addSize)
        columns.push_back({kSizeTitle, 120, 180, ColumnAlignment::Left});
    if (options.addAttribute)
        columns.push_back({kAttrTitle, 50, 70, ColumnAlignment::Center});
    if (options.addDate)
        columns.push_back({kLastModifiedTitle, 130, 170, ColumnAlignment::Left});
    return columns;
}

void PopulateTable(ListingTable& table, CDirscribeDoc& doc, const ListingOptions& options,
                   std::optional<std::vector<RowRecord>>& loadedRows, Progress& progress) {
    table.ClearRows();
    table.SetColumns(ListingColumns(options));
    doc.collected.clear();

    progress.Begin();
    progress.SetRange(static_cast<std::int64_t>(doc.entries.size()));
    if (!doc.entries.empty()) {
        table.ReserveRows(static_cast<int>(doc.entries.size()));
        const auto head = static_cast<std::size_t>(std::max(doc.headFolderCount, 0));
        for (std::size_t r = 0; r < doc.entries.size(); ++r) {
            progress.Step();
            table.AppendRow(EntryRow(doc.entries[r], r < head, options, table.Columns()));
        }
    } else if (loadedRows) {
        table.ReserveRows(static_cast<int>(loadedRows->size()));
        for (const RowRecord& row : *loadedRows)
            table.AppendRow(row);
    }
    loadedRows.reset();
    progress.End();
}

} // namespace dirscribe
