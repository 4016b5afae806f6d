// SPDX-License-Identifier: MIT
#include "core/table/TablePopulation.h"

#include "core/format/AttributeLetters.h"
#include "core/format/DateFormat.h"
#include "core/format/SizeFormat.h"
#include "core/listing/FolderScanner.h"
#include "core/format/Utf8.h"

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <string_view>

namespace dirscribe {

namespace {

// The cell texts of one entry.
class EntryCells {
public:
    EntryCells(const ListingEntry& entry, bool bracketed, const ListingOptions& options,
               const std::vector<TableColumn>& columns) {
        m_texts[0] = ShownName(entry);
        if (bracketed)
            m_texts[0] = "[" + m_texts[0] + "]";
        if (options.allInUpperCase)
            m_texts[0] = Utf8Upper(m_texts[0]);
        m_cells[0] = m_texts[0];
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
    std::array<std::string, kMaxColumns> m_texts;
    CellTexts m_cells;
};

// One row per entry, each linked to its entry.
void FillRows(ListingTable& table, const EntryList& entries, std::int32_t headFolderCount,
              const ListingOptions& options, Progress& progress) {
    table.ReserveRows(static_cast<int>(entries.Size()));
    const auto head = static_cast<std::size_t>(std::max(headFolderCount, 0));
    for (std::uint32_t r = 0; r < entries.Size(); ++r) {
        progress.Step();
        table.AppendCells(EntryCells(entries.At(r), r < head, options, table.Columns()).Cells(), r);
    }
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

void PopulateTable(ListingTable& table, CDirscribeDoc& doc, const std::string& folderPath,
                   const ListingOptions& options, std::optional<RowStore>& loadedRows,
                   Progress& progress) {
    ListingTable filled;
    filled.SetColumns(ListingColumns(options));
    progress.Begin();
    progress.SetRange(static_cast<std::int64_t>(doc.entries.size()));
    try {
        if (!doc.entries.empty()) {
            auto entries = std::make_shared<EntryList>(folderPath, std::vector<ListingEntry>());
            entries->Swap(doc.entries);
            try {
                FillRows(filled, *entries, doc.headFolderCount, options, progress);
            } catch (...) {
                entries->Swap(doc.entries);
                throw;
            }
            filled.SetEntries(std::move(entries));
        } else if (loadedRows) {
            filled.AdoptRows(std::move(*loadedRows));
        }
    } catch (...) {
        progress.End();
        throw;
    }
    table = std::move(filled);
    doc.collected.clear();
    loadedRows.reset();
    progress.End();
}

} // namespace dirscribe
