// SPDX-License-Identifier: MIT
// What a column click needs to know about the listing it sorts.
#pragma once

#include <cstdint>

namespace dirscribe {

struct SortContext {
    std::int32_t lastDepth = 0;       // `LastDepth`: only flat listings (0) are sorted
    std::int32_t sortEnabled = 0;     // cleared by the first cell edit or details fetch
    std::int32_t headFolderCount = 0; // folder rows at the top, kept above the others
    std::int32_t dateFormat = 0;      // `Date Format` the Last Modified texts are in
};

} // namespace dirscribe
