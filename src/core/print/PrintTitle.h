// SPDX-License-Identifier: MIT
// The title text of a print job: the folder path on two lines and the print date.
#pragma once

#include "core/format/WordWrap.h"

#include <ctime>
#include <string>
#include <string_view>
#include <vector>

namespace dirscribe {

struct PrintTitle {
    std::string firstLine;
    std::string secondLine;
    std::string dateLine;
    // The lines after the second of a path that takes more than two.
    std::vector<std::string> moreLines = {};
    friend bool operator==(const PrintTitle&, const PrintTitle&) = default;
};

// Splits a folder path for the title box. A path longer than 25 characters (35 on the
// cut-out panels) breaks after the first "/" at or after character 21 (30 on panels),
// counting from 0; with no "/" there the first line is empty and the second holds the whole
// path. A shorter path is the first line alone. Characters are UTF-8 code points.
// With `upper` every letter of the path is upper-cased (the simple Unicode mapping). Given
// `fits`, a path whose lines would not fit breaks instead after the last "/" that lets each
// line fit, on as many lines as it takes; a name is cut only where it alone is longer than a
// line, and nothing of the path is left out.
// The date line is a blank and `now` as "%c" writes it in local time (C locale).
PrintTitle ComposePrintTitle(std::string_view path, bool cutOut, std::time_t now,
                             bool upper = false, const LineFits& fits = {});

// The date line alone.
std::string PrintTitleDate(std::time_t now);

} // namespace dirscribe
