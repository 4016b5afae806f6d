// SPDX-License-Identifier: MIT
// Version resources found in program files built here, and the strings looked up in them.
#include "core/pe/VersionResource.h"

#include "core/platform/FileByteSource.h"
#include "support/PeBytes.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace dirscribe {
namespace {

using test::PeFile;
using test::StringTable;
using test::TempTree;
using test::VersionInfoBlock;
using test::VersionResource;

class VersionResourceTest : public ::testing::Test {
protected:
    std::optional<VersionInfo> Read(const std::string& bytes, std::uint16_t language) {
        const std::string path = tree.Path("lib" + std::to_string(++files) + ".dll");
        test::WriteFile(path, bytes);
        const FileByteSource file(path);
        return ReadVersionInfo(file, language);
    }
    // The company string of the resource chosen for language, under the given table.
    std::optional<std::string> Company(const std::string& bytes, std::uint16_t language,
                                       const std::string& table) {
        const auto info = Read(bytes, language);
        if (!info)
            return std::nullopt;
        return info->QueryString("\\StringFileInfo\\" + table + "\\CompanyName");
    }

    TempTree tree;
    int files = 0;
};

// A resource whose tables for every language queried here name the resource's own language.
VersionResource NamedFor(std::uint16_t language, const std::u16string& name) {
    std::vector<StringTable> tables;
    for (const char* table : {"040904B0", "040704B0", "080704B0", "0C0C04B0"})
        tables.push_back({table, {{"CompanyName", name}}});
    return {language, VersionInfoBlock(tables)};
}

TEST_F(VersionResourceTest, TheLanguageIsChosenAsTheLoaderChoosesIt) {
    const std::string all =
        PeFile({NamedFor(0x0409, u"english"), NamedFor(0x0407, u"german"),
                NamedFor(0x0007, u"german neutral"), NamedFor(0x0000, u"neutral")});
    EXPECT_EQ(Company(all, 0x0407, "040704B0"), "german") << "the user's own language";
    EXPECT_EQ(Company(all, 0x0409, "040904B0"), "english");
    EXPECT_EQ(Company(all, 0x0807, "080704B0"), "german neutral")
        << "Swiss German falls back to German with a neutral sublanguage";
    EXPECT_EQ(Company(all, 0x0C0C, "0C0C04B0"), "neutral") << "then the neutral language";

    const std::string two = PeFile({NamedFor(0x0409, u"english"), NamedFor(0x0407, u"german")});
    EXPECT_EQ(Company(two, 0x0C0C, "0C0C04B0"), "english") << "then the first";

    const std::string one = PeFile({NamedFor(0x0407, u"german")}, {.pe32Plus = true});
    EXPECT_EQ(Company(one, 0x0409, "040904B0"), "german") << "a 64-bit image alike";
}

TEST_F(VersionResourceTest, NamesAndKeysIgnoreCaseAndValuesEndAtTheirFirstNul) {
    const std::string file =
        PeFile({{0x0409, VersionInfoBlock({{"040904b0",
                                            {{"companyNAME", std::u16string(u"Acme\0junk", 9)},
                                             {"FileDescription", u"Soci\u00e9t\u00e9 \U0001F600"},
                                             {"Comments", u""},
                                             {"ProductName", u"bad \xD800 half"}}}})}});
    const auto info = Read(file, 0x0409);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->QueryString("\\StringFileInfo\\040904B0\\CompanyName"), "Acme");
    EXPECT_EQ(info->QueryString("\\stringfileinfo\\040904B0\\COMPANYNAME"), "Acme");
    EXPECT_EQ(info->QueryString("\\StringFileInfo\\040904B0\\FileDescription"),
              "Soci\xC3\xA9t\xC3\xA9 \xF0\x9F\x98\x80");
    EXPECT_EQ(info->QueryString("\\StringFileInfo\\040904B0\\Comments"), "")
        << "an empty value is still found";
    EXPECT_EQ(info->QueryString("\\StringFileInfo\\040904B0\\ProductName"), "bad \xEF\xBF\xBD half")
        << "a lone surrogate is replaced";
    EXPECT_EQ(info->QueryString("\\StringFileInfo\\040904E4\\CompanyName"), std::nullopt);
    EXPECT_EQ(info->QueryString("\\StringFileInfo\\040904B0\\Company"), std::nullopt);
    EXPECT_EQ(info->QueryString("\\VarFileInfo\\040904B0\\CompanyName"), std::nullopt);
}

TEST_F(VersionResourceTest, FilesWithoutAReadableResourceGiveNothing) {
    const std::string good =
        PeFile({{0x0409, VersionInfoBlock({{"040904B0", {{"CompanyName", u"Acme"}}}})}});
    ASSERT_TRUE(Read(good, 0x0409));

    EXPECT_FALSE(Read(PeFile({}), 0x0409)) << "no resource section";
    EXPECT_FALSE(Read(PeFile({{0x0409, VersionInfoBlock({})}}, {.versionId = 2}), 0x0409))
        << "only id 1 is the version resource";
    EXPECT_FALSE(Read("MZ but nothing more", 0x0409));
    EXPECT_FALSE(Read("", 0x0409));
    std::string notVersion = good;
    notVersion[notVersion.find("V\0S\0_\0", 0, 6)] = 'X';
    EXPECT_FALSE(Read(notVersion, 0x0409)) << "a block that is not VS_VERSION_INFO";

    // The resource ends the file: every shorter piece of it is refused, never over-read.
    for (std::size_t size = 0; size < good.size(); ++size)
        ASSERT_FALSE(Read(good.substr(0, size), 0x0409)) << size;
}

TEST_F(VersionResourceTest, CorruptStructuresAreRefusedWithoutLooping) {
    const std::string good =
        PeFile({{0x0409, VersionInfoBlock({{"040904B0", {{"CompanyName", u"Acme"}}}})}});
    constexpr std::size_t kSection = 0x200;
    const auto patched = [&](std::size_t at, std::string bytes) {
        std::string file = good;
        file.replace(at, bytes.size(), bytes);
        return file;
    };
    // The type entry leads back to the root directory.
    EXPECT_FALSE(Read(patched(kSection + 20, std::string("\x00\x00\x00\x80", 4)), 0x0409));
    // The language directory claims 65535 entries.
    EXPECT_FALSE(Read(patched(kSection + 0x30 + 14, "\xFF\xFF"), 0x0409));
    // The data entry points outside every section.
    EXPECT_FALSE(Read(patched(kSection + 0x48, "\xF0\xFF\xFF\x7F"), 0x0409));
    // A section table that runs past the end of the file.
    EXPECT_FALSE(Read(patched(0x46, "\xFF\x00"), 0x0409));

    // A child block of length 0 ends the search instead of looping on it.
    std::string block = VersionInfoBlock({{"040904B0", {{"CompanyName", u"Acme"}}}});
    const std::size_t table = block.find(std::string("0\0"
                                                     "4\0"
                                                     "0\0"
                                                     "9\0",
                                                     8)) -
                              6;
    block[table] = 0;
    block[table + 1] = 0;
    const auto info = Read(PeFile({{0x0409, block}}), 0x0409);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->QueryString("\\StringFileInfo\\040904B0\\CompanyName"), std::nullopt);
}

} // namespace
} // namespace dirscribe
