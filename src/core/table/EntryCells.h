// SPDX-License-Identifier: MIT
// The cell texts of rows made from entries.
#pragma once

#include "core/listing/EntryStore.h"
#include "core/table/TableColumn.h"

#include <cstdint>
#include <string>

namespace dirscribe {

// How rows made from entries show them; fixed when the rows are made, so that later
// changes of the settings leave the texts of a listing as they were.
struct EntryRowStyle {
    bool bracketFolders = false; // folders of a flat listing of both are in brackets
    bool upperCase = false;      // `All in UpperCase`
    bool sizeInBytes = false;    // `Add Size in Bytes`
    std::int32_t dateFormat = 0;

    friend bool operator==(const EntryRowStyle&, const EntryRowStyle&) = default;
};

// Appends the text of one cell of the row made from entry `index`: column 0 the name as
// ShownName gives it (a folder at level 0 in brackets when the style says so), upper-cased
// when the style says so, a Size, Attributes or Date column the entry's value in the table's
// form, any other column nothing.
void AppendEntryCell(std::string& out, const EntryStore& entries, std::uint32_t index,
                     const EntryRowStyle& style, int column, ColumnKind kind);

} // namespace dirscribe
