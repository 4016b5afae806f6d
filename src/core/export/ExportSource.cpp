// SPDX-License-Identifier: MIT
#include "core/export/ExportSource.h"

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

} // namespace

std::string_view ExportedCell(const ListingTable& table, int row, int column,
                              std::string& scratch) {
    return Trimmed(table.CellText(row, column, scratch), column);
}

std::string_view ExportedCell(const ListingTable& table, int row, int column) {
    return Trimmed(table.Cell(row, column), column);
}

} // namespace dirscribe
