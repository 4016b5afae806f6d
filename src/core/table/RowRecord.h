// SPDX-License-Identifier: MIT
// One table row held outside the table.
#pragma once

#include <array>
#include <string>

namespace dirscribe {

// The five cell texts of a row in column-index order; cells of columns the table
// does not have are empty. Used by loaded documents, sorting and printing.
using RowRecord = std::array<std::string, 5>;

inline constexpr int kMaxColumns = 5;

} // namespace dirscribe
