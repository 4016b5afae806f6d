// SPDX-License-Identifier: MIT
// File details of real files from Debian packages and real encoders, where they are installed.
#include "core/table/FileDetails.h"
#include "support/ShellCommand.h"
#include "support/TempTree.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace dirscribe {
namespace {

using Rows = std::vector<std::pair<std::string, std::string>>;

bool HasCommand(const char* name) {
    return std::system(("command -v " + std::string(name) + " >/dev/null 2>&1").c_str()) == 0;
}

// The rows but the frame count, which follows the exact file size.
Rows WithoutFrames(Rows rows) {
    std::erase_if(rows, [](const auto& row) { return row.first == "**Frames:"; });
    return rows;
}

TEST(RealFileDetails, DebianInstallerLoader) {
    // An installer program with its strings under 040904e4, in lower case.
    const std::string path = "/usr/share/win32/win32-loader.exe";
    if (!std::filesystem::exists(path))
        GTEST_SKIP() << path << " is missing (package win32-loader)";
    const FileDetails details = ReadFileDetails(path, "win32-loader.exe", 0x0409);
    EXPECT_EQ(details.comment, "File's data:");
    ASSERT_EQ(details.rows.size(), 6u);
    EXPECT_EQ(details.rows[0],
              (std::pair<std::string, std::string>{"  ***Company Name", "The Debian Project"}));
    EXPECT_EQ(details.rows[1].first, "  ***File Version");
    EXPECT_EQ(details.rows[2], (std::pair<std::string, std::string>{"  ***File Description",
                                                                    "Debian-Installer loader"}));
    EXPECT_EQ(details.rows[3],
              (std::pair<std::string, std::string>{"  ***Legal Copyright", "GPLv3+"}));
    EXPECT_EQ(details.rows[4],
              (std::pair<std::string, std::string>{"  ***Product Name", "win32-loader"}));
    EXPECT_EQ(details.rows[5].first, "  ***Product Version");
    EXPECT_EQ(ReadFileDetails(path, "win32-loader.exe", 0x0407), details)
        << "no German strings: the table its translation list names";
}

TEST(RealFileDetails, EncodedAndTaggedMp3) {
    if (!HasCommand("lame") || !HasCommand("id3v2"))
        GTEST_SKIP() << "lame or id3v2 is missing";
    const test::TempTree tree;
    // 1,000,000 bytes of 16-bit stereo silence at 44.1 kHz: 5.7 s.
    tree.File("silence.raw", std::string(1'000'000, '\0'));
    const std::string raw = tree.Path("silence.raw");
    const std::string v1 = tree.Path("v1.mp3");
    const std::string both = tree.Path("both.mp3");
    const std::string encode = "lame --quiet -r -s 44.1 --bitwidth 16 -m j -b 128 --cbr ";
    ASSERT_EQ(std::system((encode +
                           "--id3v1-only --tt 'Hello World' --ta 'Some Artist' --tl "
                           "'An Album' --ty 1999 --tc 'A comment' --tg Rock '" +
                           raw + "' '" + v1 + "' 2>/dev/null")
                              .c_str()),
              0);
    ASSERT_EQ(std::system((encode + "'" + raw + "' '" + both + "' 2>/dev/null").c_str()), 0);
    ASSERT_EQ(std::system(("id3v2 -t 'Hello World' -a 'Some Artist' -A 'An Album' -y 1999 "
                           "-g 17 -T 3 '" +
                           both + "' >/dev/null")
                              .c_str()),
              0);

    const std::vector<std::pair<std::string, std::string>> stream = {
        {"**Length:", "0 min 5 sec"}, {"**Version:", "MPEG 1.000000 Layer 3"},
        {"**KBPS:", "128 Kbit"},      {"**Private:", "No"},
        {"**Mode:", "Joint Stereo"},  {"**Copyright:", "No"},
        {"**Frequency:", "44100Hz"},
    };

    FileDetails details = ReadFileDetails(v1, "v1.mp3", 0x0409);
    EXPECT_EQ(details.comment, "Id3v1 Tag:");
    std::vector<std::pair<std::string, std::string>> expected = {
        {"**Title:", "Hello World"}, {"**Artist:", "Some Artist"}, {"**Album:", "An Album"},
        {"**Year:", "1999"},         {"**Comment:", "A comment"},  {"**Genre:", "Rock"}};
    expected.insert(expected.end(), stream.begin(), stream.end());
    EXPECT_EQ(WithoutFrames(details.rows), expected);

    details = ReadFileDetails(both, "both.mp3", 0x0409);
    EXPECT_EQ(details.comment, "There're Id3v1 & Id3v2.3");
    expected = {{"**Title:", "Hello World"}, {"**Soloist:", "Some Artist"},
                {"**Album:", "An Album"},    {"**Year:", "1999"},
                {"**Genre:", "Rock"},        {"**Track:", "3"}};
    expected.insert(expected.end(), stream.begin(), stream.end());
    EXPECT_EQ(WithoutFrames(details.rows), expected);
}

TEST(RealFileDetails, Utf16AndVersion4TagsOfRealTaggers) {
    if (!HasCommand("lame") || !HasCommand("mid3v2"))
        GTEST_SKIP() << "lame or mid3v2 (package python3-mutagen) is missing";
    const test::TempTree tree;
    tree.File("silence.raw", std::string(1'000'000, '\0'));
    tree.File("cover.jpg", std::string(4096, '\xFF'));
    const std::string lame =
        "lame --quiet -r --bitwidth 16 --cbr '" + tree.Path("silence.raw") + "' ";
    const std::string utf16 = tree.Path("utf16.mp3");
    const std::string v24 = tree.Path("v24.mp3");
    // lame's tag in UTF-16 with padding; mid3v2's 2.4 tag in UTF-8 with a picture of 0xFF
    // bytes, on MPEG 2 audio.
    ASSERT_EQ(std::system((lame +
                           "-s 44.1 -m j -b 112 --id3v2-only --id3v2-utf16 --tt "
                           "'Gr\xC3\xBC\xC3\x9F"
                           "e' --ta Artist --tc 'A comment' --pad-id3v2 '" +
                           utf16 + "' 2>/dev/null")
                              .c_str()),
              0);
    ASSERT_EQ(std::system((lame + "-s 22.05 -m m -b 32 '" + v24 +
                           "' 2>/dev/null && mid3v2 -t '\xC3\x85sa' --TENC Enc -p '" +
                           tree.Path("cover.jpg") + ":cover:3:image/jpeg' '" + v24 + "'")
                              .c_str()),
              0);

    FileDetails details = ReadFileDetails(utf16, "utf16.mp3", 0x0409);
    EXPECT_EQ(details.comment, "Id3v2 Tag:");
    EXPECT_EQ(WithoutFrames(details.rows), (Rows{{"**Title:", "Gr\xC3\xBC\xC3\x9F"
                                                              "e"},
                                                 {"**Soloist:", "Artist"},
                                                 {"**Comments:", "eng_A comment"},
                                                 {"**Length:", "0 min 5 sec"},
                                                 {"**Version:", "MPEG 1.000000 Layer 3"},
                                                 {"**KBPS:", "112 Kbit"},
                                                 {"**Private:", "No"},
                                                 {"**Mode:", "Joint Stereo"},
                                                 {"**Copyright:", "No"},
                                                 {"**Frequency:", "44100Hz"}}));
    details = ReadFileDetails(v24, "v24.mp3", 0x0409);
    EXPECT_EQ(details.comment, "Id3v2 Tag:");
    ASSERT_EQ(details.rows.size(), 9u);
    EXPECT_EQ(details.rows[0], (Rows::value_type{"**Title:", "\xC3\x85sa"}));
    EXPECT_EQ(details.rows[2].second, "MPEG 2.000000 Layer 3");
    EXPECT_EQ(details.rows[3].second, "32 Kbit");
    EXPECT_EQ(details.rows[8].second, "22050Hz");
}

TEST(RealFileDetails, VariableBitrateMp3ShowsTheLengthFramesAndRateMediaInfoReads) {
    if (!HasCommand("lame") || !HasCommand("sox") || !HasCommand("mediainfo"))
        GTEST_SKIP() << "lame, sox or mediainfo is missing";
    const test::TempTree tree;
    ASSERT_TRUE(test::RunShell(tree.Root(), "sox -n -r 44100 -c 2 -b 16 tone.wav synth 3 sine && "
                                            "lame --quiet -V 5 tone.wav vbr.mp3"));
    const auto info = [&](const char* inform) {
        return std::stoi(test::ShellOutput(tree.Root(), std::string("mediainfo --Inform='Audio;") +
                                                            inform + "' vbr.mp3"));
    };
    const int seconds = info("%Duration%") / 1000;
    const Rows rows = ReadFileDetails(tree.Path("vbr.mp3"), "vbr.mp3", 0x0409).rows;
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_EQ(rows[0].second,
              std::to_string(seconds / 60) + " min " + std::to_string(seconds % 60) + " sec");
    EXPECT_EQ(rows[2].second, std::to_string((info("%BitRate%") + 500) / 1000) + " Kbit");
    EXPECT_EQ(rows[3].second, std::to_string(info("%FrameCount%")) + " frames");
}

} // namespace
} // namespace dirscribe
