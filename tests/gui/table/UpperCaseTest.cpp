// SPDX-License-Identifier: MIT
// All in UpperCase maps every letter as Unicode's one-to-one mapping does, which Qt holds too.
#include "core/format/UnicodeCase.h"

#include <QChar>
#include <gtest/gtest.h>

namespace dirscribe {
namespace {

TEST(UpperCase, AgreesWithQtForEveryCodePoint) {
    int mismatches = 0;
    for (char32_t c = 0; c <= 0x10FFFF; ++c)
        if (SimpleUpperCase(c) != QChar::toUpper(c) && ++mismatches < 10)
            ADD_FAILURE() << std::hex << static_cast<unsigned>(c);
    EXPECT_EQ(mismatches, 0);
}

} // namespace
} // namespace dirscribe
