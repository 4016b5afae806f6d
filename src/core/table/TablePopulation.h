// SPDX-License-Identifier: MIT
// Filling the listing table from the document or from a loaded document file.
#pragma once

#include "core/listing/CDirscribeDoc.h"
#include "core/options/ListingOptions.h"
#include "core/platform/Progress.h"
#include "core/table/ListingTable.h"
#include "core/table/RowStore.h"

#include <optional>
#include <vector>

namespace dirscribe {

// FileName, then Comments, Size, Attr. and Last Modified, each only when its setting is on,
// with their widths (normal and large font) and alignment.
std::vector<TableColumn> ListingColumns(const ListingOptions& options);

// Rebuilds the table: the columns of the settings, then one row per entry of doc.entries
// (the first headFolderCount names in brackets, sizes, attribute letters, dates in the
// chosen format) or, when entries is empty, the rows of loadedRows in their order. Empties
// doc.collected and consumes loadedRows.
void PopulateTable(ListingTable& table, CDirscribeDoc& doc, const ListingOptions& options,
                   std::optional<RowStore>& loadedRows, Progress& progress);

} // namespace dirscribe
