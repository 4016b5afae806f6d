// SPDX-License-Identifier: MIT
#include "core/listing/ListingNameOrder.h"

#include "core/format/AsciiCase.h"

#include <algorithm>
#include <cstring>

namespace dirscribe {

bool ListingNameLess(std::string_view a, std::string_view b) {
    const auto upper = [](char c) {
        return AsciiUpper(static_cast<unsigned char>(c));
    };
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char x = upper(a[i]);
        const unsigned char y = upper(b[i]);
        if (x != y)
            return x < y;
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return std::memcmp(a.data(), b.data(), n) < 0;
}

} // namespace dirscribe
