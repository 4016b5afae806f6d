// SPDX-License-Identifier: MIT
// File details of real files from Debian packages and real encoders, where they are installed.
#include "core/table/FileDetails.h"
#include "support/ShellCommand.h"
#include "support/TempTree.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace dirscribe {
namespace {

using Rows = std::vector<std::pair<std::string, std::string>>;

// The rows with the labels of `wanted`, in the file's order.
Rows Only(const Rows& rows, const Rows& wanted) {
    Rows kept;
    for (const auto& row : rows)
        if (std::any_of(wanted.begin(), wanted.end(),
                        [&](const auto& w) { return w.first == row.first; }))
            kept.push_back(row);
    return kept;
}

TEST(RealFileDetails, DebianInstallerLoader) {
    // An installer program with its strings under 040904e4, in lower case.
    const std::string path = "/usr/share/win32/win32-loader.exe";
    if (!std::filesystem::exists(path))
        GTEST_SKIP() << path << " is missing (package win32-loader)";
    const FileDetails details = ReadFileDetails(path, "win32-loader.exe", 0x0409);
    EXPECT_EQ(details.comment, "File's data:");
    const Rows named = {{"  ***Company Name", "The Debian Project"},
                        {"  ***File Description", "Debian-Installer loader"},
                        {"  ***Legal Copyright", "GPLv3+"},
                        {"  ***Product Name", "win32-loader"}};
    EXPECT_EQ(Only(details.rows, named), named);
    EXPECT_EQ(details.rows.size(), 6u) << "and the file's and the product's versions";
    EXPECT_EQ(ReadFileDetails(path, "win32-loader.exe", 0x0407), details)
        << "no German strings: the table its translation list names";
}

// Tags of lame, id3v2 and mid3v2: version 1, both versions, UTF-16 with padding, 2.4 in
// UTF-8 with a picture of 0xFF bytes on MPEG 2 audio.
TEST(RealFileDetails, TagsAndStreamsOfRealEncodersAndTaggers) {
    if (!test::HasCommand("lame") || !test::HasCommand("id3v2") || !test::HasCommand("mid3v2"))
        GTEST_SKIP() << "lame, id3v2 or mid3v2 (package python3-mutagen) is missing";
    const test::TempTree tree;
    // 1,000,000 bytes of 16-bit stereo silence: 5.7 s at 44.1 kHz.
    tree.File("silence.raw", std::string(1'000'000, '\0'));
    tree.File("cover.jpg", std::string(4096, '\xFF'));
    const std::string lame = "lame --quiet -r --bitwidth 16 --cbr silence.raw ";
    const std::string joint128 = lame + "-s 44.1 -m j -b 128 ";
    struct Case {
        const char* file;
        std::string make;
        const char* comment;
        Rows rows;
    };
    const Case cases[] = {
        {"v1.mp3",
         joint128 + "--id3v1-only --tt 'Hello World' --ta 'Some Artist' --tl 'An Album' "
                    "--ty 1999 --tc 'A comment' --tg Rock v1.mp3",
         "Id3v1 Tag:",
         {{"**Title:", "Hello World"},
          {"**Artist:", "Some Artist"},
          {"**Album:", "An Album"},
          {"**Year:", "1999"},
          {"**Comment:", "A comment"},
          {"**Genre:", "Rock"},
          {"**Length:", "0 min 5 sec"},
          {"**KBPS:", "128 Kbit"},
          {"**Frequency:", "44100Hz"}}},
        {"both.mp3",
         joint128 + "both.mp3 && id3v2 -t 'Hello World' -a 'Some Artist' -A 'An Album' -y 1999 "
                    "-g 17 -T 3 both.mp3",
         "There're Id3v1 & Id3v2.3",
         {{"**Title:", "Hello World"},
          {"**Soloist:", "Some Artist"},
          {"**Album:", "An Album"},
          {"**Year:", "1999"},
          {"**Genre:", "Rock"},
          {"**Track:", "3"},
          {"**Length:", "0 min 5 sec"},
          {"**Version:", "MPEG 1.000000 Layer 3"},
          {"**Mode:", "Joint Stereo"}}},
        {"utf16.mp3",
         lame + "-s 44.1 -m j -b 112 --id3v2-only --id3v2-utf16 --tt 'Gr\xC3\xBC\xC3\x9F"
                "e' --ta Artist --tc 'A comment' --pad-id3v2 utf16.mp3",
         "Id3v2 Tag:",
         {{"**Title:", "Gr\xC3\xBC\xC3\x9F"
                       "e"},
          {"**Soloist:", "Artist"},
          {"**Comments:", "eng_A comment"},
          {"**KBPS:", "112 Kbit"},
          {"**Frequency:", "44100Hz"}}},
        {"v24.mp3",
         lame + "-s 22.05 -m m -b 32 v24.mp3 && mid3v2 -t '\xC3\x85sa' --TENC Enc "
                "-p 'cover.jpg:cover:3:image/jpeg' v24.mp3",
         "Id3v2 Tag:",
         {{"**Title:", "\xC3\x85sa"},
          {"**Version:", "MPEG 2.000000 Layer 3"},
          {"**KBPS:", "32 Kbit"},
          {"**Frequency:", "22050Hz"}}},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(test::RunShell(tree.Root(), c.make)) << c.make;
        const FileDetails details = ReadFileDetails(tree.Path(c.file), c.file, 0x0409);
        EXPECT_EQ(details.comment, c.comment) << c.file;
        EXPECT_EQ(Only(details.rows, c.rows), c.rows) << c.file;
    }
}

// A variable-bitrate file, a constant-bitrate one whose ID3v2 tag carries a cover picture
// of 3 MB (the audio alone gives the length and frames), named without an extension, one
// whose LAME Info frame (no sound) a 48 kHz frame length would count, and ffmpeg's, whose
// Xing frame says stereo before joint-stereo sound.
TEST(RealFileDetails, Mp3LengthFramesAndRateAreTheOnesMediaInfoReads) {
    if (!test::HasCommand("lame") || !test::HasCommand("sox") || !test::HasCommand("mediainfo") ||
        !test::HasCommand("mid3v2") || !test::HasCommand("ffmpeg"))
        GTEST_SKIP() << "lame, sox, mid3v2, ffmpeg or mediainfo is missing";
    const test::TempTree tree;
    tree.File("cover.jpg", std::string(3'000'000, '\xFF'));
    ASSERT_TRUE(test::RunShell(
        tree.Root(), "sox -n -r 44100 -c 2 -b 16 tone.wav synth 21 sine && lame --quiet -V 5 "
                     "tone.wav vbr.mp3 && lame --quiet -b 128 tone.wav covered && mid3v2 -t "
                     "Covered -p 'cover.jpg:cover:3:image/jpeg' covered && sox tone.wav -r 48000 "
                     "t48.wav && lame --quiet -b 192 --id3v1-only --tt One t48.wav v1.mp3 && "
                     "ffmpeg -v error -i tone.wav -b:a 128k ffmpeg.mp3"));
    for (const char* file : {"vbr.mp3", "covered", "v1.mp3", "ffmpeg.mp3"}) {
        const auto info = [&](const char* inform) {
            return test::ShellOutput(tree.Root(), std::string("mediainfo --Inform='Audio;") +
                                                      inform + "' " + file);
        };
        const int seconds = std::stoi(info("%Duration%")) / 1000;
        const Rows rows =
            Only(ReadFileDetails(tree.Path(file), file, 0x0409).rows,
                 {{"**Length:", ""}, {"**KBPS:", ""}, {"**Frames:", ""}, {"**Mode:", ""}});
        ASSERT_EQ(rows.size(), 4u) << file;
        EXPECT_EQ(rows[0].second,
                  std::to_string(seconds / 60) + " min " + std::to_string(seconds % 60) + " sec");
        EXPECT_EQ(rows[1].second,
                  std::to_string((std::stoi(info("%BitRate%")) + 500) / 1000) + " Kbit");
        EXPECT_EQ(rows[2].second, info("%FrameCount%") + " frames") << file;
        EXPECT_EQ(rows[3].second == "Joint Stereo",
                  info("%Format_Settings_Mode%") == "Joint stereo")
            << file;
    }
}

} // namespace
} // namespace dirscribe
