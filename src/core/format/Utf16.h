// SPDX-License-Identifier: MIT
// UTF-16 texts of Windows files turned into UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace dirscribe {

// Converts UTF-16 code units to UTF-8; a lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

} // namespace dirscribe
