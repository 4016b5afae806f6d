// SPDX-License-Identifier: MIT
// Page and panel counts at their boundaries, and row kinds; the rows of each page and panel
// are checked with the recorded drawings of the print job.
#include "core/print/Pagination.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace dirscribe {
namespace {

TEST(Pagination, CountsPagesAndPanelsAtTheBoundaries) {
    struct Case {
        PageLayout layout;
        int rows;
        PrintCounts counts;
    };
    const std::vector<Case> cases = {
        {PageLayout::Standard, 0, {1, 1}},   {PageLayout::Standard, 70, {1, 1}},
        {PageLayout::Standard, 71, {2, 2}},  {PageLayout::Standard, 150, {2, 2}},
        {PageLayout::Standard, 151, {3, 3}}, {PageLayout::FileData, 151, {3, 3}},
        {PageLayout::CdInsert, 0, {1, 1}},   {PageLayout::CdInsert, 29, {1, 1}},
        {PageLayout::CdInsert, 30, {1, 2}},  {PageLayout::CdInsert, 61, {1, 2}},
        {PageLayout::CdInsert, 62, {2, 3}},  {PageLayout::ZipInsert, 20, {1, 1}},
        {PageLayout::ZipInsert, 21, {1, 2}}, {PageLayout::ZipInsert, 44, {1, 2}},
        {PageLayout::ZipInsert, 45, {2, 3}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CountPages(c.layout, c.rows), c.counts)
            << static_cast<int>(c.layout) << " with " << c.rows << " rows";
    // The largest row count does not overflow the rounding: 1 + ceil((2^31 - 1 - 70) / 80).
    EXPECT_EQ(CountPages(PageLayout::Standard, 2'147'483'647).pageCount, 26'843'546);
}

TEST(Pagination, TellsRowKindsByTheirFileName) {
    EXPECT_TRUE(IsCommentRow("comments:"));
    EXPECT_FALSE(IsCommentRow("comments: "));
    EXPECT_FALSE(IsCommentRow("Comments:"));
    EXPECT_TRUE(IsFileDataRow("  *** FileVersion"));
    EXPECT_TRUE(IsFileDataRow("  **"));
    EXPECT_FALSE(IsFileDataRow(" ** x"));
    EXPECT_FALSE(IsFileDataRow("  * x"));
    EXPECT_TRUE(IsNumberedRow("[Docs]"));
    EXPECT_TRUE(IsNumberedRow(""));
    EXPECT_FALSE(IsNumberedRow("comments:"));
    EXPECT_FALSE(IsNumberedRow("  ***Title"));
}

} // namespace
} // namespace dirscribe
