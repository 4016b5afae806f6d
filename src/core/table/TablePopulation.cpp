// SPDX-License-Identifier: MIT
#include "core/table/TablePopulation.h"

#include "core/format/AttributeLetters.h"
#include "core/format/DateFormat.h"
#include "core/format/SizeFormat.h"
#include "core/format/Utf8.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

namespace dirscribe {

namespace {

// The cell texts of one entry; names are shown as they are unless decorated.
class EntryCells {
public:
    EntryCells(const ListingEntry& entry, bool bracketed, const ListingOptions& options,
               const std::vector<TableColumn>& columns) {
        m_cells[0] = entry.name;
        if (bracketed || options.allInUpperCase) {
            m_name = bracketed ? "[" + entry.name + "]" : entry.name;
            if (options.allInUpperCase)
                m_name = Utf8Upper(m_name);
            m_cells[0] = m_name;
        }
        for (std::size_t c = 1; c < columns.size(); ++c) {
            const std::string& title = columns[c].title;
            if (title == kSizeTitle)
                m_texts[c] = FormatSize(entry.size, kTableSizeWidth, options.addSizeInBytes != 0);
            else if (title == kAttrTitle)
                m_texts[c] = AttributeLetters(entry.attributes);
            else if (title == kLastModifiedTitle)
                m_texts[c] = FormatDate(entry.modified, options.dateFormat);
            m_cells[c] = m_texts[c];
        }
    }
    [[nodiscard]] const CellTexts& Cells() const { return m_cells; }

private:
    std::string m_name;
    std::array<std::string, kMaxColumns> m_texts;
    CellTexts m_cells;
};

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
                   std::optional<RowStore>& loadedRows, Progress& progress) {
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
            table.AppendCells(
                EntryCells(doc.entries[r], r < head, options, table.Columns()).Cells());
        }
    } else if (loadedRows) {
        table.AdoptRows(std::move(*loadedRows));
    }
    loadedRows.reset();
    progress.End();
}

} // namespace dirscribe
