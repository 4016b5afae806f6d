// SPDX-License-Identifier: MIT
#include "core/table/TablePopulation.h"

#include <algorithm>
#include <memory>
#include <string>

namespace dirscribe {

namespace {

// One row per row of the document, each linked to its entry; their texts are made when read.
void FillRows(ListingTable& table, const CDirscribeDoc& doc, Progress& progress) {
    table.ReserveRows(static_cast<int>(doc.RowCount()));
    for (std::size_t r = 0; r < doc.RowCount(); ++r) {
        progress.Step();
        table.AppendEntryRow(doc.EntryOfRow(r));
    }
}

} // namespace

EntryRowStyle RowStyleFor(const ListingOptions& options, const ListingShape& shape) {
    EntryRowStyle style;
    style.bracketFolders = shape.content == ListingContent::FilesAndFolders;
    style.upperCase = options.allInUpperCase != 0;
    style.sizeInBytes = options.addSizeInBytes != 0;
    style.dateFormat = options.dateFormat;
    return style;
}

TableColumn ListingColumn(ColumnKind kind) {
    switch (kind) {
    case ColumnKind::FileName:
        return {kind, kFileNameTitle, 160, 230, ColumnAlignment::Left};
    case ColumnKind::Comments:
        return {kind, kCommentsTitle, 200, 250, ColumnAlignment::Left};
    case ColumnKind::Size:
        return {kind, kSizeTitle, 120, 180, ColumnAlignment::Right};
    case ColumnKind::Attributes:
        return {kind, kAttrTitle, 50, 70, ColumnAlignment::Center};
    case ColumnKind::Date:
        return {kind, kLastModifiedTitle, 130, 170, ColumnAlignment::Left};
    case ColumnKind::Detail:
        break;
    }
    return {kind, "", 200, 250, ColumnAlignment::Left};
}

std::vector<TableColumn> ListingColumns(const ListingOptions& options) {
    std::vector<TableColumn> columns = {ListingColumn(ColumnKind::FileName)};
    if (options.addComments)
        columns.push_back(ListingColumn(ColumnKind::Comments));
    if (options.addSize)
        columns.push_back(ListingColumn(ColumnKind::Size));
    if (options.addAttribute)
        columns.push_back(ListingColumn(ColumnKind::Attributes));
    if (options.addDate)
        columns.push_back(ListingColumn(ColumnKind::Date));
    return columns;
}

void PopulateTable(ListingTable& table, CDirscribeDoc& doc, const std::string& folderPath,
                   const ListingOptions& options, std::optional<RowStore>& loadedRows,
                   Progress& progress) {
    ListingTable filled;
    filled.SetColumns(ListingColumns(options));
    progress.Begin();
    progress.SetRange(static_cast<std::int64_t>(doc.RowCount()));
    try {
        if (!doc.entries.Empty()) {
            FillRows(filled, doc, progress);
            // The entries move only once nothing can fail any more.
            auto entries = std::make_shared<EntryList>(folderPath, EntryStore());
            entries->Swap(doc.entries);
            std::vector<std::uint32_t>().swap(doc.order);
            filled.SetEntries(std::move(entries), RowStyleFor(options, doc.shape));
        } else if (loadedRows) {
            filled.AdoptRows(std::move(*loadedRows));
        }
    } catch (...) {
        progress.End();
        throw;
    }
    table = std::move(filled);
    loadedRows.reset();
    progress.End();
}

} // namespace dirscribe
