// SPDX-License-Identifier: MIT
// Reading, changing and writing INI text and files.
#include "core/options/IniFile.h"

#include "core/Error.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>

namespace dirscribe {
namespace {

using test::ReadFile;
using test::TempTree;

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
