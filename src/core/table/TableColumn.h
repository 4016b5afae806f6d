// SPDX-License-Identifier: MIT
// A column of the listing table, as data for whatever view shows it.
#pragma once

#include "core/options/ColumnTitles.h"

#include <cstdint>
#include <string>

namespace dirscribe {

// Sizes stand right-aligned, so that their units line up.
enum class ColumnAlignment { Left, Center, Right };

// What a column holds, which decides how its cells are made from entries, sorted, searched,
// merged, printed and exported. A detail column holds texts the program reads nothing from.
enum class ColumnKind : std::uint8_t { FileName, Comments, Size, Attributes, Date, Detail };

struct TableColumn {
    ColumnKind kind = ColumnKind::Detail;
    std::string title;  // shown, printed and exported; the window stores widths under it
    int width = 0;      // pixels with the normal font
    int largeWidth = 0; // pixels with `LargeFont`
    ColumnAlignment alignment = ColumnAlignment::Left;

    friend bool operator==(const TableColumn&, const TableColumn&) = default;
};

} // namespace dirscribe
