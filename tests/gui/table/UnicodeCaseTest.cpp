// SPDX-License-Identifier: MIT
// All in UpperCase and search map every letter as Unicode's one-to-one mappings do, and
// search's [[:alpha:]] knows Unicode's letters; Qt holds the same tables.
#include "core/format/UnicodeCase.h"

#include "core/format/UnicodeLetter.h"

#include <QChar>
#include <gtest/gtest.h>

namespace dirscribe {
namespace {

TEST(UnicodeCase, AgreesWithQtForEveryCodePoint) {
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        ASSERT_EQ(SimpleUpperCase(c), QChar::toUpper(c)) << std::hex << static_cast<unsigned>(c);
        ASSERT_EQ(SimpleCaseFold(c), QChar::toCaseFolded(c))
            << std::hex << static_cast<unsigned>(c);
        ASSERT_EQ(IsLetter(c), QChar::isLetter(c)) << std::hex << static_cast<unsigned>(c);
    }
}

} // namespace
} // namespace dirscribe
