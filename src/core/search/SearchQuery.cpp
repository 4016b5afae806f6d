// SPDX-License-Identifier: MIT
#include "core/search/SearchQuery.h"

#include "core/format/AsciiCase.h"

#include <algorithm>
#include <cstdint>

namespace dirscribe {

namespace {

// The length of the UTF-8 sequence starting at text[at]; a stray byte counts as one.
std::size_t SequenceLength(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    std::size_t n = 1;
    while (n < length && at + n < text.size() &&
           (static_cast<unsigned char>(text[at + n]) & 0xC0) == 0x80)
        ++n;
    return n;
}

// The character at text[at] as a number that orders like its code point, A-Z lowered.
std::uint32_t CharacterAt(std::string_view text, std::size_t at, std::size_t length) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < length; ++i)
        value = value << 8 | static_cast<unsigned char>(AsciiLower(text[at + i]));
    return value;
}

// Matches the bracket expression starting after "[" at pattern[p] against character c;
// sets p past the closing "]". A "[" without its "]" is taken as a plain "[".
bool MatchBracket(std::string_view pattern, std::size_t& p, std::uint32_t c, bool& wellFormed) {
    std::size_t at = p;
    const bool negate = at < pattern.size() && (pattern[at] == '!' || pattern[at] == '^');
    at += negate ? 1 : 0;
    bool found = false;
    for (bool first = true; at < pattern.size() && (first || pattern[at] != ']'); first = false) {
        std::size_t length = SequenceLength(pattern, at);
        const std::uint32_t low = CharacterAt(pattern, at, length);
        at += length;
        std::uint32_t high = low;
        if (at + 1 < pattern.size() && pattern[at] == '-' && pattern[at + 1] != ']') {
            length = SequenceLength(pattern, at + 1);
            high = CharacterAt(pattern, at + 1, length);
            at += 1 + length;
        }
        found = found || (c >= low && c <= high);
    }
    wellFormed = at < pattern.size();
    if (wellFormed)
        p = at + 1;
    return found != negate;
}

// Shell matching with one remembered "*" to go back to, which is enough for any pattern.
bool Glob(std::string_view pattern, std::string_view name) {
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starP = std::string_view::npos;
    std::size_t starN = 0;
    while (n < name.size()) {
        const std::size_t length = SequenceLength(name, n);
        bool step = false;
        if (p < pattern.size() && pattern[p] == '*') {
            starP = ++p;
            starN = n;
            continue;
        }
        if (p < pattern.size() && pattern[p] == '?') {
            step = true;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '[') {
            std::size_t after = p + 1;
            bool wellFormed = false;
            const bool inSet =
                MatchBracket(pattern, after, CharacterAt(name, n, length), wellFormed);
            if (wellFormed) {
                step = inSet;
                p = step ? after : p;
            } else {
                step = AsciiLower(name[n]) == '[';
                p += step ? 1 : 0;
            }
        } else if (p < pattern.size()) {
            const std::size_t literal = pattern[p] == '\\' && p + 1 < pattern.size() ? p + 1 : p;
            const std::size_t literalLength = SequenceLength(pattern, literal);
            step = literalLength == length &&
                   CharacterAt(pattern, literal, length) == CharacterAt(name, n, length);
            p = step ? literal + literalLength : p;
        }
        if (step) {
            n += length;
        } else if (starP != std::string_view::npos) {
            p = starP;
            n = starN += SequenceLength(name, starN);
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

} // namespace

SearchQuery::SearchQuery(std::string_view text)
    : m_text(AsciiLower(text)), m_pattern(text.find_first_of("*?[") != std::string_view::npos) {}

bool SearchQuery::MatchesName(std::string_view name) const {
    return m_pattern ? Glob(m_text, name) : Contains(name);
}

bool SearchQuery::MatchesComment(std::string_view comment) const {
    return !m_pattern && Contains(comment);
}

bool SearchQuery::Contains(std::string_view text) const {
    return std::search(text.begin(), text.end(), m_text.begin(), m_text.end(),
                       [](char a, char b) { return AsciiLower(a) == b; }) != text.end();
}

} // namespace dirscribe
