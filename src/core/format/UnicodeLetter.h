// SPDX-License-Identifier: MIT
// Which characters are letters, in every script.
#pragma once

namespace dirscribe {

// Whether c is a letter: Unicode's general category L (upper, lower, title case, modifier
// and other letters), so "é", "ß", "Ж", "ع" and "漢" are letters and digits, marks,
// punctuation and symbols are not.
bool IsLetter(char32_t c);

} // namespace dirscribe
