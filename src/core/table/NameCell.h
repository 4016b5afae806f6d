// SPDX-License-Identifier: MIT
// The FileName cell of an entry row: the name as the listing shows it (display text, the
// tree's decoration, the marks), and what such a cell says read back (tree level, folder or
// file, the bare name). Both directions of one rule, so they cannot drift apart.
#pragma once

#include "core/listing/EntryStore.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace dirscribe {

// Ends the name of a folder whose total could not be computed and that is the system's.
inline constexpr std::string_view kRestrictedSuffix = " *restricted";

// Ends the FileName cell of the row an update keeps for an entry that is gone from the
// disk but whose comment must not be lost. The row's gone mark, not this text, says that
// it is gone.
inline constexpr std::string_view kGoneMark = " (gone)";

// The tree decorations: a folder Data at level 2 becomes "| | --[Data]", a file at level 1
// gets three blanks before its name.
std::string TreeFolderName(const std::string& name, int level);
std::string TreeFileName(const std::string& name, int level);

// The name of entry `index` as the listing shows it: display text (see DisplayText),
// kRestrictedSuffix where the folder is marked so, and the tree decoration of its level; a
// folder at level 0 in brackets when bracketFolder is set (a flat listing of both).
std::string ShownName(const EntryStore& entries, std::size_t index, bool bracketFolder = false);

// What a FileName cell says about its row.
struct RowName {
    // 0 in a flat listing, from 1 in a tree (the decoration's level).
    int level = 0;
    // A folder: "[name]" in a flat listing, "| -[name]" and deeper in a tree.
    bool folder = false;
    // The name without decoration or brackets; a view into the cell.
    std::string_view name;
    // The cell without the tree's decoration (and without the gone mark): brackets stay.
    std::string_view shown;
};

// Reads the decoration the table gives names: a tree folder at level L is L times "| ", L
// dashes and the name in brackets; a tree file is (L - 1) times "| " and 3L blanks before
// the name; a flat folder row is the name in brackets. Anything else is a flat file row
// named by the whole cell. The cell of a gone row is read without its kGoneMark.
RowName ReadRowName(std::string_view cell, bool gone = false);

// The same where the listing is known to be flat (every cell is a level 0 name, so a name
// that begins with blanks or bars stays whole) or a tree (as ReadRowName).
RowName ReadRowNameIn(std::string_view cell, bool gone, bool tree);

// The bare name of an entry row whose level and kind (folder or file) its entry gives: the
// decoration the table puts on such a name is taken off, nothing is guessed from the text,
// so a file named "[x]" or "   x" keeps its name. A cell without that decoration is the
// name as it stands.
RowName ReadEntryRowName(std::string_view cell, int level, bool folder, bool gone = false);

// The cell without kGoneMark when the row is gone.
std::string_view WithoutGoneMark(std::string_view cell, bool gone);

} // namespace dirscribe
