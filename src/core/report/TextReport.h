// SPDX-License-Identifier: MIT
// The plain-text report of a listing.
#pragma once

#include "core/listing/ListingSummary.h"
#include "core/options/ListingOptions.h"
#include "core/table/ListingTable.h"

#include <ctime>
#include <string>
#include <string_view>

namespace dirscribe {

// The whole report with "\r\n" line ends: title, summary, legend, banner, header block
// and, when writeRecords is set, one record per table row as the table shows it.
// folderPath is the path as shown; createdOn is "now" for the "Created on" line.
std::string WriteTextReport(const ListingSummary& summary, std::string_view folderPath,
                            const ListingOptions& options, const ListingTable& table,
                            bool writeRecords, std::time_t createdOn);

} // namespace dirscribe
