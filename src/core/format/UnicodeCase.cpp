// SPDX-License-Identifier: MIT
#include "core/format/UnicodeCase.h"

#include <unicode/uchar.h>

namespace dirscribe {

namespace {

constexpr char32_t kLastCodePoint = 0x10FFFF;

} // namespace

// ICU's single code point functions are the simple mappings; its string functions (and
// SpecialCasing) are not used, so no letter ever grows into two.
char32_t SimpleUpperCase(char32_t c) {
    if (c > kLastCodePoint)
        return c;
    return static_cast<char32_t>(u_toupper(static_cast<UChar32>(c)));
}

char32_t SimpleCaseFold(char32_t c) {
    if (c > kLastCodePoint)
        return c;
    return static_cast<char32_t>(u_foldCase(static_cast<UChar32>(c), U_FOLD_CASE_DEFAULT));
}

} // namespace dirscribe
