// SPDX-License-Identifier: MIT
#include "core/format/Utf8.h"

#include "core/format/UnicodeCase.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace dirscribe {

namespace {

// Length of the well-formed UTF-8 sequence at text[i], or 0 when there is none.
std::size_t SequenceLength(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) {
        return static_cast<unsigned char>(text[k]);
    };
    const unsigned char lead = byte(i);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0; // no overlong forms
        if (lead == 0xED)
            high = 0x9F; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        if (lead == 0xF4)
            high = 0x8F; // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (i + length > text.size())
        return 0;
    if (byte(i + 1) < low || byte(i + 1) > high)
        return 0;
    for (std::size_t k = 2; k < length; ++k)
        if (byte(i + k) < 0x80 || byte(i + k) > 0xBF)
            return 0;
    return length;
}

// Windows-1252 0x80..0x9F; the five unassigned bytes map to the C1 controls, as Windows does.
constexpr std::array<std::uint16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendCodePoint(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::uint32_t Windows1252CodePoint(unsigned char byte) {
    return byte >= 0x80 && byte <= 0x9F ? kHighControls[byte - 0x80] : byte;
}

// The code point of the well-formed sequence of `length` bytes at text[i].
std::uint32_t DecodeAt(std::string_view text, std::size_t i, std::size_t length) {
    constexpr std::array<unsigned, 5> kLeadBits{0, 0x7F, 0x1F, 0x0F, 0x07};
    std::uint32_t cp = static_cast<unsigned char>(text[i]) & kLeadBits[length];
    for (std::size_t k = 1; k < length; ++k)
        cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    return cp;
}

void AppendWindows1252(std::string& out, unsigned char byte) {
    AppendCodePoint(out, Windows1252CodePoint(byte));
}

bool IsControl(unsigned char byte) {
    return byte < 0x20 || byte == 0x7F;
}

} // namespace

std::size_t Utf8Length(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++count) {
        const std::size_t length = SequenceLength(text, i);
        i += length == 0 ? 1 : length;
    }
    return count;
}

std::string RightAlign(std::string_view text, std::size_t width) {
    const std::size_t length = Utf8Length(text);
    std::string out;
    if (length < width)
        out.assign(width - length, ' ');
    out += text;
    return out;
}

bool IsValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = SequenceLength(text, i);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

std::string Windows1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text)
        AppendWindows1252(out, static_cast<unsigned char>(c));
    return out;
}

std::string LenientUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = SequenceLength(text, i);
        if (length != 0) {
            out.append(text.substr(i, length));
            i += length;
        } else {
            AppendWindows1252(out, static_cast<unsigned char>(text[i++]));
        }
    }
    return out;
}

std::size_t Windows1252ToUtf8Size(std::string_view text) {
    std::size_t size = 0;
    for (const char c : text) {
        const std::uint32_t cp = Windows1252CodePoint(static_cast<unsigned char>(c));
        size += cp < 0x80 ? 1 : cp < 0x800 ? 2 : 3;
    }
    return size;
}

std::string DisplayText(std::string_view text) {
    const bool plain = std::none_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 0x80 || IsControl(byte);
    });
    if (plain)
        return std::string(text);
    std::string shown = LenientUtf8(text);
    // Control characters are single bytes in UTF-8 and Windows-1252 alike.
    std::replace_if(
        shown.begin(), shown.end(), [](char c) { return IsControl(static_cast<unsigned char>(c)); },
        '?');
    return shown;
}

namespace {

// Every well-formed character mapped one for one; bytes that are not part of valid UTF-8
// stay as they are.
template <typename Map> std::string MapCharacters(std::string_view text, Map map) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = SequenceLength(text, i);
        if (length == 0) {
            out += text[i++];
            continue;
        }
        AppendCodePoint(out, map(DecodeAt(text, i, length)));
        i += length;
    }
    return out;
}

} // namespace

std::string Utf8Upper(std::string_view text) {
    return MapCharacters(text, SimpleUpperCase);
}

std::string Utf8CaseFold(std::string_view text) {
    return MapCharacters(text, SimpleCaseFold);
}

void AppendUtf8(std::string& out, char32_t codePoint) {
    AppendCodePoint(out, codePoint);
}

Utf8Character Utf8CharacterAt(std::string_view text, std::size_t at) {
    const std::size_t length = SequenceLength(text, at);
    if (length == 0)
        return {static_cast<unsigned char>(text[at]), 1, false};
    return {DecodeAt(text, at, length), length, true};
}

} // namespace dirscribe
