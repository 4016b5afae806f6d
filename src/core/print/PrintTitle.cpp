// SPDX-License-Identifier: MIT
// The title text of a print job.
#include "core/print/PrintTitle.h"

#include "core/format/DateFormat.h"
#include "core/format/Utf8.h"

namespace dirscribe {

namespace {

// The path separator plays the part the drive paths' backslash plays in the layout.
constexpr char kSeparator = '/';

// The first and second lines as the layout has always split a path.
void SplitAsLaidOut(std::string_view path, bool cutOut, PrintTitle& title) {
    const std::size_t splitAbove = cutOut ? 35 : 25;
    const std::size_t searchFrom = cutOut ? 30 : 21;
    if (Utf8Length(path) <= splitAbove) {
        title.firstLine = path;
        return;
    }
    // Characters are counted a stretch at a time between separators; an ASCII separator
    // never falls inside a character, so the stretches add up exactly.
    std::size_t counted = 0;   // bytes already counted
    std::size_t character = 0; // characters in those bytes
    for (std::size_t i = path.find(kSeparator); i != std::string_view::npos;
         i = path.find(kSeparator, i + 1)) {
        character += Utf8Length(path.substr(counted, i - counted));
        counted = i;
        if (character >= searchFrom) {
            title.firstLine = path.substr(0, i + 1);
            title.secondLine = path.substr(i + 1);
            return;
        }
    }
    title.secondLine = path;
}

// The longest start of a text too long for its line that fits and ends after a "/";
// failing that (a name longer than the line) the longest start that fits, cut between
// characters; at least one character.
std::size_t LineLength(std::string_view text, const LineFits& fits) {
    for (std::size_t slash = text.rfind(kSeparator); slash != std::string_view::npos;
         slash = slash == 0 ? std::string_view::npos : text.rfind(kSeparator, slash - 1))
        if (fits(text.substr(0, slash + 1)))
            return slash + 1;
    std::size_t length = Utf8CharacterAt(text, 0).length;
    for (std::size_t next = length; next < text.size() && fits(text.substr(0, next));) {
        length = next;
        next += Utf8CharacterAt(text, next).length;
    }
    return length;
}

// The path on as many lines as it takes, each broken after a "/".
std::vector<std::string> BreakAtSeparators(std::string_view path, const LineFits& fits) {
    std::vector<std::string> lines;
    while (!fits(path)) {
        const std::size_t length = LineLength(path, fits);
        lines.emplace_back(path.substr(0, length));
        path.remove_prefix(length);
    }
    lines.emplace_back(path);
    return lines;
}

} // namespace

PrintTitle ComposePrintTitle(std::string_view path, bool cutOut, std::time_t now, bool upper,
                             const LineFits& fits) {
    const std::string shown = upper ? Utf8Upper(path) : std::string(path);
    PrintTitle title;
    SplitAsLaidOut(shown, cutOut, title);
    if (fits && (!fits(title.firstLine) || !fits(title.secondLine))) {
        std::vector<std::string> lines = BreakAtSeparators(shown, fits);
        title.firstLine = std::move(lines[0]);
        title.secondLine = lines.size() > 1 ? std::move(lines[1]) : std::string();
        for (std::size_t line = 2; line < lines.size(); ++line)
            title.moreLines.push_back(std::move(lines[line]));
    }
    title.dateLine = PrintTitleDate(now);
    return title;
}

std::string PrintTitleDate(std::time_t now) {
    return ' ' + FormatCreatedOn(now);
}

} // namespace dirscribe
