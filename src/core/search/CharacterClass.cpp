// SPDX-License-Identifier: MIT
#include "core/search/CharacterClass.h"

#include "core/format/UnicodeCase.h"
#include "core/format/UnicodeLetter.h"

#include <array>
#include <utility>

namespace dirscribe {

namespace {

bool IsDigit(char32_t c) {
    return c >= '0' && c <= '9';
}

bool IsControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

// Blanks within a line: the space separators (Zs) and the tab.
bool IsBlank(char32_t c) {
    return c == ' ' || c == '\t' || c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) ||
           c == 0x202F || c == 0x205F || c == 0x3000;
}

// Unicode's White_Space: the blanks, the line and page breaks and NEL.
bool IsSpace(char32_t c) {
    return IsBlank(c) || (c >= '\n' && c <= '\r') || c == 0x85 || c == 0x2028 || c == 0x2029;
}

bool IsAlnum(char32_t c) {
    return IsDigit(c) || IsLetter(c);
}

} // namespace

std::optional<CharacterClass> CharacterClassNamed(std::string_view name) {
    using enum CharacterClass;
    constexpr std::array<std::pair<std::string_view, CharacterClass>, 12> kNames{{
        {"alnum", Alnum},
        {"alpha", Alpha},
        {"blank", Blank},
        {"cntrl", Cntrl},
        {"digit", Digit},
        {"graph", Graph},
        {"lower", Lower},
        {"print", Print},
        {"punct", Punct},
        {"space", Space},
        {"upper", Upper},
        {"xdigit", Xdigit},
    }};
    for (const auto& [known, cls] : kNames)
        if (known == name)
            return cls;
    return std::nullopt;
}

bool InCharacterClass(CharacterClass cls, char32_t c) {
    switch (cls) {
    case CharacterClass::Alnum:
        return IsAlnum(c);
    case CharacterClass::Alpha:
        return IsLetter(c);
    case CharacterClass::Blank:
        return IsBlank(c);
    case CharacterClass::Cntrl:
        return IsControl(c);
    case CharacterClass::Digit:
        return IsDigit(c);
    case CharacterClass::Graph:
        return !IsControl(c) && !IsSpace(c);
    case CharacterClass::Lower:
        return IsLetter(c) && SimpleUpperCase(c) != c;
    case CharacterClass::Print:
        return !IsControl(c);
    case CharacterClass::Punct:
        return !IsControl(c) && !IsSpace(c) && !IsAlnum(c);
    case CharacterClass::Space:
        return IsSpace(c);
    case CharacterClass::Upper:
        return IsLetter(c) && SimpleCaseFold(c) != c;
    case CharacterClass::Xdigit:
        return IsDigit(c) || ((c | 0x20) >= 'a' && (c | 0x20) <= 'f');
    }
    return false;
}

} // namespace dirscribe
