// SPDX-License-Identifier: MIT
// Tables written by hand in tests, each row of the kind its name says, as an old document's.
#pragma once

#include "core/table/ListingTable.h"
#include "core/table/RowKind.h"

namespace dirscribe::test {

inline void AppendInferred(ListingTable& table, const RowRecord& record) {
    table.AppendRow(record, InferredRowKind(record[0]));
}

} // namespace dirscribe::test
