// SPDX-License-Identifier: MIT
// What the FileName cell of a row says about the row: its tree level, folder or file, the
// bare name, and whether it continues the row above.
#pragma once

#include <string_view>

namespace dirscribe {

// Marks the row an update keeps for an entry that is gone from the disk but whose comment
// must not be lost; it ends the FileName cell.
inline constexpr std::string_view kGoneMark = " (gone)";

struct RowName {
    // 0 in a flat listing, from 1 in a tree (the decoration's level).
    int level = 0;
    // A folder: "[name]" in a flat listing, "| -[name]" and deeper in a tree.
    bool folder = false;
    // Ends in kGoneMark (which `name` leaves out).
    bool gone = false;
    // The name without decoration, brackets or mark; a view into the cell.
    std::string_view name;
};

// Reads the decoration the table gives names: a tree folder at level L is L times "| ", L
// dashes and the name in brackets; a tree file is (L - 1) times "| " and 3L blanks before
// the name; a flat folder row is the name in brackets. Anything else is a flat file row
// named by the whole cell.
RowName ReadRowName(std::string_view cell);

// Whether a row continues the entry above it rather than being an entry of its own: a
// comment row ("comments:"), a details row (a version string "  ***..." or a media tag
// "**..."), or a row with no name (inserted by the user).
bool IsContinuationRow(std::string_view cell);

} // namespace dirscribe
