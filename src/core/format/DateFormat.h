// SPDX-License-Identifier: MIT
// The date texts of the Last Modified column and of the report's creation line.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

namespace dirscribe {

inline constexpr int kDateFormatCount = 9;

// The sample text the options list shows for each `Date Format` value ("Regional Setting",
// "12/18/2002", ...); an out-of-range index gives the last one.
const char* DateFormatSample(std::int32_t dateFormat);

// A file time (100 ns ticks since 1601, UTC) as local time (the TZ rules in force on that
// date) in the given `Date Format`; the part below one second is dropped. 0 is "%x %X" of
// the LC_TIME locale the environment names (the C locale when it is missing; looked up
// once per process), 1..8 the fixed formats with English month names and one leading
// blank, and any other value formats like 8. Empty when the time cannot be converted.
std::string FormatDate(std::uint64_t fileTime, std::int32_t dateFormat);

// A file time as local time "2002-12-18 14:05:09", for lines scripts read as well as
// people; empty when the time cannot be converted.
std::string FormatIsoLocal(std::uint64_t fileTime);

// "%c" of a moment in local time, in the C locale: the report's "Created on" text.
std::string FormatCreatedOn(std::time_t moment);

} // namespace dirscribe
