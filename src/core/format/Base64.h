// SPDX-License-Identifier: MIT
// Bytes as text of 64 ASCII characters (RFC 4648, with padding).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace dirscribe {

std::string Base64Encode(std::string_view bytes);
// The bytes of a text Base64Encode writes; nothing for any other text.
std::optional<std::string> Base64Decode(std::string_view text);

} // namespace dirscribe
