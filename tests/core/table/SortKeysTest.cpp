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

TEST(SortKeys, SizeTextsReadAsByteCounts) {
    EXPECT_EQ(SizeKey("           999  b"), Key(999));
    EXPECT_EQ(SizeKey("         1,023  b"), Key(1023));
    EXPECT_EQ(SizeKey("           1.5 Kb"), Key(1500));
    EXPECT_EQ(SizeKey("         976.5 Kb"), Key(976'500));
    EXPECT_EQ(SizeKey("         900.5 Mb"), Key(900'500'000));
    EXPECT_EQ(SizeKey("           2.0 Gb"), Key(2'000'000'000));
    EXPECT_EQ(SizeKey("     1,234,567 b"), Key(1'234'567));
    EXPECT_EQ(SizeKey("       16383.9 Pb"), (NumericKey{16, 383'900'000'000'000'000}));
    EXPECT_EQ(SizeKey("18,446,744,073,709,551,615 b"), (NumericKey{18, 446'744'073'709'551'615}));

    // Texts the program does not write still get a fixed key.
    EXPECT_EQ(SizeKey(""), Key(0));
    EXPECT_EQ(SizeKey("abc"), Key(0));
    EXPECT_EQ(SizeKey("1.5 Kb "), Key(1)) << "the unit is the last two characters";
    const std::string nines(40, '9');
    const NumericKey largest{999'999'999'999'999'999, 999'999'999'999'999'999};
    EXPECT_EQ(SizeKey(nines + " Pb"), largest);
    EXPECT_EQ(SizeKey("-" + nines), largest.Negated());
    EXPECT_LT(SizeKey("-" + nines), Key(-1));
    EXPECT_LT(Key(-1), Key(0));
    EXPECT_EQ(Key(-1), (NumericKey{-1, 999'999'999'999'999'999}));
}

TEST(SortKeys, DatesInEveryFixedFormatGiveTheSameKey) {
    // 18 December 2002 14:05:09: offset 32, month 12, day 18, 14:05, tens of seconds 0.
    const NumericKey expected = Key(32121814050);
    const char* const texts[] = {" 12/18/2002 14:05:09",   " 18 Dec 2002 14:05:09",
                                 " 18/12/2002 14:05:09",   " Dec 18 2002 14:05:09",
                                 " 18 Dec, 2002 14:05:09", " Dec 18, 2002 14:05:09",
                                 " 12/18, 2002 14:05:09",  " 18/12, 2002 14:05:09"};
    for (int format = 1; format <= 8; ++format) {
        const char* text = texts[format - 1];
        EXPECT_EQ(FixedFormatDateKey(text, format), expected) << text;
        EXPECT_EQ(DateDigitsKey(text, format), expected) << text;
        EXPECT_EQ(NumericKeyReader("Last Modified", format).Key(text), expected) << text;
        EXPECT_FALSE(FixedFormatDateKey(text, format == 8 ? 1 : format + 1)) << text;
    }
    EXPECT_EQ(FixedFormatDateKey(texts[7], 9), expected) << "other values read like 8";
    EXPECT_EQ(FixedFormatDateKey(texts[7], -1), expected);
    EXPECT_EQ(DateDigitsKey(texts[7], 12), expected);
    EXPECT_EQ(NumericKeyReader("Size", 3).Key(texts[2]), Key(18)) << "Size never reads dates";

    EXPECT_EQ(DateKey(1965, 6, 15, 12, 0, 0), Key(-5 * 1'000'000'000LL + 61'512'000));
    EXPECT_LT(DateKey(1965, 1, 15, 12, 0, 0), DateKey(1965, 6, 15, 12, 0, 0));
    EXPECT_EQ(DateKey(2002, 12, 18, 14, 5, 1), DateKey(2002, 12, 18, 14, 5, 9));

    // Texts that are not dates of the format still get a fixed key.
    EXPECT_EQ(DateDigitsKey("n/a", 1), Key(-197));
    EXPECT_EQ(NumericKeyReader("Last Modified", 1).Key("  "), Key(0));
    for (const char* odd : {"", "J", "Jan", "12/18/2002", " 12/18/2002 14:05:0",
                            " 1/18/2002 14:05:09", " 12/18/2002 14:05:09 x"})
        EXPECT_FALSE(FixedFormatDateKey(odd, 1)) << odd;
}

} // namespace
} // namespace dirscribe
