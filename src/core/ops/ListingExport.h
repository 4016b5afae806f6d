// SPDX-License-Identifier: MIT
// Hands a listing to others: a spreadsheet, a script or a web page.
#pragma once

#include "core/ops/ListingSession.h"
#include "core/platform/AtomicFile.h"
#include "core/platform/ByteSink.h"
#include "core/platform/Notice.h"

#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace dirscribe {

enum class ExportFormat { Csv, Json, Html };

// The format a file name asks for by its extension, in any case: ".csv", ".json", ".html"
// or ".htm"; nothing for any other name.
std::optional<ExportFormat> ExportFormatFor(std::string_view fileName);

// Writes the export of the listing the session shows into sink as it is made.
void WriteExport(const ListingSession& session, ExportFormat format, std::time_t createdOn,
                 ByteSink& sink);

// Saves the export atomically: a failed save leaves the file that was there and shows why
// (false). `special` says whether a pipe or a device is written into or refused.
bool ExportListing(const ListingSession& session, ExportFormat format, const std::string& fileName,
                   Notice& notice, std::time_t createdOn,
                   SpecialFiles special = SpecialFiles::Refuse);

} // namespace dirscribe
