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

// A field of a line that other programs read line by line (a match of `search`): DisplayText,
// and "?" too for every character that a reader may take for the end of a line or that
// turns the text around: the C1 controls U+0080 to U+009F, U+2028 and U+2029, and the
// bidirectional embeddings, overrides and isolates (U+202A to U+202E, U+2066 to U+2069).
std::string OneLineText(std::string_view text);

// An output written to a terminal in blocks as it is made (a report or a CSV file of a
// document, whose cells hold whatever the document's bytes say): every control character
// shows as "?" (below 0x20 except the tab and the line ends "\n" and "\r\n" the outputs are
// laid out with, 0x7F, and the C1 controls U+0080 to U+009F, which terminals may obey as
// escapes too), and so does every byte that is not part of UTF-8. A line end or a character
// cut between two blocks is held for the next.
class TerminalFilter {
public:
    // The text of the next block as the terminal is to get it.
    std::string Pass(std::string_view block);
    // What was held back at the end of the output.
    std::string Finish();

private:
    std::string m_held;
};

} // namespace dirscribe
