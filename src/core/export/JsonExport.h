// SPDX-License-Identifier: MIT
// The listing as a JSON document for scripts.
#pragma once

#include "core/export/ExportSource.h"
#include "core/platform/ByteSink.h"

#include <cstdint>
#include <string>

namespace dirscribe {

// One object, written row by row as it is made:
//   {"folder": PATH, "summary": {"bytes": N, "files": N, "folders": N},
//    "columns": [TITLES], "rows": [{"cells": [TEXTS]}, ...]}
// A row whose entry source.entries knows also carries "bytes" (exact), "modified" (ISO 8601
// in UTC) and "path". Texts are UTF-8 (a byte that is not read as Windows-1252), one row a
// line; a "folder" or "path" that is not UTF-8 has "rawPath" beside it, its bytes in base64.
void WriteJson(const ExportSource& source, ByteSink& sink);

// A file time (100 ns ticks since 1601-01-01 UTC) as ISO 8601 in UTC,
// "2002-12-18T14:05:09Z", with the fraction of a second when there is one (".25"). Times
// after the year 9999 are written as its last instant, since RFC 3339 has four digits.
std::string FileTimeIso8601(std::uint64_t fileTime);

} // namespace dirscribe
