// SPDX-License-Identifier: MIT
// The title text of a print job: the folder path on two lines and the print date.
#pragma once

#include <ctime>
#include <string>
#include <string_view>

namespace dirscribe {

struct PrintTitle {
    std::string firstLine;
    std::string secondLine;
    std::string dateLine;
    friend bool operator==(const PrintTitle&, const PrintTitle&) = default;
};

// Splits a folder path for the title box. A path longer than 25 characters (35 on the
// cut-out panels) breaks after the first "/" at or after character 21 (30 on panels),
// counting from 0; with no "/" there the first line is empty and the second holds the whole
// path. A shorter path is the first line alone. Characters are UTF-8 code points.
// The date line is a blank and `now` as "%c" writes it in local time (C locale).
PrintTitle ComposePrintTitle(std::string_view path, bool cutOut, std::time_t now);

} // namespace dirscribe
