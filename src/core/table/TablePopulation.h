// SPDX-License-Identifier: MIT
// Filling the listing table from the document or from a loaded document file.
#pragma once

#include "core/listing/CDirscribeDoc.h"
#include "core/options/ListingOptions.h"
#include "core/platform/Progress.h"
#include "core/table/ListingTable.h"
#include "core/table/RowStore.h"

#include <optional>
#include <string>
#include <vector>

namespace dirscribe {

// The column of this kind as a listing shows it: its title, widths (normal and large font)
// and alignment.
TableColumn ListingColumn(ColumnKind kind);

// FileName, then Comments, Size, Attr. and Last Modified, each only when its setting is on.
std::vector<TableColumn> ListingColumns(const ListingOptions& options);

// How rows made from entries of a listing of this shape show them under these settings.
EntryRowStyle RowStyleFor(const ListingOptions& options, const ListingShape& shape);

// Rebuilds the table: the columns of the settings, then one row per row of the document
// (see CDirscribeDoc::order), each made from its entry (names as ShownName gives them, the
// folders of a flat listing of both in brackets; sizes, attribute letters, dates in the chosen
// format; the texts are made when read), the entries moving into the table with the path of the
// folder they were read from; or, when entries is empty, the rows of loadedRows in their
// order. Empties doc.entries and doc.order and consumes loadedRows. The new table is
// built whole before it replaces the old one: when memory runs out (std::bad_alloc) the table, the
// document and loadedRows are as they were.
void PopulateTable(ListingTable& table, CDirscribeDoc& doc, const std::string& folderPath,
                   const ListingOptions& options, std::optional<RowStore>& loadedRows,
                   Progress& progress);

} // namespace dirscribe
