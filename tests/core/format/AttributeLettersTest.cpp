// SPDX-License-Identifier: MIT
// Attribute bits to the letters of the Attr. column.
#include "core/format/AttributeLetters.h"

#include <gtest/gtest.h>

namespace dirscribe {
namespace {

TEST(AttributeLetters, LettersComeInFixedOrderAndOtherBitsAddNothing) {
    EXPECT_EQ(AttributeLetters(0x21), "AR");
    EXPECT_EQ(AttributeLetters(0x27), "AHRS");
    EXPECT_EQ(AttributeLetters(0x07), "HRS");
    EXPECT_EQ(AttributeLetters(0x04), "S");
    EXPECT_EQ(AttributeLetters(0x10), "") << "a plain folder";
    EXPECT_EQ(AttributeLetters(0x11), "R") << "a read-only folder";
    EXPECT_EQ(AttributeLetters(0x400), "") << "a symbolic link";
    EXPECT_EQ(AttributeLetters(0), "");
    EXPECT_EQ(AttributeLetters(0xFFFFFFFF), "AHRS");
}

} // namespace
} // namespace dirscribe
