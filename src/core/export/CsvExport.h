// SPDX-License-Identifier: MIT
// The listing as comma-separated values for a spreadsheet.
#pragma once

#include "core/export/ExportSource.h"
#include "core/platform/ByteSink.h"

#include <string_view>

namespace dirscribe {

// The column the CSV adds after Size: the exact byte count, which a spreadsheet can add up.
inline constexpr std::string_view kCsvBytesTitle = "Bytes";

// RFC 4180 in UTF-8: a header record of the column titles, then one record per table row
// (comment and details rows too) of the exported cell texts; records end in "\r\n", and a
// field holding a comma, a double quote, a carriage return or a line feed is quoted. A cell
// that begins with "=", "+", "-", "@", a tab or a carriage return gets a leading "'", so a
// spreadsheet shows it as text instead of running it as a formula. When the table has a Size
// column, a "Bytes" column follows it: the exact size of the entry a row stands for (from
// source.entries), empty for the other rows.
void WriteCsv(const ExportSource& source, ByteSink& sink);

} // namespace dirscribe
