// SPDX-License-Identifier: MIT
// Tables written by hand in tests, each row of the kind its name says, as an old document's.
#pragma once

#include "core/docfile/DocumentFile.h"
#include "core/table/ListingTable.h"
#include "core/table/RowKind.h"
#include "core/table/TableColumn.h"
#include "core/table/TablePopulation.h"

#include <string>
#include <utility>
#include <vector>

namespace dirscribe::test {

inline void AppendInferred(ListingTable& table, const RowRecord& record) {
    table.AppendRow(record, InferredRowKind(record[0]));
}

// A document of entry rows (name, comment) that knows no entries, as a crafted one would be.
inline std::string DocumentOf(const std::vector<std::pair<std::string, std::string>>& rows) {
    ListingTable table;
    table.SetColumns({ListingColumn(ColumnKind::FileName), ListingColumn(ColumnKind::Comments)});
    for (const auto& [name, comment] : rows)
        table.AppendRow({name, comment}, RowKind::Entry);
    ListingOptions options;
    options.addComments = 1;
    options.addSize = options.addAttribute = options.addDate = 0;
    return WriteDocumentFile({}, "/d", options, table);
}

} // namespace dirscribe::test
