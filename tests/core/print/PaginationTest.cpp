// SPDX-License-Identifier: MIT
// Page and panel counts, row kinds and the rows of each page or panel.
#include "core/print/Pagination.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace dirscribe {
namespace {

// A table of plain file rows, with the given FileName texts at the given rows.
ListingTable Rows(int count, const std::vector<std::pair<int, std::string>>& names = {}) {
    ListingTable table;
    table.SetColumns({{kFileNameTitle}, {kCommentsTitle}});
    for (int i = 0; i < count; ++i)
        table.AppendRow({"file-" + std::to_string(i)});
    for (const auto& [row, name] : names)
        table.SetCell(row, 0, name);
    return table;
}

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

TEST(Pagination, GivesEachPageAndPanelItsRowsAndTheNumberedRowsBefore) {
    EXPECT_EQ(BuildPageTable(Rows(0), PageLayout::Standard, 1),
              (std::vector<PageRange>{{0, -1, 0}}));
    EXPECT_EQ(BuildPageTable(Rows(71), PageLayout::Standard, 2),
              (std::vector<PageRange>{{0, 69, 0}, {70, 70, 70}}));
    EXPECT_EQ(BuildPageTable(Rows(151), PageLayout::FileData, 3),
              (std::vector<PageRange>{{0, 69, 0}, {70, 149, 70}, {150, 150, 150}}));
    EXPECT_EQ(BuildPageTable(Rows(62), PageLayout::CdInsert, 3),
              (std::vector<PageRange>{{0, 28, 0}, {29, 60, 29}, {61, 61, 61}}));
    EXPECT_EQ(BuildPageTable(Rows(45), PageLayout::ZipInsert, 3),
              (std::vector<PageRange>{{0, 19, 0}, {20, 43, 20}, {44, 44, 44}}));

    // Comment and file-data rows take a line but no number: two before row 29 and one
    // after it on panel 2, so panel 3 starts after 58 numbered rows.
    const ListingTable mixed =
        Rows(62, {{0, "comments:"}, {5, "  *** FileVersion"}, {40, "comments:"}});
    EXPECT_EQ(BuildPageTable(mixed, PageLayout::CdInsert, 3),
              (std::vector<PageRange>{{0, 28, 0}, {29, 60, 27}, {61, 61, 58}}));
}

} // namespace
} // namespace dirscribe
