// SPDX-License-Identifier: MIT
// A column of the listing table, as data for whatever view shows it.
#pragma once

#include "core/options/ColumnTitles.h"

#include <string>

namespace dirscribe {

// Sizes stand right-aligned, so that their units line up.
enum class ColumnAlignment { Left, Center, Right };

struct TableColumn {
    std::string title;
    int width = 0;      // pixels with the normal font
    int largeWidth = 0; // pixels with `LargeFont`
    ColumnAlignment alignment = ColumnAlignment::Left;

    friend bool operator==(const TableColumn&, const TableColumn&) = default;
};

} // namespace dirscribe
