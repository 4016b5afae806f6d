// SPDX-License-Identifier: MIT
// Which column was sorted last and in which direction.
#pragma once

#include <cstdint>

namespace dirscribe {

// Lives for the whole run and is never stored, so a new listing continues the alternation
// of the previous one; its owner keeps exactly one.
struct SortState {
    std::int32_t lastSortColumn = -1; // index of the column clicked last
    std::int32_t sortAscending = 1;   // 1 ascending, 0 descending
};

} // namespace dirscribe
