// SPDX-License-Identifier: MIT
// Settings read from and written to real profile files, and the INI text and files they
// live in.
#include "core/options/Profile.h"

#include "core/Error.h"
#include "core/options/IniFile.h"
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

TEST(Profile, MissingOrMalformedEntriesGiveTheDefaultSettings) {
    TempTree tree;
    EXPECT_EQ(LoadOptions(IniFile::Load(tree.Path("none/Dirscribe.ini"))), ListingOptions{});
    // Every entry malformed, out of its range, or empty.
    for (const char* bad : {"x", "", "-2", "1001", "99999999999", "1e0", "0x0", "1 1", "-"}) {
        std::string text = "[Options]\n";
        for (const OptionEntry& entry : OptionEntriesInReadOrder())
            text += std::string(entry.name) + "=" + bad + "\n";
        ListingOptions expected;
        if (*bad != '\0')
            expected.currentFont = bad; // any one-line name is a font name
        EXPECT_EQ(LoadOptions(IniFile::Parse(text)), expected) << bad;
    }
}

TEST(Profile, SizeAndAttributesFollowTheirLaterEntries) {
    IniFile profile = IniFile::Parse("[Options]\nSize=0\nAdd Size=1\nAttributes=1\n"
                                     "Add Attribute=0\nAdd Date=1\n");
    ListingOptions options = LoadOptions(profile);
    EXPECT_EQ(options.addSize, 1);
    EXPECT_EQ(options.addAttribute, 0);
    EXPECT_EQ(options.savedAddDate, 1);
    EXPECT_EQ(options.savedAddAttribute, 0);

    SaveOptions(options, profile); // both entries of a setting get its value
    EXPECT_EQ(profile.Value("Options", "Size"), "1");
    EXPECT_EQ(profile.Value("Options", "Attributes"), "0");

    // Missing later entries take their defaults, whatever the earlier ones said.
    options = LoadOptions(IniFile::Parse("[Options]\nSize=0\nAttributes=1\n"));
    EXPECT_EQ(options.addSize, 1);
    EXPECT_EQ(options.addAttribute, 0);
    options = LoadOptions(IniFile::Parse("[Options]\nAdd Size=0\nSize=1\n"));
    EXPECT_EQ(options.addSize, 0);
}

