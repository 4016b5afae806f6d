// SPDX-License-Identifier: MIT
// Tables written by hand in tests, each row of the kind its name says, as an old document's.
#pragma once

#include "core/docfile/DocumentFile.h"
#include "core/table/ListingTable.h"
#include "core/table/RowKind.h"
#include "core/table/TableColumn.h"
#include "core/table/TablePopulation.h"
#include "core/table/TableSort.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace dirscribe::test {

// Sorts a flat table by column as the clicks on its header do: one for ascending, two for
// descending.
inline void SortBy(ListingTable& table, bool ascending, int column, std::int32_t dateFormat) {
    SortState state{ascending ? -2 : column, 1};
    OnColumnClick(table, state, column, {false, dateFormat});
}

inline void AppendInferred(ListingTable& table, const RowRecord& record) {
    table.InsertRow(table.RowCount(), record, InferredRowKind(record[0]));
}

// A document of entry rows (name, comment) that knows no entries, as a crafted one would be.
inline std::string DocumentOf(const std::vector<std::pair<std::string, std::string>>& rows) {
    ListingTable table;
    table.SetColumns({ListingColumn(ColumnKind::FileName), ListingColumn(ColumnKind::Comments)});
    for (const auto& [name, comment] : rows)
        table.InsertRow(table.RowCount(), {name, comment}, RowKind::Entry);
    ListingOptions options;
    options.addComments = 1;
    options.addSize = options.addAttribute = options.addDate = 0;
    return WriteDocumentFile({}, "/d", options, table);
}

} // namespace dirscribe::test
