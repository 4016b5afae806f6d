// SPDX-License-Identifier: MIT
// Settings read from and written to real profile files.
#include "core/options/Profile.h"

#include "core/options/OptionEntry.h"
#include "support/ScopedEnvironment.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <limits>
#include <optional>

namespace dirscribe {
namespace {

using test::ReadFile;
using test::TempTree;

// Every entry as a fresh profile holds it after saving the default settings, in save order.
constexpr std::string_view kDefaultEntries = "LastDepth=0\n"
                                             "CustomDepth=20\n"
                                             "showManualPath=1\n"
                                             "Size=1\n"
                                             "Attributes=0\n"
                                             "Summary=1\n"
                                             "Print Title=1\n"
                                             "Files and Folders=2\n"
                                             "number STD Lines=1\n"
                                             "number CD Lines=0\n"
                                             "number File Lines=1\n"
                                             "Add Size=1\n"
                                             "Add Date=0\n"
                                             "Add Attribute=0\n"
                                             "Print as =2\n"
                                             "Add Comments=0\n"
                                             "Do not draw Grid=0\n"
                                             "Add Size in Bytes=0\n"
                                             "All in UpperCase=0\n"
                                             "Date Format=0\n"
                                             "LargeFont=0\n"
                                             "current Font=Arial\n";

TEST(Profile, MissingProfileGivesEveryDefault) {
    TempTree tree;
    const ListingOptions options = LoadOptions(IniFile::Load(tree.Path("none/Dirscribe.ini")));
    ListingOptions expected;
    expected.printAs = 2; // the CD insert layout
    expected.addSize = expected.summary = expected.printTitle = 1;
    expected.addDate = expected.addAttribute = expected.addComments = 0;
    expected.filesAndFolders = 2;
    expected.numberStdLines = expected.numberFileLines = expected.showManualPath = 1;
    expected.numberCdLines = expected.largeFont = expected.doNotDrawGrid = 0;
    expected.addSizeInBytes = expected.allInUpperCase = expected.dateFormat = 0;
    expected.lastDepth = 0;
    expected.customDepth = 20;
    expected.currentFont = "Arial";
    EXPECT_EQ(options, expected);
}

TEST(Profile, SizeAndAttributesFollowTheirLaterEntries) {
    IniFile profile = IniFile::Parse("[Options]\nSize=0\nAdd Size=1\nAttributes=1\n"
                                     "Add Attribute=0\nAdd Date=1\n");
    ListingOptions options = LoadOptions(profile);
    EXPECT_EQ(options.addSize, 1);
    EXPECT_EQ(options.addAttribute, 0);
    EXPECT_EQ(options.savedAddDate, 1);
    EXPECT_EQ(options.savedAddAttribute, 0);

    SaveOptions(options, profile);
    EXPECT_EQ(profile.Value("Options", "Size"), "1");
    EXPECT_EQ(profile.Value("Options", "Add Size"), "1");
    EXPECT_EQ(profile.Value("Options", "Attributes"), "0");
    EXPECT_EQ(profile.Value("Options", "Add Attribute"), "0");

    // Missing later entries take their defaults, whatever the earlier ones said.
    options = LoadOptions(IniFile::Parse("[Options]\nSize=0\nAttributes=1\n"));
    EXPECT_EQ(options.addSize, 1);
    EXPECT_EQ(options.addAttribute, 0);
    options = LoadOptions(IniFile::Parse("[Options]\nAdd Size=0\nSize=1\n"));
    EXPECT_EQ(options.addSize, 0);
}

TEST(Profile, PrintAsKeepsItsBlankAndMatchesLooseSpellings) {
    EXPECT_EQ(LoadOptions(IniFile::Parse("[options]\nprint AS=1\n")).printAs, 1);
    EXPECT_EQ(LoadOptions(IniFile::Parse("[ OPTIONS ]\n  Print as  = 3 \n")).printAs, 3);
    EXPECT_EQ(LoadOptions(IniFile::Parse("[Options]\nPrint as =0\n")).printAs, 0);

    IniFile profile;
    ListingOptions options;
    options.printAs = 3;
    SaveOptions(options, profile);
    EXPECT_NE(profile.Text().find("\nPrint as =3\n"), std::string::npos);
    EXPECT_EQ(LoadOptions(profile).printAs, 3);
}

TEST(Profile, OutOfRangeAndMalformedValuesTakeTheDefaults) {
    const ListingOptions options = LoadOptions(IniFile::Parse("[Options]\n"
                                                              "LastDepth=-2\n"
                                                              "Date Format=9\n"
                                                              "Add Size=2\n"
                                                              "Print as =x\n"
                                                              "CustomDepth=99999999999\n"
                                                              "Files and Folders=-1\n"
                                                              "Summary=1e0\n"
                                                              "Print Title=0x0\n"
                                                              "LargeFont=1 1\n"
                                                              "Add Date=\n"
                                                              "Add Comments=-\n"
                                                              "current Font=\n"));
    EXPECT_EQ(options.lastDepth, 0);
    EXPECT_EQ(options.dateFormat, 0);
    EXPECT_EQ(options.addSize, 1);
    EXPECT_EQ(options.printAs, 2);
    EXPECT_EQ(options.customDepth, 20);
    EXPECT_EQ(options.filesAndFolders, 2);
    EXPECT_EQ(options.summary, 1);
    EXPECT_EQ(options.printTitle, 1);
    EXPECT_EQ(options.largeFont, 0);
    EXPECT_EQ(options.addDate, 0);
    EXPECT_EQ(options.addComments, 0);
    EXPECT_EQ(options.currentFont, "Arial");

    // The ends of each range, signs, blanks and leading zeros are accepted.
    const ListingOptions edges = LoadOptions(IniFile::Parse("[Options]\n"
                                                            "LastDepth=-1\n"
                                                            "CustomDepth= 1000\t\n"
                                                            "Date Format=+8\n"
                                                            "Files and Folders=-0\n"
                                                            "Print as =003\n"
                                                            "current Font=Times New Roman\n"));
    EXPECT_EQ(edges.lastDepth, -1);
    EXPECT_EQ(edges.customDepth, 1000);
    EXPECT_EQ(edges.dateFormat, 8);
    EXPECT_EQ(edges.filesAndFolders, 0);
    EXPECT_EQ(edges.printAs, 3);
    EXPECT_EQ(edges.currentFont, "Times New Roman");
    EXPECT_EQ(LoadOptions(IniFile::Parse("[Options]\nCustomDepth=1001\n")).customDepth, 20);
    EXPECT_EQ(LoadOptions(IniFile::Parse("[Options]\nCustomDepth=0\n")).customDepth, 0);

    EXPECT_EQ(ParseProfileInteger("2147483647"), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(ParseProfileInteger("-2147483648"), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(ParseProfileInteger("2147483648"), std::nullopt);
    EXPECT_EQ(ParseProfileInteger("-2147483649"), std::nullopt);
    EXPECT_EQ(ParseProfileInteger("99999999999999999999999"), std::nullopt);
    EXPECT_EQ(ParseProfileInteger(" \t+7 "), 7);
    EXPECT_EQ(ParseProfileInteger(""), std::nullopt);
    EXPECT_EQ(ParseProfileInteger("+"), std::nullopt);
    EXPECT_EQ(ParseProfileInteger("- 1"), std::nullopt);
    EXPECT_EQ(ParseProfileInteger("12abc"), std::nullopt);
}

TEST(Profile, FreshProfileHoldsEveryEntryInSaveOrder) {
    TempTree tree;
    const std::string path = tree.Path("config/Dirscribe/Dirscribe.ini");
    IniFile profile = IniFile::Load(path);
    SaveOptions(ListingOptions{}, profile);
    profile.Save(path);
    EXPECT_EQ(ReadFile(path), "[Options]\n" + std::string(kDefaultEntries));
}

TEST(Profile, SavedSettingsComeBackEqual) {
    ListingOptions options;
    options.printAs = 0;
    options.addSize = 0;
    options.addDate = 1;
    options.addAttribute = 1;
    options.addComments = 1;
    options.summary = 0;
    options.printTitle = 0;
    options.filesAndFolders = 1;
    options.numberStdLines = 0;
    options.numberCdLines = 1;
    options.numberFileLines = 0;
    options.currentFont = "DejaVu Sans Mono";
    options.largeFont = 1;
    options.doNotDrawGrid = 1;
    options.addSizeInBytes = 1;
    options.allInUpperCase = 1;
    options.dateFormat = 7;
    options.showManualPath = 0;
    options.lastDepth = -1;
    options.customDepth = 1000;
    // Run-time flags are not stored; after loading they equal the shown columns.
    options.savedAddDate = 1;
    options.savedAddAttribute = 1;

    TempTree tree;
    const std::string path = tree.Path("Dirscribe.ini");
    IniFile profile;
    SaveOptions(options, profile);
    profile.Save(path);
    EXPECT_EQ(LoadOptions(IniFile::Load(path)), options);

    // A font name that cannot be kept on one line is stored as the default.
    options.currentFont = "Bad\nFont";
    IniFile second;
    SaveOptions(options, second);
    EXPECT_EQ(second.Value("Options", "current Font"), "Arial");
}

TEST(Profile, SavingKeepsEverythingElseAndChangesEntriesInPlace) {
    TempTree tree;
    const std::string path = tree.Path("Dirscribe.ini");
    tree.File("Dirscribe.ini", "; my settings\r\n"
                               "[Window]\r\n"
                               "Width=800\r\n"
                               "\r\n"
                               "[OPTIONS]\r\n"
                               "; chosen by hand\r\n"
                               "LastDepth = 3\r\n"
                               "Unknown Key=keep me\r\n"
                               "Print as=1\r\n"
                               "\r\n"
                               "[Other]\r\n"
                               "x=1\r\n");
    IniFile profile = IniFile::Load(path);
    ListingOptions options = LoadOptions(profile);
    EXPECT_EQ(options.lastDepth, 3);
    EXPECT_EQ(options.printAs, 1);

    options.lastDepth = 5;
    SaveOptions(options, profile);
    profile.Save(path);
    EXPECT_EQ(ReadFile(path), "; my settings\r\n"
                              "[Window]\r\n"
                              "Width=800\r\n"
                              "\r\n"
                              "[OPTIONS]\r\n"
                              "; chosen by hand\r\n"
                              "LastDepth=5\r\n"
                              "Unknown Key=keep me\r\n"
                              "Print as=1\r\n"
                              "CustomDepth=20\r\n"
                              "showManualPath=1\r\n"
                              "Size=1\r\n"
                              "Attributes=0\r\n"
                              "Summary=1\r\n"
                              "Print Title=1\r\n"
                              "Files and Folders=2\r\n"
                              "number STD Lines=1\r\n"
                              "number CD Lines=0\r\n"
                              "number File Lines=1\r\n"
                              "Add Size=1\r\n"
                              "Add Date=0\r\n"
                              "Add Attribute=0\r\n"
                              "Add Comments=0\r\n"
                              "Do not draw Grid=0\r\n"
                              "Add Size in Bytes=0\r\n"
                              "All in UpperCase=0\r\n"
                              "Date Format=0\r\n"
                              "LargeFont=0\r\n"
                              "current Font=Arial\r\n"
                              "\r\n"
                              "[Other]\r\n"
                              "x=1\r\n");
}

TEST(Profile, DefaultPathFollowsTheEnvironment) {
    const test::ScopedEnvironment home("HOME", "/home/reader");
    {
        const test::ScopedEnvironment chosen("DIRSCRIBE_PROFILE", "/tmp/elsewhere.ini");
        const test::ScopedEnvironment config("XDG_CONFIG_HOME", "/cfg");
        EXPECT_EQ(DefaultProfilePath(), "/tmp/elsewhere.ini");
    }
    const test::ScopedEnvironment chosen("DIRSCRIBE_PROFILE", nullptr);
    {
        const test::ScopedEnvironment config("XDG_CONFIG_HOME", "/cfg");
        EXPECT_EQ(DefaultProfilePath(), "/cfg/Dirscribe/Dirscribe.ini");
    }
    {
        const test::ScopedEnvironment config("XDG_CONFIG_HOME", "relative/cfg");
        EXPECT_EQ(DefaultProfilePath(), "/home/reader/.config/Dirscribe/Dirscribe.ini");
    }
    const test::ScopedEnvironment config("XDG_CONFIG_HOME", nullptr);
    EXPECT_EQ(DefaultProfilePath(), "/home/reader/.config/Dirscribe/Dirscribe.ini");
    const test::ScopedEnvironment empty("DIRSCRIBE_PROFILE", "");
    EXPECT_EQ(DefaultProfilePath(), "/home/reader/.config/Dirscribe/Dirscribe.ini");
}

} // namespace
} // namespace dirscribe
