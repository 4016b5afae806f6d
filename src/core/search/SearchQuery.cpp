// SPDX-License-Identifier: MIT
#include "core/search/SearchQuery.h"

#include "core/format/AsciiCase.h"
#include "core/format/Utf8.h"

#include <algorithm>

namespace dirscribe {

namespace {

std::optional<ShellPattern> PatternOf(std::string_view text) {
    if (text.find_first_of("*?[") == std::string_view::npos)
        return std::nullopt;
    return ShellPattern(text);
}

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace

SearchQuery::SearchQuery(std::string_view text) : m_pattern(PatternOf(text)) {
    if (!m_pattern)
        m_folded = Utf8CaseFold(text);
}

bool SearchQuery::MatchesName(std::string_view name) const {
    return m_pattern ? m_pattern->Matches(name) : Contains(name);
}

bool SearchQuery::MatchesComment(std::string_view comment) const {
    return !m_pattern && Contains(comment);
}

std::vector<std::string> SearchQuery::FoldedRuns() const {
    if (m_pattern)
        return m_pattern->FoldedRuns();
    std::vector<std::string> runs(1);
    for (std::size_t at = 0; at < m_folded.size();) {
        const Utf8Character c = Utf8CharacterAt(m_folded, at);
        if (c.valid)
            runs.back().append(m_folded, at, c.length);
        else if (!runs.back().empty())
            runs.emplace_back();
        at += c.length;
    }
    if (runs.back().empty())
        runs.pop_back();
    return runs;
}

bool SearchQuery::Contains(std::string_view text) const {
    // Most names are ASCII: compared in place, with nothing folded or allocated. A folded
    // text that is not ASCII cannot be found in them, and no byte of them equals its bytes.
    if (IsAscii(text))
        return std::search(text.begin(), text.end(), m_folded.begin(), m_folded.end(),
                           [](char a, char b) { return AsciiLower(a) == b; }) != text.end();
    return Utf8CaseFold(text).find(m_folded) != std::string::npos;
}

} // namespace dirscribe
