// SPDX-License-Identifier: MIT
// The order of names within a folder of a listing.
#pragma once

#include <string_view>

namespace dirscribe {

// Bytes compared after mapping a-z to A-Z, the raw bytes breaking ties, so every file
// system gives the same order.
bool ListingNameLess(std::string_view a, std::string_view b);

} // namespace dirscribe
