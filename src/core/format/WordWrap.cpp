// SPDX-License-Identifier: MIT
#include "core/format/WordWrap.h"

#include "core/format/Utf8.h"

#include <algorithm>
#include <cstddef>

namespace dirscribe {

namespace {

// A text this short is measured whole first: it most often fits.
constexpr std::size_t kShortText = 1024;

// The longest start of text, cut between characters, that fits; at least one character.
// Only starts up to twice as long as that are measured, each a few times: a line costs
// about its own length, however much of the text follows it.
std::size_t FittingLength(std::string_view text, const LineFits& fits) {
    if (text.size() <= kShortText && fits(text))
        return text.size();
    std::vector<std::size_t> ends; // the end of each character, found as far as needed
    const auto end = [&](std::size_t characters) {
        while (ends.size() < characters && (ends.empty() || ends.back() < text.size()))
            ends.push_back((ends.empty() ? 0 : ends.back()) +
                           Utf8CharacterAt(text, ends.empty() ? 0 : ends.back()).length);
        return ends[std::min(characters, ends.size()) - 1];
    };
    // Widths grow with the length: double the start until it no longer fits (or is the
    // whole text), then halve the difference. low characters fit (the first in any case).
    std::size_t low = 1;
    std::size_t high = 2;
    for (;; high *= 2) {
        const std::size_t length = end(high);
        if (!fits(text.substr(0, length)))
            break;
        if (length == text.size())
            return length;
        low = high;
    }
    while (low + 1 < high) {
        const std::size_t middle = (low + high) / 2;
        if (fits(text.substr(0, end(middle))))
            low = middle;
        else
            high = middle;
    }
    return end(low);
}

} // namespace

LineBreak BreakAtLastBlank(std::string_view line) {
    const std::size_t blank = line.rfind(' ');
    if (blank == std::string_view::npos || blank == 0)
        return {line, {}};
    return {line.substr(0, blank + 1), line.substr(blank + 1)};
}

std::vector<std::string_view> WrapWords(std::string_view text, const LineFits& fits) {
    std::vector<std::string_view> lines;
    std::string_view rest = text;
    while (!rest.empty()) {
        const std::size_t length = FittingLength(rest, fits);
        if (length == rest.size())
            break;
        if (rest[length] == ' ') {
            // The line ends with a whole word; the blank after it is dropped.
            lines.push_back(rest.substr(0, length));
            rest.remove_prefix(length + 1);
        } else {
            // The line ends at its last blank, which is not printed; only a word longer than
            // the line breaks inside.
            const std::size_t blank = rest.substr(0, length).rfind(' ');
            const bool atBlank = blank != std::string_view::npos && blank > 0;
            lines.push_back(rest.substr(0, atBlank ? blank : length));
            rest.remove_prefix(atBlank ? blank + 1 : length);
        }
        if (rest.empty())
            return lines;
    }
    lines.push_back(rest);
    return lines;
}

} // namespace dirscribe
