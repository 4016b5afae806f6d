// SPDX-License-Identifier: MIT
// Fetching a file's details into the listing table: version strings, MP3 tags, no-data texts.
#include "core/table/FileDetails.h"

#include "core/table/TablePopulation.h"
#include "support/Mp3Bytes.h"
#include "support/PeBytes.h"
#include "support/TableRows.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>

namespace dirscribe {
namespace {

using test::PeFile;
using test::TempTree;
using test::VersionInfoBlock;
using Rows = std::vector<std::pair<std::string, std::string>>;

// A fetch as the window makes it: the request, its read and the insertion.
void Fetch(ListingTable& table, int row, const std::string& folder, const ListingShape& shape,
           std::uint16_t languageId) {
    if (const auto request = RequestFileDetails(table, row, folder, shape, languageId, nullptr))
        InsertFileDetails(table, row, request->Read());
}

constexpr std::uint16_t kEnglish = 0x0409;

class FileDetailsTest : public ::testing::Test {
protected:
    FileDetails Details(const std::string& name, std::uint16_t language = kEnglish) {
        return ReadFileDetails(tree.Path(name), name, language);
    }
    TempTree tree;
};

TEST_F(FileDetailsTest, VersionStringsComeInKeyOrderWithTheirLabels) {
    // Stored in the reverse order, with a key that is not shown; each value is its key.
    const std::vector<std::string> keys = {"CompanyName",     "FileVersion",    "FileDescription",
                                           "InternalName",    "LegalCopyright", "OriginalFilename",
                                           "ProductName",     "ProductVersion", "Comments",
                                           "LegalTrademarks", "PrivateBuild",   "SpecialBuild"};
    std::vector<std::pair<std::string, std::u16string>> stored = {{"Unlisted", u"not shown"}};
    for (auto key = keys.rbegin(); key != keys.rend(); ++key)
        stored.emplace_back(*key, std::u16string(key->begin(), key->end()));
    tree.File("app.exe", PeFile({{kEnglish, VersionInfoBlock({{"040904B0", stored}})}}));
    EXPECT_EQ(Details("app.exe"), (FileDetails{"File's data:",
                                               {{"  ***Company Name", "CompanyName"},
                                                {"  ***File Version", "FileVersion"},
                                                {"  ***File Description", "FileDescription"},
                                                {"  ***Internal Name", "InternalName"},
                                                {"  ***Legal Copyright", "LegalCopyright"},
                                                {"  ***Original Filename", "OriginalFilename"},
                                                {"  ***Product Name", "ProductName"},
                                                {"  ***Product Version", "ProductVersion"},
                                                {"  ***Comments", "Comments"},
                                                {"  ***Legal Trademarks", "LegalTrademarks"},
                                                {"  ***Private Build", "PrivateBuild"},
                                                {"  ***Special Build", "SpecialBuild"}}}));
}

TEST_F(FileDetailsTest, TheUnicodeTableComesFirstThenTheLatinOne) {
    tree.File("latin.dll",
              PeFile({{kEnglish, VersionInfoBlock({{"040904E4", {{"CompanyName", u"Latin"}}}})}}));
    EXPECT_EQ(Details("latin.dll"),
              (FileDetails{"File's data:", {{"  ***Company Name", "Latin"}}}));

    tree.File("both.dll",
              PeFile({{kEnglish, VersionInfoBlock({
                                     {"040904E4",
                                      {{"CompanyName", u"Latin"}, {"FileVersion", u"only latin"}}},
                                     {"040904B0", {{"CompanyName", u"Unicode"}}},
                                 })}}));
    EXPECT_EQ(Details("both.dll"), (FileDetails{"File's data:",
                                                {{"  ***Company Name", "Unicode"},
                                                 {"  ***File Version", "only latin"}}}));
}

TEST_F(FileDetailsTest, WithoutTheUsersTableTheTableTheFileNamesIsRead) {
    const auto file = [&](const char* name, const std::vector<test::StringTable>& tables,
                          std::uint32_t translation) {
        tree.File(name, PeFile({{0x0809, VersionInfoBlock(tables, translation)}}));
    };
    // Only British English, named by the translation list.
    file("gb.dll", {{"080904b0", {{"CompanyName", u"Colour Ltd"}}}}, 0x04B00809);
    EXPECT_EQ(Details("gb.dll"),
              (FileDetails{"File's data:", {{"  ***Company Name", "Colour Ltd"}}}));
    // Language-neutral, the translation list naming a table that is not there: the first.
    file("net.dll", {{"007f04b0", {{"FileVersion", u"1.0"}}}, {"0C0C04B0", {{"Comments", u"x"}}}},
         0x04B00000);
    EXPECT_EQ(Details("net.dll"), (FileDetails{"File's data:", {{"  ***File Version", "1.0"}}}));
    // The named table need not be the first; the user's own table, even an empty one, wins.
    file("de.dll",
         {{"040704B0", {{"CompanyName", u"Firma"}}},
          {"0C0C04E4", {{"CompanyName", u"Soci\u00E9t\u00E9"}}}},
         0x04E40C0C);
    EXPECT_EQ(Details("de.dll"),
              (FileDetails{"File's data:", {{"  ***Company Name", "Soci\xC3\xA9t\xC3\xA9"}}}));
    EXPECT_EQ(Details("de.dll", 0x0407),
              (FileDetails{"File's data:", {{"  ***Company Name", "Firma"}}}));
    file("empty.dll", {{"040904E4", {}}, {"080904b0", {{"CompanyName", u"Other"}}}}, 0x04B00809);
    EXPECT_EQ(Details("empty.dll"), (FileDetails{"File's data:", {}}));
}

TEST_F(FileDetailsTest, FilesWithoutDataGetTheirExtensionText) {
    tree.File("README.TXT", "plain text\r\n");
    tree.File("Makefile", "all:\n");
    tree.File("archive.tar.GZ", "");
    tree.File("tool.EXE", PeFile({}));
    tree.File("cut.dll",
              PeFile({{kEnglish, VersionInfoBlock({{"040904B0", {{"CompanyName", u"A"}}}})}})
                  .substr(0, 0x280));
    tree.Folder("folder.dll");
    for (const auto& [name, text] :
         std::vector<std::pair<std::string, std::string>>{{"README.TXT", ".txt"},
                                                          {"Makefile", "makefile"},
                                                          {"archive.tar.GZ", ".gz"},
                                                          {"tool.EXE", ".exe"},
                                                          {"cut.dll", ".dll"},
                                                          {"missing.dll", ".dll"},
                                                          {"folder.dll", ".dll"}})
        EXPECT_EQ(Details(name), (FileDetails{text + " extention file. No data.", {}})) << name;
}

TEST_F(FileDetailsTest, MpegAudioIsReadAsMp3WhateverItsNameAndAnMp3NameHoldingAnotherKindIsNot) {
    const std::string song = test::Id3v2Tag(3, test::TextFrame("TIT2", "Tagged"), 8) +
                             test::MpegFrames(test::kMpeg1Layer3At128, 417, 3);
    const FileDetails mp3 = {"Id3v2 Tag:",
                             {{"**Title:", "Tagged"},
                              {"**Length:", "0 min 0 sec"},
                              {"**Version:", "MPEG 1.000000 Layer 3"},
                              {"**KBPS:", "128 Kbit"},
                              {"**Frames:", "2 frames"},
                              {"**Private:", "No"},
                              {"**Mode:", "Joint Stereo"},
                              {"**Copyright:", "No"},
                              {"**Frequency:", "44100Hz"}}};
    for (const char* name : {"song.mp3", "song", "song.flac", "song.MP2"}) {
        tree.File(name, song);
        EXPECT_EQ(Details(name), mp3) << name;
    }
    // FLAC named .mp3: the MP3 reader does not take it (the library readers do).
    tree.File("flac.mp3", "fLaC\0\0\0\x22" + std::string(200, '\0'));
    EXPECT_EQ(Details("flac.mp3"), (FileDetails{".mp3 extention file. No data.", {}}));
}

TEST_F(FileDetailsTest, NamesEndingInMp3AreReadAsMp3WhateverTheirCase) {
    test::Id3v1Fields fields;
    fields.title = "Hello World";
    fields.genre = 0;
    tree.File("Song.MP3", std::string(100, 'x') + test::Id3v1Tag(fields));
    EXPECT_EQ(Details("Song.MP3"),
              (FileDetails{"Id3v1 Tag:", {{"**Title:", "Hello World"}, {"**Genre:", "Blues"}}}));
    tree.File("notes.txtmp3", "words");
    EXPECT_EQ(Details("notes.txtmp3"), (FileDetails{"There isn't any Tag.", {}}));
    EXPECT_EQ(Details("gone.mp3"), (FileDetails{"There isn't any Tag.", {}}))
        << "a file that cannot be opened reads as one without tags";
}

// Rows of a document without entries: the file by its name, ignoring case where the exact
// name is not there (a listing saved with All in UpperCase).
TEST_F(FileDetailsTest, FetchFindsTheRowsFileReplacesItsDetailsAndSaysWhenItCannotBeRead) {
    test::Id3v1Fields fields;
    fields.title = "Hello World";
    fields.genre = 17;
    tree.File("list/S\xC3\xB3ng.mp3", std::string(100, 'x') + test::Id3v1Tag(fields));
    ListingTable table;
    table.SetColumns({ListingColumn(ColumnKind::FileName), ListingColumn(ColumnKind::Comments),
                      ListingColumn(ColumnKind::Size)});
    test::AppendInferred(table, {"S\xC3\x93NG.MP3", "old", "     228", "", ""});
    test::AppendInferred(table, {"comments:", "a note", "", "", ""});
    test::AppendInferred(table, {"lost.mp3", "", "       0", "", ""});
    const std::string folder = tree.Path("list");

    // The typed comment stays whole; the summary opens the details rows below it.
    Fetch(table, 0, folder, {}, kEnglish);
    ASSERT_EQ(table.RowCount(), 6);
    EXPECT_EQ(table.Row(0), (RowRecord{"S\xC3\x93NG.MP3", "old", "     228", "", ""}));
    EXPECT_EQ(table.Row(1), (RowRecord{"comments:", "a note", "", "", ""}));
    EXPECT_EQ(table.Row(2), (RowRecord{"**File Data:", "Id3v1 Tag:", "", "", ""}));
    EXPECT_EQ(table.Row(3), (RowRecord{"**Title:", "Hello World", "", "", ""}));
    EXPECT_EQ(table.Row(4), (RowRecord{"**Genre:", "Rock", "", "", ""}));
    Fetch(table, 4, folder + "/", {}, kEnglish);
    EXPECT_EQ(table.RowCount(), 6) << "a second fetch, from a row of the entry, replaces them";
    EXPECT_EQ(table.Cell(0, 1), "old");

    // An empty cell takes the summary, and a fetch again replaces what the first one wrote.
    Fetch(table, 5, folder, {}, kEnglish);
    EXPECT_EQ(table.Cell(5, 1), "Cannot read the file: No such file or directory");
    tree.File("list/lost.mp3", std::string(100, 'x') + test::Id3v1Tag(fields));
    Fetch(table, 5, folder, {}, kEnglish);
    EXPECT_EQ(table.Row(5)[1] + "|" + table.Row(6)[0], "Id3v1 Tag:|**Title:");
    Fetch(table, 8, folder, {}, kEnglish);
    Fetch(table, -1, folder, {}, kEnglish);
    EXPECT_EQ(table.RowCount(), 8) << "rows outside the table change nothing";
}

} // namespace
} // namespace dirscribe
