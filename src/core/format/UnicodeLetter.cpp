// SPDX-License-Identifier: MIT
#include "core/format/UnicodeLetter.h"

#include <unicode/uchar.h>

namespace dirscribe {

// u_isalpha is general category L; the wider Alphabetic property (which takes in some marks
// and Roman numerals) is u_isUAlphabetic, not used here.
bool IsLetter(char32_t c) {
    return c <= 0x10FFFF && u_isalpha(static_cast<UChar32>(c)) != 0;
}

} // namespace dirscribe
