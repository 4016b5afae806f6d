// SPDX-License-Identifier: MIT
// Field widths that count characters, so non-ASCII names line up.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace dirscribe {

// The number of code points; a byte that is not part of valid UTF-8 counts as one.
std::size_t Utf8Length(std::string_view text);

// The text with blanks before it up to width characters, like "%*s"; a longer text whole.
std::string RightAlign(std::string_view text, std::size_t width);

// True when the bytes are well-formed UTF-8.
bool IsValidUtf8(std::string_view text);

// Every byte read as a Windows-1252 character.
std::string Windows1252ToUtf8(std::string_view text);

// Bytes that form valid UTF-8 pass through; any other byte is read as Windows-1252.
std::string LenientUtf8(std::string_view text);

// The size of Windows1252ToUtf8(text), without making it.
std::size_t Windows1252ToUtf8Size(std::string_view text);

// A name from the disk as the listing shows it: LenientUtf8, with every control character
// (below 0x20, and 0x7F) shown as "?", so a record never splits and a terminal is sent no
// escape sequence.
std::string DisplayText(std::string_view text);
// Every letter in upper case by the simple one-to-one mapping (see SimpleUpperCase); bytes
// that are not part of valid UTF-8 stay as they are.
std::string Utf8Upper(std::string_view text);
// Every letter case-folded (see SimpleCaseFold), so two texts that differ only in case come
// out the same; bytes that are not part of valid UTF-8 stay as they are.
std::string Utf8CaseFold(std::string_view text);

// Appends the UTF-8 form of a code point (below 0x110000).
void AppendUtf8(std::string& out, char32_t codePoint);

// One character of a UTF-8 text.
struct Utf8Character {
    char32_t codePoint = 0; // the byte itself when not valid
    std::size_t length = 1; // in bytes
    bool valid = false;     // false for a byte that does not begin a well-formed sequence
};

// The character that begins at text[at], which must be inside the text.
Utf8Character Utf8CharacterAt(std::string_view text, std::size_t at);

} // namespace dirscribe
