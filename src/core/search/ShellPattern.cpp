// SPDX-License-Identifier: MIT
#include "core/search/ShellPattern.h"

#include "core/format/AsciiCase.h"
#include "core/format/UnicodeCase.h"
#include "core/format/Utf8.h"

#include <cstddef>

namespace dirscribe {

namespace {

// Above U+10FFFF, so a stray byte never equals a character.
constexpr std::uint32_t kStrayByte = 0x110000;

std::uint32_t KeyOf(const Utf8Character& c) {
    return c.valid ? c.codePoint : kStrayByte + c.codePoint;
}

std::uint32_t Folded(std::uint32_t key) {
    if (key < 0x80)
        return AsciiLower(key);
    return key < kStrayByte ? SimpleCaseFold(key) : key;
}

// A class name as POSIX writes them: small letters only.
bool IsClassName(std::string_view name) {
    for (const char c : name)
        if (c < 'a' || c > 'z')
            return false;
    return !name.empty();
}

} // namespace

ShellPattern::ShellPattern(std::string_view pattern) {
    for (std::size_t p = 0; p < pattern.size();) {
        const char c = pattern[p];
        if (c == '*') {
            // A run of stars is one star.
            if (m_tokens.empty() || m_tokens.back().kind != TokenKind::AnyRun)
                m_tokens.push_back({TokenKind::AnyRun});
            ++p;
            continue;
        }
        if (c == '?') {
            m_tokens.push_back({TokenKind::AnyCharacter});
            ++p;
            continue;
        }
        if (c == '[') {
            if (const std::optional<std::size_t> after = ParseSet(pattern, p)) {
                m_tokens.push_back(
                    {TokenKind::Set, 0, static_cast<std::uint32_t>(m_sets.size() - 1)});
                p = *after;
                continue;
            }
        }
        const std::size_t literal = c == '\\' && p + 1 < pattern.size() ? p + 1 : p;
        const Utf8Character character = Utf8CharacterAt(pattern, literal);
        m_tokens.push_back({TokenKind::Character, Folded(KeyOf(character))});
        p = literal + character.length;
    }
}

std::optional<std::size_t> ShellPattern::ParseSet(std::string_view pattern, std::size_t open) {
    CharacterSet set;
    std::size_t at = open + 1;
    set.negated = at < pattern.size() && (pattern[at] == '!' || pattern[at] == '^');
    at += set.negated ? 1 : 0;
    for (bool first = true; at < pattern.size() && (first || pattern[at] != ']'); first = false) {
        if (pattern.substr(at, 2) == "[:") {
            const std::size_t close = pattern.find(":]", at + 2);
            const std::string_view name = close == std::string_view::npos
                                              ? std::string_view()
                                              : pattern.substr(at + 2, close - at - 2);
            if (IsClassName(name)) {
                const std::optional<CharacterClass> cls = CharacterClassNamed(name);
                set.items.push_back(cls ? SetItem{0, 0, cls} : SetItem{1, 0, std::nullopt});
                at = close + 2;
                continue;
            }
        }
        const Utf8Character low = Utf8CharacterAt(pattern, at);
        at += low.length;
        SetItem item{KeyOf(low), KeyOf(low), std::nullopt};
        if (at + 1 < pattern.size() && pattern[at] == '-' && pattern[at + 1] != ']') {
            const Utf8Character high = Utf8CharacterAt(pattern, at + 1);
            item.high = KeyOf(high);
            at += 1 + high.length;
        }
        set.items.push_back(item);
    }
    if (at >= pattern.size())
        return std::nullopt;
    m_sets.push_back(std::move(set));
    return at + 1;
}

bool ShellPattern::InSet(const CharacterSet& set, Key key, bool valid) {
    const Key folded = Folded(key);
    bool found = false;
    for (const SetItem& item : set.items) {
        if (item.cls)
            found = valid && InCharacterClass(*item.cls, key);
        else
            found = (key >= item.low && key <= item.high) ||
                    (folded >= Folded(item.low) && folded <= Folded(item.high));
        if (found)
            break;
    }
    return found != set.negated;
}

std::vector<std::string> ShellPattern::FoldedRuns() const {
    std::vector<std::string> runs(1);
    for (const Token& token : m_tokens) {
        if (token.kind == TokenKind::Character && token.folded < kStrayByte)
            AppendUtf8(runs.back(), token.folded);
        else if (!runs.back().empty())
            runs.emplace_back();
    }
    if (runs.back().empty())
        runs.pop_back();
    return runs;
}

bool ShellPattern::Matches(std::string_view name) const {
    // One remembered "*" to go back to is enough: a later star can only take over what an
    // earlier one would have matched.
    const std::size_t tokens = m_tokens.size();
    std::size_t p = 0;
    std::size_t n = 0;
    std::optional<std::size_t> starP;
    std::size_t starN = 0;
    while (n < name.size()) {
        if (p < tokens && m_tokens[p].kind == TokenKind::AnyRun) {
            starP = ++p;
            starN = n;
            continue;
        }
        const Utf8Character c = Utf8CharacterAt(name, n);
        bool step = false;
        if (p < tokens) {
            const Token& token = m_tokens[p];
            const Key key = KeyOf(c);
            switch (token.kind) {
            case TokenKind::Character:
                step = Folded(key) == token.folded;
                break;
            case TokenKind::AnyCharacter:
                step = true;
                break;
            case TokenKind::Set:
                step = InSet(m_sets[token.set], key, c.valid);
                break;
            case TokenKind::AnyRun:
                break;
            }
        }
        if (step) {
            ++p;
            n += c.length;
        } else if (starP) {
            p = *starP;
            starN += Utf8CharacterAt(name, starN).length;
            n = starN;
        } else {
            return false;
        }
    }
    while (p < tokens && m_tokens[p].kind == TokenKind::AnyRun)
        ++p;
    return p == tokens;
}

} // namespace dirscribe
