// SPDX-License-Identifier: MIT
// The named classes of a bracket expression, "[[:alpha:]]" and its kin, as fnmatch knows them.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace dirscribe {

// For ASCII each class holds what it holds in the C locale. Beyond ASCII: alpha is every
// Unicode letter (general category L), upper a letter that case folding changes, lower a
// letter that upper-casing changes (a letter with no other case, such as "ß" or "漢", is
// neither), space and blank add Unicode's white space and space separators, cntrl the C1
// controls; print is every character but the controls, graph print without space, punct
// graph without alnum (as in glibc's UTF-8 locales); digit and xdigit stay ASCII.
enum class CharacterClass : std::uint8_t {
    Alnum,
    Alpha,
    Blank,
    Cntrl,
    Digit,
    Graph,
    Lower,
    Print,
    Punct,
    Space,
    Upper,
    Xdigit,
};

// The class of a name as written between "[:" and ":]" ("alpha"); none for another name.
std::optional<CharacterClass> CharacterClassNamed(std::string_view name);

// Whether code point c belongs to the class.
bool InCharacterClass(CharacterClass cls, char32_t c);

} // namespace dirscribe
