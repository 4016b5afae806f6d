// SPDX-License-Identifier: MIT
// Layout switches and the columns they show or put aside.
#include "core/options/ListingOptions.h"

#include "core/options/IniFile.h"
#include "core/options/Profile.h"

#include <gtest/gtest.h>

namespace dirscribe {
namespace {

void Switch(ListingOptions& options, PageLayout layout) {
    options.printAs = static_cast<std::int32_t>(layout);
    ApplyPageLayout(options);
}

ListingOptions StandardWithDatesAndAttributes() {
    ListingOptions options = LoadOptions(
        IniFile::Parse("[Options]\nPrint as =0\nAdd Date=1\nAdd Attribute=1\nAdd Comments=1\n"));
    ApplyPageLayout(options); // as the window does before it shows anything
    return options;
}

TEST(ApplyPageLayout, CutOutLayoutsPutAsideTheDatesAndAttributesShownThen) {
    ListingOptions options = StandardWithDatesAndAttributes();
    Switch(options, PageLayout::CdInsert);
    EXPECT_EQ(options.addDate, 0);
    EXPECT_EQ(options.addAttribute, 0);
    EXPECT_EQ(options.addSize + options.addComments, 2) << "Size and Comments stay";
    Switch(options, PageLayout::Standard);
    EXPECT_EQ(options.addDate, 1);
    EXPECT_EQ(options.addAttribute, 1);

    // A second cut-out layout puts aside what is shown at that moment: nothing, or a column
    // switched on between the two.
    Switch(options, PageLayout::CdInsert);
    options.addDate = 1;
    Switch(options, PageLayout::ZipInsert);
    EXPECT_EQ(options.addDate, 0);
    Switch(options, PageLayout::FileData);
    EXPECT_EQ(options.addDate, 1);
    EXPECT_EQ(options.addAttribute, 0);
}

TEST(ApplyPageLayout, LetterLayoutsAlwaysShowSizeAndComments) {
    for (const PageLayout letter : {PageLayout::Standard, PageLayout::FileData}) {
        ListingOptions options;
        options.addSize = 0;
        options.addComments = 0;
        Switch(options, PageLayout::ZipInsert);
        EXPECT_EQ(options.addSize, 0);
        EXPECT_EQ(options.addComments, 0);
        Switch(options, letter);
        EXPECT_EQ(options.addSize, 1);
        EXPECT_EQ(options.addComments, 1);
    }
}

TEST(ApplyPageLayout, TheDefaultsAndUnknownLayoutsStayAsTheyAre) {
    ListingOptions options;
    ApplyPageLayout(options);
    EXPECT_EQ(options, ListingOptions{}) << "the defaults are already a cut-out layout's";

    ListingOptions strange;
    strange.printAs = 7;
    strange.addDate = 1;
    strange.savedAddAttribute = 1;
    const ListingOptions before = strange;
    ApplyPageLayout(strange);
    EXPECT_EQ(strange, before) << "a layout the program does not know changes nothing";
}

} // namespace
} // namespace dirscribe
