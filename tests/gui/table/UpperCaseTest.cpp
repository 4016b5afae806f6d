// SPDX-License-Identifier: MIT
// All in UpperCase maps every letter as Unicode's one-to-one mapping does, which Qt holds too.
#include "core/format/UnicodeCase.h"

#include <QChar>
#include <gtest/gtest.h>

namespace dirscribe {
namespace {

TEST(UpperCase, AgreesWithQtForEveryCodePoint) {
    for (char32_t c = 0; c <= 0x10FFFF; ++c)
        ASSERT_EQ(SimpleUpperCase(c), QChar::toUpper(c)) << std::hex << static_cast<unsigned>(c);
}

} // namespace
} // namespace dirscribe
