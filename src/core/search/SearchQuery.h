// SPDX-License-Identifier: MIT
// What a search looks for in the names and comments of listings.
#pragma once

#include "core/search/ShellPattern.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dirscribe {

// A shell pattern (see ShellPattern: "*", "?", "[...]" with ranges, classes such as
// "[[:digit:]]" and "!" or "^" to negate, "\" quoting the next character) matched against a
// whole name; or, when the text holds none of "*?[", a plain text found anywhere in a name or
// a comment. Both ignore case for every letter (Unicode simple case folding: "ÉTÉ" finds
// "été"); "?" and a bracket take one character (a UTF-8 sequence), not one byte.
class SearchQuery {
public:
    explicit SearchQuery(std::string_view text);

    [[nodiscard]] bool MatchesName(std::string_view name) const;
    // Only a plain text matches comments.
    [[nodiscard]] bool MatchesComment(std::string_view comment) const;
    // Texts, case-folded (Utf8CaseFold), that every name or comment this query matches
    // holds once case-folded: the plain text's runs of valid UTF-8, or the pattern's runs of
    // plain characters. Empty when no such text is known.
    [[nodiscard]] std::vector<std::string> FoldedRuns() const;

private:
    [[nodiscard]] bool Contains(std::string_view text) const;

    std::string m_folded; // a plain text, case-folded
    std::optional<ShellPattern> m_pattern;
};

} // namespace dirscribe
