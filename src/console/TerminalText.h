// SPDX-License-Identifier: MIT
// Text that a terminal shows as it is, whatever the names in it hold.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace dirscribe {

// The text as written to stream: where the stream is a terminal, every control character
// (an escape, a tab, a line end inside a name) is shown as "?" and bytes that are not UTF-8
// as Windows-1252 (see DisplayText), so a file name cannot send the terminal an escape
// sequence; the "\r\n" line breaks of the system's own messages stay. A stream that is not
// a terminal gets the bytes as they are, for the program that reads them.
std::string TextFor(std::FILE* stream, std::string_view text);

// Writes TextFor(stderr, text) and a line end to standard error.
void PrintErrorLine(std::string_view text);

} // namespace dirscribe
