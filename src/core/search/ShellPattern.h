// SPDX-License-Identifier: MIT
// A shell pattern matched against whole names, ignoring case.
#pragma once

#include "core/search/CharacterClass.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dirscribe {

// "*" matches any run of characters, "?" one character, "[...]" one character of a set:
// characters, ranges ("a-z"), classes ("[:alpha:]", see CharacterClass), negated by a
// leading "!" or "^"; a "]" first in the set is one of its characters, and a "[" without
// its "]" is a plain "[". "\" makes the next character plain. Characters compare by
// Unicode simple case folding ("É" matches "é"); a character is a UTF-8 sequence, and a
// byte that is not part of valid UTF-8 is a character of its own that only the same byte
// (or "?", or "*") matches. The pattern is parsed once; a match takes at most the name's
// length times the pattern's, whatever the pattern ("*a*a*a*b" on a long name too).
class ShellPattern {
public:
    explicit ShellPattern(std::string_view pattern);

    [[nodiscard]] bool Matches(std::string_view name) const;
    // The runs of plain characters between the pattern's wildcards and sets, case-folded,
    // in UTF-8 (a byte outside valid UTF-8 ends a run): a name the pattern matches holds
    // each of them, once case-folded (Utf8CaseFold).
    [[nodiscard]] std::vector<std::string> FoldedRuns() const;

private:
    // A character as patterns compare it: its code point, or for a byte outside valid
    // UTF-8 a value above every code point.
    using Key = std::uint32_t;

    struct SetItem {
        Key low = 0;
        Key high = 0; // low > high: matches nothing (an unknown class)
        std::optional<CharacterClass> cls;
    };
    struct CharacterSet {
        bool negated = false;
        std::vector<SetItem> items;
    };
    enum class TokenKind : std::uint8_t { Character, AnyCharacter, AnyRun, Set };
    struct Token {
        TokenKind kind = TokenKind::Character;
        Key folded = 0;        // Character: the folded key
        std::uint32_t set = 0; // Set: its index in m_sets
    };

    // Parses the bracket expression whose "[" is at pattern[open]; returns the index past
    // its "]", or none (and adds nothing) when it has no "]".
    std::optional<std::size_t> ParseSet(std::string_view pattern, std::size_t open);
    [[nodiscard]] static bool InSet(const CharacterSet& set, Key key, bool valid);

    std::vector<Token> m_tokens;
    std::vector<CharacterSet> m_sets;
};

} // namespace dirscribe
