// SPDX-License-Identifier: MIT
#include "core/export/ExportSource.h"

namespace dirscribe {

std::string_view ExportedCell(const ListingTable& table, int row, int column) {
    std::string_view text = table.Cell(row, column);
    if (column == 0)
        return text;
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

} // namespace dirscribe
