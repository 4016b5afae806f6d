// SPDX-License-Identifier: MIT
// All in UpperCase and search map every letter as Unicode's one-to-one mappings do, and
// search's [[:alpha:]] knows Unicode's letters. ICU holds those; Qt's own tables, made apart
// from ICU's, are the check for every code point.
#include "core/format/UnicodeCase.h"

#include "core/format/UnicodeLetter.h"

#include <QChar>
#include <gtest/gtest.h>

namespace dirscribe {
namespace {

// Qt's toUpper keeps a letter whose full uppercase is two characters ("ᾀ" is "ἈΙ"); the
// simple mapping is then its one-character title case ("ᾈ"). Qt knows Unicode 14 only, so
// letters added since (Kawi, CJK extension H) are letters it cannot judge.
TEST(UnicodeCase, AgreesWithQtForEveryCodePoint) {
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        char32_t upper = QChar::toUpper(c);
        if (upper == c && QChar::category(c) == QChar::Letter_Lowercase)
            upper = QChar::toTitleCase(c);
        ASSERT_EQ(SimpleUpperCase(c), upper) << std::hex << static_cast<unsigned>(c);
        ASSERT_EQ(SimpleCaseFold(c), QChar::toCaseFolded(c))
            << std::hex << static_cast<unsigned>(c);
        if (QChar::unicodeVersion(c) != QChar::Unicode_Unassigned) {
            ASSERT_EQ(IsLetter(c), QChar::isLetter(c)) << std::hex << static_cast<unsigned>(c);
        }
    }
    for (const char32_t c : {U'ß', U'ŉ', U'ﬀ', char32_t{0x110000}, char32_t{0xFFFFFFFF}})
        EXPECT_EQ(SimpleUpperCase(c), c) << std::hex << static_cast<unsigned>(c);
    EXPECT_EQ(SimpleUpperCase(U'ᾳ'), U'ᾼ');
    EXPECT_EQ(SimpleCaseFold(U'ẞ'), U'ß');
    EXPECT_EQ(SimpleCaseFold(U'İ'), U'İ');
    for (const char32_t c : {0x11F04, 0x31350, 0x1E030})
        EXPECT_TRUE(IsLetter(c)) << std::hex << static_cast<unsigned>(c);
    for (const char32_t c : {0x0378, 0x0660, 0x0301, 0x110000})
        EXPECT_FALSE(IsLetter(c)) << std::hex << static_cast<unsigned>(c);
}

} // namespace
} // namespace dirscribe
