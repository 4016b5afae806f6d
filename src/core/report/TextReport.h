// SPDX-License-Identifier: MIT
// The plain-text report of a listing.
#pragma once

#include "core/listing/ListingSummary.h"
#include "core/options/ListingOptions.h"
#include "core/platform/ByteSink.h"
#include "core/table/ListingTable.h"

#include <ctime>
#include <string>
#include <string_view>

namespace dirscribe {

// The whole report with "\r\n" line ends: title, summary, legend, the `Files and Folders`
// banner (none for 2 or any other value), the header block chosen by the four column
// settings and one record per table row as the table shows it.
// Column k of a record is the table's k-th column, whatever its title; a column the table
// lacks reads as empty. Cell bytes are copied as they are; field widths count code points.
// folderPath is the path as shown; createdOn is "now" for the "Created on" line.
// `number File Lines` has no effect.
std::string WriteTextReport(const ListingSummary& summary, std::string_view folderPath,
                            const ListingOptions& options, const ListingTable& table,
                            std::time_t createdOn);
// The same report handed to sink a block at a time as it is made, so a report of millions
// of rows is never held whole. Throws what the sink throws.
void WriteTextReport(ByteSink& sink, const ListingSummary& summary, std::string_view folderPath,
                     const ListingOptions& options, const ListingTable& table,
                     std::time_t createdOn);

} // namespace dirscribe
