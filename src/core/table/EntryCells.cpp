// SPDX-License-Identifier: MIT
#include "core/table/EntryCells.h"

#include "core/format/AttributeLetters.h"
#include "core/format/DateFormat.h"
#include "core/format/SizeFormat.h"
#include "core/format/Utf8.h"
#include "core/table/NameCell.h"
#include "core/table/TableColumn.h"

namespace dirscribe {

void AppendEntryCell(std::string& out, const EntryStore& entries, std::uint32_t index,
                     const EntryRowStyle& style, int column, std::string_view title) {
    if (column == 0) {
        const std::string name = ShownName(entries, index, style.bracketFolders);
        out += style.upperCase ? Utf8Upper(name) : name;
    } else if (title == kSizeTitle) {
        out += FormatSize(entries.Bytes(index), kTableSizeWidth, style.sizeInBytes);
    } else if (title == kAttrTitle) {
        out += AttributeLetters(entries.Attributes(index));
    } else if (title == kLastModifiedTitle) {
        out += FormatDate(entries.Modified(index), style.dateFormat);
    }
}

} // namespace dirscribe
