// SPDX-License-Identifier: MIT
// The listing as a JSON document for scripts.
#pragma once

#include "core/export/ExportSource.h"
#include "core/platform/ByteSink.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace dirscribe {

// One object, written row by row as it is made:
//   {"folder": PATH, "summary": {"bytes": N, "files": N, "folders": N},
//    "volume": {"mountPoint": PATH, "label": T, "uuid": T, "fileSystem": T,
//               "capacity": N, "free": N, "listed": TIME, "note": T},
//    "columns": [TITLES], "rows": [{"cells": [TEXTS]}, ...]}
// "volume" is null when nothing of it is known (a document written before volumes were
// recorded); "capacity" and "free" are null when unknown, "listed" too.
// A row whose entry source.entries knows also carries "bytes" (exact), "modified" (ISO 8601
// in UTC) and "path". Texts are UTF-8 (a byte that is not read as Windows-1252), one row a
// line; a "folder" or "path" that is not UTF-8 has "rawPath" beside it, its bytes in base64.
void WriteJson(const ExportSource& source, ByteSink& sink);

// The pieces other JSON writers share: a text as a JSON string (a byte that is not UTF-8
// read as Windows-1252), and "key":PATH with "rawPath" beside it when the path is not UTF-8.
void WriteJsonString(BufferedWriter& out, std::string_view text);
void WriteJsonPath(BufferedWriter& out, std::string_view key, std::string_view path);

// A file time (100 ns ticks since 1601-01-01 UTC) as ISO 8601 in UTC,
// "2002-12-18T14:05:09Z", with the fraction of a second when there is one (".25"). Times
// after the year 9999 are written as its last instant, since RFC 3339 has four digits.
std::string FileTimeIso8601(std::uint64_t fileTime);

} // namespace dirscribe
