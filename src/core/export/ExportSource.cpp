// SPDX-License-Identifier: MIT
#include "core/export/ExportSource.h"

#include "core/table/TableColumn.h"

namespace dirscribe {

namespace {

std::string_view Trimmed(std::string_view text, int column) {
    if (column == 0)
        return text;
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// No blanks align a comment, and the one that ends a row of it belongs to its text.
bool IsComments(const ListingTable& table, int column) {
    return column > 0 && table.KindOfColumn(column) == ColumnKind::Comments;
}

} // namespace

std::string_view ExportedCell(const ListingTable& table, int row, int column,
                              std::string& scratch) {
    const std::string_view text = table.CellText(row, column, scratch);
    return IsComments(table, column) ? text : Trimmed(text, column);
}

std::string_view ExportedCell(const ListingTable& table, int row, int column) {
    const std::string_view text = table.Cell(row, column);
    return IsComments(table, column) ? text : Trimmed(text, column);
}

} // namespace dirscribe
