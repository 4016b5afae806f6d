// SPDX-License-Identifier: MIT
// Windows-style attribute bits as the listing stores them.
#pragma once

#include <cstdint>

namespace dirscribe {

inline constexpr std::uint32_t kAttributeReadOnly = 0x01;
inline constexpr std::uint32_t kAttributeHidden = 0x02;
inline constexpr std::uint32_t kAttributeSystem = 0x04;
inline constexpr std::uint32_t kAttributeDirectory = 0x10;
inline constexpr std::uint32_t kAttributeArchive = 0x20;
// A symbolic link; it shows no letter.
inline constexpr std::uint32_t kAttributeReparsePoint = 0x400;

} // namespace dirscribe
