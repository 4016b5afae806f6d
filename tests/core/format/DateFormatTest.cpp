// SPDX-License-Identifier: MIT
// The nine date formats and the creation line, in local time.
#include "core/format/DateFormat.h"

#include "core/platform/FileTime.h"
#include "support/ScopedEnvironment.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <time.h>

namespace dirscribe {
namespace {

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

} // namespace
} // namespace dirscribe
