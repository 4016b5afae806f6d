// SPDX-License-Identifier: MIT
// Upper case and case folding for every letter, one character for one.
#pragma once

namespace dirscribe {

// The simple uppercase mapping of Unicode (UnicodeData.txt, field 12, as ICU holds it): one
// code point for one, so "é" gives "É", "ᾀ" gives "ᾈ" and "ß", which has no single capital,
// stays. Code points without a mapping, and values above U+10FFFF, come back unchanged.
char32_t SimpleUpperCase(char32_t c);

// The simple case folding of Unicode (CaseFolding.txt, statuses C and S): the one code point
// that stands for every case of c, so "É" and "é" both give "é", "ſ" and "S" give "s", and
// "ẞ" gives "ß". Code points without a folding, and values above U+10FFFF, come back
// unchanged.
char32_t SimpleCaseFold(char32_t c);

} // namespace dirscribe
