// SPDX-License-Identifier: MIT
// The web page's style and script (resources/page), built into the program.
#pragma once

#include <string_view>

namespace dirscribe {

std::string_view PageStyle();
std::string_view PageScript();

} // namespace dirscribe
