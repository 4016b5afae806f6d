// SPDX-License-Identifier: MIT
// The order of names within a folder of a listing.
#pragma once

#include <string>

namespace dirscribe {

// Bytes compared after mapping a-z to A-Z, the raw bytes breaking ties, so every file
// system gives the same order.
bool ListingNameLess(const std::string& a, const std::string& b);

} // namespace dirscribe
