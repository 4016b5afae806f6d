// SPDX-License-Identifier: MIT
// The listing as comma-separated values for a spreadsheet.
#pragma once

#include "core/platform/ByteSink.h"
#include "core/table/ListingTable.h"

namespace dirscribe {

// RFC 4180 in UTF-8: a header record of the column titles, then one record per table row
// (comment and details rows too) of the exported cell texts; records end in "\r\n", and a
// field holding a comma, a double quote, a carriage return or a line feed is quoted. A cell
// that begins with "=", "+", "-", "@", a tab or a carriage return gets a leading "'", so a
// spreadsheet shows it as text instead of running it as a formula.
void WriteCsv(const ListingTable& table, ByteSink& sink);

} // namespace dirscribe
