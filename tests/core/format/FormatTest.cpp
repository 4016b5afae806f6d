// SPDX-License-Identifier: MIT
// The texts the listing shows: sizes at the unit and group boundaries, the nine date
// formats in local time, attribute letters, and UTF-8 widths and conversions.
#include "core/format/AttributeLetters.h"
#include "core/format/DateFormat.h"
#include "core/format/SizeFormat.h"
#include "core/format/Utf8.h"
#include "core/format/WordWrap.h"
#include "core/platform/FileTime.h"
#include "support/ScopedEnvironment.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <time.h>

namespace dirscribe {
namespace {

constexpr bool kBytes = true;
constexpr bool kScaled = false;

// The text as the formatter returns it: blanks before it up to 17 characters.
std::string In17(const std::string& text) {
    return std::string(text.size() < 17 ? 17 - text.size() : 0, ' ') + text;
}

TEST(SizeFormat, SmallCountsStayInBytesAndLargerOnesTruncateToTheirUnit) {
    EXPECT_EQ(FormatSize(0, 16, kScaled), "             0  b");
    const std::pair<std::uint64_t, const char*> scaled[] = {{0, "0  b"},
                                                            {999, "999  b"},
                                                            {1000, "1,000  b"},
                                                            {1023, "1,023  b"},
                                                            {1024, "1.0 Kb"},
                                                            {1536, "1.5 Kb"},
                                                            {999'999, "976.5 Kb"},
                                                            {1'000'000, "0.9 Mb"},
                                                            {1'234'567, "1.1 Mb"},
                                                            {5'368'709'120, "5.0 Gb"},
                                                            {999'999'999'999, "931.3 Gb"},
                                                            {1'000'000'000'000, "0.9 Tb"},
                                                            {1'000'000'000'000'000, "0.8 Pb"},
                                                            {1'000'000'000'000'000'000, "888.1 Pb"},
                                                            {~std::uint64_t{0}, "16383.9 Pb"}};
    for (const std::int32_t width : {16, 26}) {
        for (const auto& [bytes, text] : scaled)
            EXPECT_EQ(FormatSize(bytes, width, kScaled), In17(text)) << bytes << " in " << width;
        EXPECT_EQ(FormatSize(0, width, kBytes), In17("0 b"));
        EXPECT_EQ(FormatSize(1023, width, kBytes), In17("1,023 b"));
    }
}

TEST(SizeFormat, ByteCountsNeedTheWidthBudget) {
    // The table's budget of 16 holds three groups, the summary's 26 holds five.
    EXPECT_EQ(FormatSize(1'000'000, 16, kBytes), In17("1,000,000 b"));
    EXPECT_EQ(FormatSize(1'048'576, 26, kBytes), In17("1,048,576 b"));
    EXPECT_EQ(FormatSize(1'234'567, 26, kBytes), "      1,234,567 b");

    EXPECT_EQ(FormatSize(1'000'000'000, 16, kBytes), std::string(17, ' '));
    EXPECT_EQ(FormatSize(1'000'000'000, 26, kBytes), "  1,000,000,000 b");
    EXPECT_EQ(FormatSize(5'000'000'000, 26, kBytes), "  5,000,000,000 b");
    EXPECT_EQ(FormatSize(5'000'000'000, 26, kScaled), In17("4.6 Gb"));

    // Longer than the field: returned whole.
    EXPECT_EQ(FormatSize(1'000'000'000'000, 26, kBytes), "1,000,000,000,000 b");
    EXPECT_EQ(FormatSize(1'000'000'000'000, 16, kBytes), std::string(17, ' '));
    // Six groups never fit a budget of 26 (26 / 6 = 4), nor seven.
    EXPECT_EQ(FormatSize(1'000'000'000'000'000, 26, kBytes), std::string(17, ' '));
    EXPECT_EQ(FormatSize(std::numeric_limits<std::uint64_t>::max(), 26, kBytes),
              std::string(17, ' '));
    // A wide budget shows every group, leading zeros kept inside the groups.
    EXPECT_EQ(FormatSize(std::numeric_limits<std::uint64_t>::max(), 70, kBytes),
              "18,446,744,073,709,551,615 b");
    EXPECT_EQ(FormatSize(1'002'003'004'005'006'007, 70, kBytes), "1,002,003,004,005,006,007 b");

    // The budget test at its edge: 9 / 2 = 4 fails, 10 / 2 = 5 passes.
    EXPECT_EQ(FormatSize(1000, 9, kBytes), std::string(17, ' '));
    EXPECT_EQ(FormatSize(1000, 10, kBytes), In17("1,000 b"));
    EXPECT_EQ(FormatSize(1536, 9, kScaled), In17("1.5 Kb"));
    EXPECT_EQ(FormatSize(7, -3, kBytes), std::string(17, ' '));
    EXPECT_EQ(FormatSize(7, -3, kScaled), In17("7  b")) << "below 1 Kb only bytes exist";
}

TEST(SizeFormat, ScaledValuesAreCutNeverRoundedEvenAtTheEnds) {
    EXPECT_EQ(FormatSize(999'999, 17, kScaled), In17("976.5 Kb"));
    EXPECT_EQ(FormatSize(1'000'000, 17, kScaled), In17("0.9 Mb"));
    EXPECT_EQ(FormatSize(~std::uint64_t{0}, 17, kScaled), In17("16383.9 Pb"));
}

// 18 Dec 2002 14:05:09 UTC.
constexpr std::int64_t kSample = 1'040'220'309;
// The same moment as 100 ns ticks since 1601: (kSample + 11644473600) * 10^7.
constexpr std::uint64_t kSampleTicks = 126'846'939'090'000'000;

TEST(DateFormat, EveryFormatOfOneMomentInUtc) {
    const test::ScopedEnvironment utc("TZ", "UTC");
    ASSERT_EQ(FileTimeFromUnix(kSample), kSampleTicks);
    EXPECT_EQ(FormatDate(kSampleTicks, 0), "12/18/02 14:05:09") << "%x %X of C.UTF-8";
    EXPECT_EQ(FormatDate(kSampleTicks, 1), " 12/18/2002 14:05:09");
    EXPECT_EQ(FormatDate(kSampleTicks, 2), " 18 Dec 2002 14:05:09");
    EXPECT_EQ(FormatDate(kSampleTicks, 3), " 18/12/2002 14:05:09");
    EXPECT_EQ(FormatDate(kSampleTicks, 4), " Dec 18 2002 14:05:09");
    EXPECT_EQ(FormatDate(kSampleTicks, 5), " 18 Dec, 2002 14:05:09");
    EXPECT_EQ(FormatDate(kSampleTicks, 6), " Dec 18, 2002 14:05:09");
    EXPECT_EQ(FormatDate(kSampleTicks, 7), " 12/18, 2002 14:05:09");
    EXPECT_EQ(FormatDate(kSampleTicks, 8), " 18/12, 2002 14:05:09");

    // Any other index formats like 8.
    EXPECT_EQ(FormatDate(kSampleTicks, 9), " 18/12, 2002 14:05:09");
    EXPECT_EQ(FormatDate(kSampleTicks, 1000), " 18/12, 2002 14:05:09");
    EXPECT_EQ(FormatDate(kSampleTicks, -1), " 18/12, 2002 14:05:09");

    // The part below one second is dropped, never rounded up.
    EXPECT_EQ(FormatDate(kSampleTicks + 9'999'999, 2), " 18 Dec 2002 14:05:09");
    EXPECT_EQ(FormatDate(kSampleTicks - 1, 2), " 18 Dec 2002 14:05:08");
}

TEST(DateFormat, TimesBefore1970AndAtTheFileTimeOrigin) {
    const test::ScopedEnvironment utc("TZ", "UTC");
    // 20 Jul 1969 20:17:40 UTC is 14182940 seconds before 1970.
    EXPECT_EQ(FormatDate(FileTimeFromUnix(-14'182'940), 2), " 20 Jul 1969 20:17:40");
    EXPECT_EQ(FormatDate(0, 1), " 01/01/1601 00:00:00");
    EXPECT_EQ(FormatDate(0, 6), " Jan 01, 1601 00:00:00");
}

TEST(DateFormat, LocalTimeFollowsTheRulesOfEachDate) {
    // US Eastern time with the 2002 rules: summer time from the first Sunday in April to
    // the last Sunday in October.
    const test::ScopedEnvironment eastern("TZ", "EST5EDT,M4.1.0,M10.5.0");
    EXPECT_EQ(FormatDate(kSampleTicks, 1), " 12/18/2002 09:05:09") << "winter, UTC-5";
    // 4 Jul 2002 12:00:00 UTC is 1025784000.
    EXPECT_EQ(FormatDate(FileTimeFromUnix(1'025'784'000), 1), " 07/04/2002 08:00:00")
        << "summer, UTC-4";
    // 1 Apr 2002 12:00:00 UTC (1017662400) is still winter under these rules.
    EXPECT_EQ(FormatDate(FileTimeFromUnix(1'017'662'400), 4), " Apr 01 2002 07:00:00");
    EXPECT_EQ(FormatCreatedOn(kSample), "Wed Dec 18 09:05:09 2002");
}

TEST(DateFormat, CreationLineAndSamples) {
    const test::ScopedEnvironment utc("TZ", "UTC");
    EXPECT_EQ(FormatCreatedOn(kSample), "Wed Dec 18 14:05:09 2002");
    EXPECT_EQ(FormatCreatedOn(0), "Thu Jan  1 00:00:00 1970");

    // Each list sample is its format's date of the same day, but for format 7's, which has
    // always shown October.
    EXPECT_STREQ(DateFormatSample(0), "Regional Setting");
    EXPECT_STREQ(DateFormatSample(7), "10/18, 2002");
    for (const int format : {1, 2, 3, 4, 5, 6, 8, 9, -4})
        EXPECT_EQ(" " + std::string(DateFormatSample(format)) + " 14:05:09",
                  FormatDate(kSampleTicks, format));
}

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

TEST(Utf8, WidthsCountCharactersAndBrokenBytesCountOnce) {
    EXPECT_EQ(Utf8Length("abc"), 3u);
    EXPECT_EQ(Utf8Length("\xC3\xA9t\xC3\xA9"), 3u); // été
    EXPECT_EQ(Utf8Length("\xF0\x9F\x98\x80"), 1u);  // one emoji
    EXPECT_EQ(Utf8Length("a\xFF\xC3"), 3u);         // stray and truncated bytes
    EXPECT_EQ(RightAlign("\xC3\xA9", 4), "   \xC3\xA9");
    EXPECT_EQ(RightAlign("toolong", 3), "toolong");
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80")) << "an encoded surrogate";
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF")) << "an overlong slash";
    EXPECT_TRUE(IsValidUtf8("plain \xE2\x82\xAC"));
}

TEST(Utf8, Windows1252BytesBecomeTheirCharacters) {
    EXPECT_EQ(Windows1252ToUtf8("caf\xE9 \x80 \x81"), "caf\xC3\xA9 \xE2\x82\xAC \xC2\x81");
    EXPECT_EQ(Windows1252ToUtf8("\xC3\xA9"), "\xC3\x83\xC2\xA9") << "every byte converts";
    EXPECT_EQ(LenientUtf8("\xC3\xA9 \xE9"), "\xC3\xA9 \xC3\xA9") << "valid runs pass through";
    EXPECT_EQ(LenientUtf8("\xFF\xFE"
                          "A"),
              "\xC3\xBF\xC3\xBE"
              "A");
}

// Letters of every width change by the one-to-one mapping; nothing else changes.
TEST(Utf8, UpperCaseMapsEveryLetterOneForOne) {
    EXPECT_EQ(Utf8Upper("résumé straße ÿ ǆ σς да 𐐨 µ"), "RÉSUMÉ STRAßE Ÿ Ǆ ΣΣ ДА 𐐀 Μ");
    EXPECT_EQ(Utf8Upper("a\xFF\xC3.txt 42 [x]"), "A\xFF\xC3.TXT 42 [X]") << "broken bytes stay";
}

// Lines of at most ten characters: breaks at the last blank that fits (dropped), and inside
// a word, between characters, only when the word is longer than a line.
TEST(WordWrap, BreaksBetweenWordsAndSplitsOnlyWordsLongerThanALine) {
    const LineFits tenCharacters = [](std::string_view line) {
        return Utf8Length(line) <= 10;
    };
    using Lines = std::vector<std::string_view>;
    EXPECT_EQ(WrapWords("", tenCharacters), Lines{""});
    EXPECT_EQ(WrapWords("a planning session", tenCharacters), (Lines{"a planning", "session"}));
    EXPECT_EQ(WrapWords("the planning", tenCharacters), (Lines{"the", "planning"}));
    EXPECT_EQ(WrapWords("été-à-répétition x", tenCharacters), (Lines{"été-à-répé", "tition x"}));
    EXPECT_EQ(WrapWords("word       ", tenCharacters), (Lines{"word      "}));
    const LineFits nothing = [](std::string_view line) {
        return line.empty();
    };
    EXPECT_EQ(WrapWords("ab", nothing), (Lines{"a", "b"})) << "a character a line at least";

    // A long text costs its length: each line is measured at about its own length, a few
    // times, however much text follows it; and every character is on a line.
    std::string text;
    for (int word = 0; text.size() < 16 * 1024; ++word)
        text += std::string(static_cast<std::size_t>(1 + word % 13), 'w') + (word % 7 ? " " : "");
    std::size_t measured = 0;
    const LineFits counted = [&](std::string_view line) {
        measured += line.size();
        return Utf8Length(line) <= 10;
    };
    std::string joined;
    for (const std::string_view line : WrapWords(text, counted))
        joined.append(line);
    std::erase(text, ' ');
    std::erase(joined, ' ');
    EXPECT_EQ(joined, text);
    EXPECT_LT(measured, 16 * text.size());
}

} // namespace
} // namespace dirscribe