TEST(Profile, RangeEndsSignsAndBlanksAreAccepted) {
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
    EXPECT_EQ(edges.filesAndFolders, ListingContent::FoldersOnly);
    EXPECT_EQ(edges.printAs, PageLayout::ZipInsert);
    EXPECT_EQ(edges.currentFont, "Times New Roman");
    EXPECT_EQ(LoadOptions(IniFile::Parse("[Options]\nCustomDepth=1001\n")).customDepth, 20);
    EXPECT_EQ(LoadOptions(IniFile::Parse("[Options]\nCustomDepth=0\n")).customDepth, 0);

    EXPECT_EQ(ParseProfileInteger("2147483647"), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(ParseProfileInteger("-2147483648"), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(ParseProfileInteger(" \t+7 "), 7);
    for (const char* refused :
         {"2147483648", "-2147483649", "99999999999999999999999", "", "+", "- 1", "12abc"})
        EXPECT_EQ(ParseProfileInteger(refused), std::nullopt) << refused;
}

TEST(Profile, SavedSettingsComeBackEqual) {
    // Every setting away from its default, at one end of its range.
    ListingOptions options;
    for (const OptionEntry& entry : OptionEntriesInReadOrder())
        if (entry.integer != nullptr)
            entry.setInteger(options, entry.integer(ListingOptions{}) == entry.maximum
                                          ? entry.minimum
                                          : entry.maximum);
    options.currentFont = "DejaVu Sans Mono";
    // Run-time flags are not stored; after loading they equal the shown columns.
    options.savedAddDate = options.addDate;
    options.savedAddAttribute = options.addAttribute;

    TempTree tree;
    const std::string path = tree.Path("Dirscribe.ini");
    IniFile profile;
    SaveOptions(options, profile);
    profile.Save(path);
    EXPECT_EQ(LoadOptions(IniFile::Load(path)), options);

    // A font name that cannot be kept on one line is stored as the default.
    options.currentFont = "Bad\nFont";
    SaveOptions(options, profile);
    EXPECT_EQ(profile.Value("Options", "current Font"), "Arial");
}

// A profile written by hand: CR LF line ends, comments, other sections, a key the program
// does not know and blanks around "=".
TEST(Profile, SavingKeepsEverythingElseAndChangesEntriesInPlace) {
    TempTree tree;
    const std::string path = tree.Path("Dirscribe.ini");
    tree.File("Dirscribe.ini", test::ReadTestData("profile/by-hand.ini"));
    IniFile profile = IniFile::Load(path);
    ListingOptions options = LoadOptions(profile);
    EXPECT_EQ(options.lastDepth, 3);
    EXPECT_EQ(options.printAs, PageLayout::FileData);

    options.lastDepth = 5;
    SaveOptions(options, profile);
    profile.Save(path);
    EXPECT_EQ(ReadFile(path), test::ReadTestData("profile/by-hand-saved.ini"));
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

constexpr std::string_view kSample = "top=level\r\n"
                                     "; a comment=not a key\r\n"
                                     "[ Window ]\r\n"
                                     "  Width  =  800  \r\n"
                                     "width=999\r\n"
                                     "not an entry\r\n"
                                     "=no key\r\n"
                                     "[broken\r\n"
                                     "Formula=a=b\r\n"
                                     "\r\n"
                                     "[Options]\r\n"
                                     "Print as =1\r\n";

TEST(IniFile, ParsesSectionsKeysAndValues) {
    const IniFile ini = IniFile::Parse("\xEF\xBB\xBF" + std::string(kSample));
    EXPECT_EQ(ini.Value("", "top"), "level");
    EXPECT_EQ(ini.Value("window", "WIDTH"), "800") << "the first of two equal keys wins";
    EXPECT_EQ(ini.Value("Window", "Formula"), "a=b") << "a header without ']' is no header";
    EXPECT_EQ(ini.Value("Window", "not an entry"), std::nullopt);
    EXPECT_EQ(ini.Value("Window", ""), std::nullopt);
    EXPECT_EQ(ini.Value("", "; a comment"), std::nullopt);
    EXPECT_EQ(ini.Value("broken", "Formula"), std::nullopt);
    EXPECT_EQ(ini.Value("Options", "print as"), "1");
    EXPECT_EQ(ini.Value("Options", "Print as "), "1");
    EXPECT_EQ(ini.Value("Options", "Print"), std::nullopt);
    EXPECT_EQ(ini.Value("Options", "top"), std::nullopt);
    EXPECT_EQ(ini.Value("Missing", "Width"), std::nullopt);
    EXPECT_EQ(ini.Text(), "\xEF\xBB\xBF" + std::string(kSample))
        << "unchanged text comes back as it was";

    const IniFile unix = IniFile::Parse("[A]\nk=v\nlast=no line end");
    EXPECT_EQ(unix.Value("A", "last"), "no line end");
    EXPECT_EQ(unix.Text(), "[A]\nk=v\nlast=no line end\n");
    EXPECT_EQ(IniFile::Parse("").Text(), "");
}

// Changes in place and additions at the end of a section are checked with a whole profile.
TEST(IniFile, SetValueChangesTheFirstEntryAndAddsSectionsAtTheEnd) {
    IniFile ini = IniFile::Parse("[Options]\nSize=1\nSIZE=0\n\n[Other]\nx=1\n");
    ini.SetValue("OPTIONS", "size", "0");
    ini.SetValue("Fresh", "y", " spaced ");
    EXPECT_EQ(ini.Text(), "[Options]\nsize=0\nSIZE=0\n\n[Other]\nx=1\n\n[Fresh]\ny= spaced \n");
    EXPECT_EQ(ini.Value("Fresh", "y"), "spaced");

    IniFile empty;
    empty.SetValue("", "top", "1");
    empty.SetValue("S", "k", "v");
    EXPECT_EQ(empty.Text(), "top=1\n\n[S]\nk=v\n");
}

TEST(IniFile, SetValueRefusesWhatCannotBeOneLine) {
    IniFile ini = IniFile::Parse("[S]\nk=v\n");
    EXPECT_THROW(ini.SetValue("S", "k", "two\nlines"), Error);
    EXPECT_THROW(ini.SetValue("S", "k", "cr\r"), Error);
    EXPECT_THROW(ini.SetValue("S", "a=b", "v"), Error);
    EXPECT_THROW(ini.SetValue("S", " [k", "v"), Error);
    EXPECT_THROW(ini.SetValue("S", ";k", "v"), Error);
    EXPECT_THROW(ini.SetValue("S", "  ", "v"), Error);
    EXPECT_THROW(ini.SetValue("S]", "k", "v"), Error);
    EXPECT_THROW(ini.SetValue("S\n", "k", "v"), Error);
    EXPECT_EQ(ini.Text(), "[S]\nk=v\n");
}

TEST(IniFile, LoadsAndSavesRealFiles) {
    TempTree tree;
    EXPECT_EQ(IniFile::Load(tree.Path("missing.ini")).Text(), "");

    tree.File("p.ini", "[S]\r\nk=v\r\n");
    IniFile ini = IniFile::Load(tree.Path("p.ini"));
    ini.SetValue("S", "k", "w");
    const std::string nested = tree.Path("a/b/c/p.ini");
    ini.Save(nested);
    EXPECT_EQ(ReadFile(nested), "[S]\r\nk=w\r\n");

    // Exactly 1 MiB is still a profile; one byte more is not.
    const std::string limit(std::size_t{1} << 20, 'x');
    tree.File("limit.ini", "[S]\nk=" + limit.substr(7));
    EXPECT_EQ(IniFile::Load(tree.Path("limit.ini")).Value("S", "k")->size(), limit.size() - 7);
    tree.File("big.ini", limit + "\n");
    EXPECT_THROW((void)IniFile::Load(tree.Path("big.ini")), Error);
    // Other files that cannot be read are the file reader's to refuse.
    tree.File("file", "");
    EXPECT_THROW((void)IniFile::Load(tree.Path("file/p.ini")), Error) << "not a folder";
    EXPECT_THROW(ini.Save(tree.Path("file/sub/p.ini")), Error) << "folder cannot be created";
}

} // namespace
} // namespace dirscribe
