// SPDX-License-Identifier: MIT
// Size texts at the unit and group boundaries, for both field budgets and both settings.
#include "core/format/SizeFormat.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <string>

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
    EXPECT_EQ(FormatScaled(1023, 1), "0.9");
    EXPECT_EQ(FormatScaled(~std::uint64_t{0}, 0), "18446744073709551615.0");
    EXPECT_EQ(FormatScaled(~std::uint64_t{0}, 6), "15.9");
    EXPECT_EQ(FormatScaled(~std::uint64_t{0}, 40), "0.0");
}

} // namespace
} // namespace dirscribe
