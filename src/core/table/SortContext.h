// SPDX-License-Identifier: MIT
// What a column click needs to know about the listing it sorts.
#pragma once

#include <cstdint>

namespace dirscribe {

struct SortContext {
    bool tree = false;           // a tree listing keeps its order
    std::int32_t dateFormat = 0; // `Date Format` the Last Modified texts are in
};

} // namespace dirscribe
