// SPDX-License-Identifier: MIT
// Upper case for every letter, one character for one.
#pragma once

namespace dirscribe {

// The simple uppercase mapping of Unicode (UnicodeData.txt, field 12): one code point for
// one, so "é" gives "É" and "ß", which has no single capital, stays. Code points without a
// mapping come back unchanged.
char32_t SimpleUpperCase(char32_t c);

} // namespace dirscribe
