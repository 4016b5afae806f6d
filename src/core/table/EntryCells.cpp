// SPDX-License-Identifier: MIT
#include "core/table/EntryCells.h"

#include "core/format/AttributeLetters.h"
#include "core/format/DateFormat.h"
#include "core/format/SizeFormat.h"
#include "core/format/Utf8.h"
#include "core/table/NameCell.h"

namespace dirscribe {

void AppendEntryCell(std::string& out, const EntryStore& entries, std::uint32_t index,
                     const EntryRowStyle& style, int column, ColumnKind kind) {
    if (column == 0) {
        const std::string name = ShownName(entries, index, style.bracketFolders);
        out += style.upperCase ? Utf8Upper(name) : name;
    } else if (kind == ColumnKind::Size) {
        out += FormatSize(entries.Bytes(index), kTableSizeWidth, style.sizeInBytes);
    } else if (kind == ColumnKind::Attributes) {
        out += AttributeLetters(entries.Attributes(index));
    } else if (kind == ColumnKind::Date) {
        out += FormatDate(entries.Modified(index), style.dateFormat);
    }
}

} // namespace dirscribe
