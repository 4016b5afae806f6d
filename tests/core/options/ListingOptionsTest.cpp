// SPDX-License-Identifier: MIT
// How settings change: layout switches and the columns they show or put aside, and the
// options dialog's values going into the settings after OK.
#include "core/options/ListingOptions.h"

#include "core/options/AdvancedOptions.h"
#include "core/options/IniFile.h"
#include "core/options/Profile.h"

#include <gtest/gtest.h>

namespace dirscribe {
namespace {

void Switch(ListingOptions& options, PageLayout layout) {
    options.printAs = layout;
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
    strange.printAs = static_cast<PageLayout>(7);
    strange.addDate = 1;
    strange.savedAddAttribute = 1;
    const ListingOptions before = strange;
    ApplyPageLayout(strange);
    EXPECT_EQ(strange, before) << "a layout the program does not know changes nothing";
}

TEST(AdvancedOptions, ChangedValuesReachEverySettingAndNothingElse) {
    ListingOptions options; // the defaults of an empty profile
    options.lastDepth = 3;
    const ListingOptions original = options;
    // Every value, in member order, away from the setting it carries.
    const AdvancedOptions values{"Verdana", ListingContent::FilesOnly, 0, 0, 1, 1, 1, 1, 8, 0, 0, 1,
                                 7};
    EXPECT_TRUE(ApplyAdvancedOptions(values, options));
    EXPECT_EQ(AdvancedOptionsOf(options), values);
    EXPECT_EQ(options.lastDepth, 3) << "the current depth is not changed";
    // The old values bring every setting back: no other setting was touched.
    EXPECT_TRUE(ApplyAdvancedOptions(AdvancedOptionsOf(original), options));
    EXPECT_EQ(options, original);
    EXPECT_FALSE(ApplyAdvancedOptions(AdvancedOptionsOf(original), options))
        << "the same depth again is no change";

    // Each flag alone reaches its own setting.
    using A = AdvancedOptions;
    for (const auto flag :
         {&A::numberFileLines, &A::numberStdLines, &A::numberCdLines, &A::doNotDrawGrid,
          &A::addSizeInBytes, &A::allInUpperCase, &A::summary, &A::printTitle, &A::largeFont}) {
        AdvancedOptions one = AdvancedOptionsOf(original);
        one.*flag = 1 - one.*flag;
        options = original;
        ApplyAdvancedOptions(one, options);
        EXPECT_EQ(AdvancedOptionsOf(options), one);
    }
}

TEST(AdvancedOptions, FontIsKeptWhenTheDialogNamesNone) {
    ListingOptions options;
    options.currentFont = "Tahoma";
    AdvancedOptions values = AdvancedOptionsOf(options);
    values.fontName.clear();
    ApplyAdvancedOptions(values, options);
    EXPECT_EQ(options.currentFont, "Tahoma");
}

TEST(AdvancedOptions, CustomDepthThatAFixedItemOffersKeepsThePreviousOne) {
    for (const std::uint32_t refused : {0u, 1u, 3u, 5u, 10u, 1001u}) {
        ListingOptions options; // custom depth 20
        AdvancedOptions values = AdvancedOptionsOf(options);
        values.customDepth = refused;
        EXPECT_FALSE(ApplyAdvancedOptions(values, options)) << refused;
        EXPECT_EQ(options.customDepth, 20) << refused;
    }
    for (const std::uint32_t taken : {2u, 4u, 1000u}) {
        ListingOptions options;
        options.lastDepth = 20; // the custom item was chosen
        AdvancedOptions values = AdvancedOptionsOf(options);
        values.customDepth = taken;
        EXPECT_TRUE(ApplyAdvancedOptions(values, options)) << taken;
        EXPECT_EQ(options.customDepth, static_cast<std::int32_t>(taken));
        EXPECT_EQ(options.lastDepth, 20) << "the current depth is not changed";
    }
}

TEST(AdvancedOptions, ValuesNoListHasKeepThePreviousSetting) {
    ListingOptions options;
    options.dateFormat = 3;
    options.filesAndFolders = ListingContent::FoldersOnly;
    AdvancedOptions values = AdvancedOptionsOf(options);
    values.dateFormat = -1; // text typed into the date list
    values.filesAndFolders.reset();
    ApplyAdvancedOptions(values, options);
    EXPECT_EQ(options.dateFormat, 3);
    EXPECT_EQ(options.filesAndFolders, ListingContent::FoldersOnly);
}

TEST(AdvancedOptions, CustomDepthTextIsADecimalNumberUpToAThousand) {
    EXPECT_EQ(ParseCustomDepth("0"), 0u);
    EXPECT_EQ(ParseCustomDepth("1000"), 1000u);
    EXPECT_EQ(ParseCustomDepth(" 42\t"), 42u);
    EXPECT_EQ(ParseCustomDepth("007"), 7u);
    for (const char* refused :
         {"", "   ", "1001", "-1", "+5", "12a", "1 2", "0x10", "3.0", "99999999999999999999999"})
        EXPECT_EQ(ParseCustomDepth(refused), std::nullopt) << '"' << refused << '"';
}

} // namespace
} // namespace dirscribe
