// SPDX-License-Identifier: MIT
#include "core/format/WordWrap.h"

#include "core/format/Utf8.h"

#include <cstddef>

namespace dirscribe {

namespace {

// The longest start of text, cut between characters, that fits; at least one character.
std::size_t FittingLength(std::string_view text, const LineFits& fits) {
    std::vector<std::size_t> ends; // the end of each character
    for (std::size_t at = 0; at < text.size();) {
        at += Utf8CharacterAt(text, at).length;
        ends.push_back(at);
    }
    // Widths grow with the length, so the longest fitting start is found by halving.
    std::size_t low = 0; // characters known to fit (the first one is taken in any case)
    std::size_t high = ends.size();
    while (low + 1 < high) {
        const std::size_t middle = (low + high) / 2;
        if (fits(text.substr(0, ends[middle])))
            low = middle;
        else
            high = middle;
    }
    return ends[low];
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
    while (!rest.empty() && !fits(rest)) {
        const std::size_t length = FittingLength(rest, fits);
        if (length < rest.size() && rest[length] == ' ') {
            // The line ends with a whole word; the blank after it is dropped.
            lines.push_back(rest.substr(0, length));
            rest.remove_prefix(length + 1);
        } else {
            const std::string_view kept = BreakAtLastBlank(rest.substr(0, length)).kept;
            // The blank that ends a printed line is not printed.
            lines.push_back(kept.size() < length ? kept.substr(0, kept.size() - 1) : kept);
            rest.remove_prefix(kept.size());
        }
        if (rest.empty())
            return lines;
    }
    lines.push_back(rest);
    return lines;
}

} // namespace dirscribe
