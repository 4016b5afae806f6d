// SPDX-License-Identifier: MIT
#include "core/table/SortKeys.h"

#include "core/table/NumericKeyReader.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace dirscribe {

void PrintTo(const NumericKey& key, std::ostream* out) {
    *out << key.high << "*10^18+" << key.low;
}

namespace {

NumericKey Key(std::int64_t value) {
    return NumericKey::FromInteger(value);
}

// Texts the program does not write still get a fixed key, and the largest stay in order.
TEST(SortKeys, OddSizeTextsGetFixedKeys) {
    EXPECT_EQ(SizeKey(""), Key(0));
    EXPECT_EQ(SizeKey("abc"), Key(0));
    EXPECT_EQ(SizeKey("1.5 Kb "), Key(1)) << "the unit is the last two characters";
    const std::string nines(40, '9');
    EXPECT_LT(SizeKey("18,446,744,073,709,551,615 b"), SizeKey(nines + " Pb"));
    EXPECT_LT(SizeKey("-" + nines), Key(-1));
    EXPECT_LT(Key(-1), Key(0));
}

TEST(SortKeys, OneMomentGivesOneKeyInEveryFixedFormat) {
    const char* const texts[] = {" 12/18/2002 14:05:09",   " 18 Dec 2002 14:05:09",
                                 " 18/12/2002 14:05:09",   " Dec 18 2002 14:05:09",
                                 " 18 Dec, 2002 14:05:09", " Dec 18, 2002 14:05:09",
                                 " 12/18, 2002 14:05:09",  " 18/12, 2002 14:05:09"};
    const NumericKey expected = DateKey(2002, 12, 18, 14, 5, 9);
    for (int format = 1; format <= 8; ++format) {
        const char* text = texts[format - 1];
        EXPECT_EQ(FixedFormatDateKey(text, format), expected) << text;
        EXPECT_EQ(DateDigitsKey(text, format), expected) << text;
        EXPECT_EQ(NumericKeyReader("Last Modified", format).Key(text), expected) << text;
        EXPECT_FALSE(FixedFormatDateKey(text, format == 8 ? 1 : format + 1)) << text;
    }
    EXPECT_EQ(FixedFormatDateKey(texts[7], 9), expected) << "other values read like 8";
    EXPECT_EQ(NumericKeyReader("Size", 3).Key(texts[2]), Key(18)) << "Size never reads dates";
    for (const char* odd : {"", "J", "Jan", "12/18/2002", " 12/18/2002 14:05:0",
                            " 1/18/2002 14:05:09", " 12/18/2002 14:05:09 x"})
        EXPECT_FALSE(FixedFormatDateKey(odd, 1)) << odd;
}

} // namespace
} // namespace dirscribe
