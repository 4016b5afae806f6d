// SPDX-License-Identifier: MIT
// The user's language as a Windows language id, for the version strings of programs.
#pragma once

#include <cstdint>
#include <string_view>

namespace dirscribe {

inline constexpr std::uint16_t kEnglishUnitedStates = 0x0409;

// The Windows language id of a locale name such as "de_DE.UTF-8" or "fr_CA@euro": the
// language and territory when the table knows them, else the language's main id, else
// 0x0409 (also for "C", "POSIX" and an empty name).
std::uint16_t LanguageIdForLocale(std::string_view locale);

// The language of LC_ALL, or of LANG when LC_ALL is unset or empty.
std::uint16_t UserDefaultLanguageId();

} // namespace dirscribe
