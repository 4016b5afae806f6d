// SPDX-License-Identifier: MIT
// The keys the listing table is sorted by, read back from its cell texts.
#pragma once

#include "core/table/NumericKey.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace dirscribe {

// Case-insensitive order of two cell texts: bytes compared as unsigned values after ASCII
// A-Z are mapped to a-z, so blanks, digits and "[" come before letters and a text comes
// before its own continuations. Negative, zero or positive, like strcmp.
int CompareTextKeys(std::string_view a, std::string_view b);

// True when the text holds one of "A", "D", "F", "J", "M", "N", "O", "S" or "/": the
// characters of the date texts, which make a cell outside the Size column a date.
bool HasDateCharacters(std::string_view text);

// The key of a size text: commas dropped, the decimal number at its start (white space
// before it skipped; a sign, digits, an optional point and more digits; no exponent; no
// number gives 0), times the unit its last two characters name ("Kb" 10^3, "Mb" 10^6,
// "Gb" 10^9, "Tb" 10^12, "Pb" 10^15, anything else 1), truncated toward zero. Exact for
// every text; a number of more than 36 digits reads as the largest 36-digit number.
NumericKey SizeKey(std::string_view text);

// True for the `Date Format` values whose dates put the day before the month: 2, 3, 5, 8
// and every value outside 0..8 (those are written like 8).
bool IsDayFirstFormat(std::int32_t dateFormat);

// The key of a moment, numerically year - 1970, then month, day, hour and minute as two
// decimal places each, then the tens of the seconds: later moments get larger keys, and
// moments within the same ten seconds get the same key. The other fields must lie in
// 0..99 and the year within +-999999.
NumericKey DateKey(int year, int month, int day, int hour, int minute, int second);

// The date key of a text written in one of the fixed formats (`Date Format` 1 to 8, other
// values but 0 read like 8), or nothing when the text does not follow that layout exactly
// (blanks before and after it aside) or a field is out of its calendar range. Month names
// are the English "Jan" to "Dec"; the year may have 1 to 6 digits.
std::optional<NumericKey> FixedFormatDateKey(std::string_view text, std::int32_t dateFormat);

// The key of a date-like text that does not follow its format, made from its digits:
// ",", "/", ":" and blanks removed, the first month name turned into its number, the first
// two digit pairs swapped for day-first formats, the four characters after them taken as
// the year and replaced by year - 1970 in front, and the number that then starts the text
// divided by ten, truncated. For a well-formed date of 1970 to 2069 this equals DateKey;
// for anything else it is deterministic and never reads outside the text.
NumericKey DateDigitsKey(std::string_view text, std::int32_t dateFormat);

} // namespace dirscribe
