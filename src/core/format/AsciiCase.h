// SPDX-License-Identifier: MIT
// Case mapping of the letters A-Z only, for names and keys that compare bytes.
#pragma once

#include <algorithm>
#include <concepts>
#include <string>
#include <string_view>

namespace dirscribe {

// Maps A-Z to a-z; every other code unit (any width) stays as it is.
template <std::integral Unit> constexpr Unit AsciiLower(Unit c) {
    return c >= Unit{'A'} && c <= Unit{'Z'} ? static_cast<Unit>(c - 'A' + 'a') : c;
}

// Maps a-z to A-Z; every other code unit stays as it is.
template <std::integral Unit> constexpr Unit AsciiUpper(Unit c) {
    return c >= Unit{'a'} && c <= Unit{'z'} ? static_cast<Unit>(c - 'a' + 'A') : c;
}

inline std::string AsciiLower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), AsciiLower<char>);
    return out;
}

inline std::string AsciiUpper(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), AsciiUpper<char>);
    return out;
}

// Equal when the texts differ at most in the case of A-Z.
constexpr bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

} // namespace dirscribe
