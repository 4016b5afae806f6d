// SPDX-License-Identifier: MIT
// The title text of a print job.
#include "core/print/PrintTitle.h"

#include "core/format/DateFormat.h"
#include "core/format/Utf8.h"

namespace dirscribe {

namespace {

// The path separator plays the part the drive paths' backslash plays in the layout.
constexpr char kSeparator = '/';

} // namespace

PrintTitle ComposePrintTitle(std::string_view path, bool cutOut, std::time_t now) {
    const std::size_t splitAbove = cutOut ? 35 : 25;
    const std::size_t searchFrom = cutOut ? 30 : 21;
    PrintTitle title;
    if (Utf8Length(path) > splitAbove) {
        // Characters are counted a stretch at a time between separators; an ASCII
        // separator never falls inside a character, so the stretches add up exactly.
        std::size_t split = std::string_view::npos;
        std::size_t counted = 0;   // bytes already counted
        std::size_t character = 0; // characters in those bytes
        for (std::size_t i = path.find(kSeparator); i != std::string_view::npos;
             i = path.find(kSeparator, i + 1)) {
            character += Utf8Length(path.substr(counted, i - counted));
            counted = i;
            if (character >= searchFrom) {
                split = i;
                break;
            }
        }
        if (split == std::string_view::npos) {
            title.secondLine = path;
        } else {
            title.firstLine = path.substr(0, split + 1);
            title.secondLine = path.substr(split + 1);
        }
    } else {
        title.firstLine = path;
    }
    title.dateLine = FormatCreatedOn(now);
    title.dateLine.insert(title.dateLine.begin(), ' ');
    return title;
}

} // namespace dirscribe
