// SPDX-License-Identifier: MIT
// The letters of the Attr. column.
#pragma once

#include <cstdint>
#include <string>

namespace dirscribe {

// "A", "H", "R", "S" in this order for the archive, hidden, read-only and system bits;
// other bits add nothing.
std::string AttributeLetters(std::uint32_t attributes);

} // namespace dirscribe
