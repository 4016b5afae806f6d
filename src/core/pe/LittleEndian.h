// SPDX-License-Identifier: MIT
// Little-endian numbers in byte buffers, read with their bounds checked by the caller.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace dirscribe {

// The 16-bit number at bytes[at]; the caller has checked that at + 2 <= bytes.size().
inline std::uint16_t Le16(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

// The 32-bit number at bytes[at]; the caller has checked that at + 4 <= bytes.size().
inline std::uint32_t Le32(std::string_view bytes, std::size_t at) {
    return std::uint32_t{Le16(bytes, at)} | (std::uint32_t{Le16(bytes, at + 2)} << 16);
}

} // namespace dirscribe
