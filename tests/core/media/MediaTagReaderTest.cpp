// SPDX-License-Identifier: MIT
// MP3 tags and stream properties read from files made here byte by byte.
#include "core/media/MediaTagReader.h"

#include "core/platform/FileByteSource.h"
#include "support/Mp3Bytes.h"
#include "support/TempTree.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace dirscribe {
namespace {

using test::Id3v1Fields;
using test::Id3v1Tag;
using test::Id3v2Frame;
using test::Id3v2FrameClaiming;
using test::Id3v2Tag;
using test::kMpeg1Layer3At128;
using test::MpegHeader;
using test::TempTree;
using test::TextFrame;
using Pairs = std::vector<std::pair<std::string, std::string>>;

// The stream lines of the worked example: a 4,000,000-byte file at 128 kbit/s, 44100 Hz,
// joint stereo. 32,000 kbit / 128 = 250 s; 4,000,000 / 417.959 = 9570.3 frames.
const Pairs kWorkedExampleStream = {
    {"**Length:", "4 min 10 sec"}, {"**Version:", "MPEG 1.000000 Layer 3"},
    {"**KBPS:", "128 Kbit"},       {"**Frames:", "9570 frames"},
    {"**Private:", "No"},          {"**Mode:", "Joint Stereo"},
    {"**Copyright:", "No"},        {"**Frequency:", "44100Hz"},
};

class MediaTagReaderTest : public ::testing::Test {
protected:
    // Writes content to a file (zero bytes added up to size, if given) and reads its tags.
    Pairs Read(const std::string& content, std::uint64_t size = 0) {
        const std::string path = tree.Path("song" + std::to_string(++files) + ".mp3");
        test::WriteFile(path, content);
        if (size > content.size())
            std::filesystem::resize_file(path, size);
        const FileByteSource file(path);
        std::vector<std::string> labels;
        std::vector<std::string> values;
        MediaTagReader::ReadTags(file, labels, values);
        EXPECT_EQ(labels.size(), values.size());
        Pairs pairs;
        for (std::size_t i = 0; i < labels.size() && i < values.size(); ++i)
            pairs.emplace_back(labels[i], values[i]);
        return pairs;
    }

    static Pairs Join(Pairs head, const Pairs& tail) {
        head.insert(head.end(), tail.begin(), tail.end());
        return head;
    }

    // A tag holding one frame and no audio behind it.
    std::string OnlyFrame(const std::string& frame) { return Id3v2Tag(3, frame, 32); }

    TempTree tree;
    int files = 0;
};

TEST_F(MediaTagReaderTest, Id3v1FieldsAreCutAtTwoBlanksAndBlankStartsAreLeftOut) {
    Id3v1Fields fields;
    fields.title = "Hello World";
    fields.artist = " Leading blank";
    fields.album = "Greatest Hits";
    fields.year = "1999";
    fields.comment = "Nice  song";
    fields.genre = 17;
    EXPECT_EQ(Read(std::string(200, 'x') + Id3v1Tag(fields)), (Pairs{{" ", "Id3v1 Tag:"},
                                                                     {"**Title:", "Hello World"},
                                                                     {"**Album:", "Greatest Hits"},
                                                                     {"**Year:", "1999"},
                                                                     {"**Comment:", "Nice"},
                                                                     {"**Genre:", "Rock"}}))
        << "no audio header at the start, so no stream lines";

    // A full album field runs straight into the year, which keeps its own four bytes.
    fields = {};
    fields.album = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcd";
    fields.year = "1999";
    EXPECT_EQ(Read(Id3v1Tag(fields)), (Pairs{{" ", "Id3v1 Tag:"},
                                             {"**Album:", "ABCDEFGHIJKLMNOPQRSTUVWXYZabcd"},
                                             {"**Year:", "1999"}}));
}

TEST_F(MediaTagReaderTest, Id3v1TextsEndAtControlAndHighBytes) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"A B C", "A B C"},         // single blanks stay
        {"end ", "end"},            // a blank before the zero padding ends it
        {"Tab\there", "Tab"},       // 0x09 is below 0x15
        {"Ctl\x15ok", "Ctl\x15ok"}, // 0x15 alone does not end it
        {"Ctl\x15\x15x", "Ctl"},    // two low bytes do
        {"Caf\xE9 au lait", "Caf"}, // bytes from 0x80 count as low
        {"!", "!"},                 // one character
        {"123456789012345678901234567890", "123456789012345678901234567890"},
    };
    for (const auto& [raw, expected] : cases) {
        SCOPED_TRACE(raw);
        Id3v1Fields fields;
        fields.title = raw;
        EXPECT_EQ(Read(Id3v1Tag(fields)), (Pairs{{" ", "Id3v1 Tag:"}, {"**Title:", expected}}));
    }
    for (const std::string& raw :
         std::vector<std::string>{"\xC9t\xE9", " lead", std::string(1, '\0') + "x"}) {
        Id3v1Fields fields;
        fields.title = raw;
        EXPECT_EQ(Read(Id3v1Tag(fields)), (Pairs{{" ", "Id3v1 Tag:"}}))
            << "a field whose first byte is not above a blank is left out";
    }
}

TEST_F(MediaTagReaderTest, Id3v1GenreBytes) {
    const std::vector<std::pair<unsigned char, const char*>> named = {
        {0, "Blues"}, {17, "Rock"}, {20, "Alternative"}, {100, "Humour"}, {147, "Synth Pop"}};
    for (const auto& [genre, name] : named) {
        Id3v1Fields fields;
        fields.genre = genre;
        EXPECT_EQ(Read(Id3v1Tag(fields)), (Pairs{{" ", "Id3v1 Tag:"}, {"**Genre:", name}}));
    }
    for (const int genre : {148, 200, 255}) {
        Id3v1Fields fields;
        fields.genre = static_cast<unsigned char>(genre);
        EXPECT_EQ(Read(Id3v1Tag(fields)), (Pairs{{" ", "Id3v1 Tag:"}})) << genre;
    }
}

TEST_F(MediaTagReaderTest, Id3v2FramesInFileOrderThenTheWorkedExampleStream) {
    const std::string frames =
        TextFrame("TIT2", "Hello World") + TextFrame("TPE1", "Soloist Name") +
        TextFrame("TPE2", "The Band") + TextFrame("TPE3", "Conductor X") +
        TextFrame("TALB", "An Album") + TextFrame("TYER", "2001") + TextFrame("TRCK", "7/12") +
        Id3v2Frame("COMM", std::string("\0eng", 4) + std::string("desc\0", 5) + "the comment") +
        TextFrame("TCON", "(17)") + TextFrame("TXXX", "not shown");
    const std::string file = Id3v2Tag(3, frames, 64) + MpegHeader(kMpeg1Layer3At128);
    EXPECT_EQ(Read(file, 4'000'000), Join({{" ", "Id3v2 Tag:"},
                                           {"**Title:", "Hello World"},
                                           {"**Soloist:", "Soloist Name"},
                                           {"**Band:", "The Band"},
                                           {"**Conductor:", "Conductor X"},
                                           {"**Album:", "An Album"},
                                           {"**Year:", "2001"},
                                           {"**Track:", "7/12"},
                                           {"**Comments:", "engdesc_the comment"},
                                           {"**Genre:", "Rock"}},
                                          kWorkedExampleStream));
}

TEST_F(MediaTagReaderTest, BothTagsShowOnlyTheId3v2FramesAndNeitherOnlyTheStream) {
    Id3v1Fields fields;
    fields.title = "From v1";
    fields.genre = 0;
    std::string file =
        Id3v2Tag(3, TextFrame("TIT2", "From v2"), 16) + MpegHeader(kMpeg1Layer3At128);
    file += std::string(100'000 - 128 - file.size(), '\0') + Id3v1Tag(fields);
    // 100,000 bytes: 800 kbit / 128 = 6 s; 100,000 / 417.959 = 239.3 frames.
    EXPECT_EQ(Read(file), (Pairs{{" ", "There're Id3v1 & Id3v2.3"},
                                 {"**Title:", "From v2"},
                                 {"**Length:", "0 min 6 sec"},
                                 {"**Version:", "MPEG 1.000000 Layer 3"},
                                 {"**KBPS:", "128 Kbit"},
                                 {"**Frames:", "239 frames"},
                                 {"**Private:", "No"},
                                 {"**Mode:", "Joint Stereo"},
                                 {"**Copyright:", "No"},
                                 {"**Frequency:", "44100Hz"}}));
    file[3] = 4;
    EXPECT_EQ(Read(file).front(),
              (std::pair<std::string, std::string>{" ", "There're Id3v1 & Id3v2.4"}));

    EXPECT_EQ(Read(MpegHeader(kMpeg1Layer3At128), 4'000'000),
              Join({{" ", "There isn't any Tag."}}, kWorkedExampleStream));
    EXPECT_EQ(Read("plain text, no audio"), (Pairs{{" ", "There isn't any Tag."}}));
    EXPECT_EQ(Read(""), (Pairs{{" ", "There isn't any Tag."}}));
}

TEST_F(MediaTagReaderTest, GenreNumbersInParentheses) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"(17)", "Rock"},     {"(17)(20)", "Rock, Alternative"},
        {"(100)", "Humour"},  {"Rock", "Rock"},
        {"(17)Rock", "Rock"}, {"(17)(20)(0)", "Rock, Alternative"}, // a third pair is ignored
        {"(0)", "Blues"},     {"(147)", "Synth Pop"},
        {"(148)", "148"},                     // past the table: the number as written
        {"(RX)", "RX"},       {"(17", "(17"}, // no pair
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(Read(OnlyFrame(TextFrame("TCON", text))),
                  (Pairs{{" ", "Id3v2 Tag:"}, {"**Genre:", expected}}));
    }
}

TEST_F(MediaTagReaderTest, FrameTextsBecomeUtf8AndHighBytesDoNotStopTheScan) {
    // 0xFF after a non-zero byte is passed over; the audio header after the padding is read.
    const std::string frames = TextFrame("TIT2", "a\xFF"
                                                 "b") +
                               TextFrame("TALB", "Caf\xC3\xA9 \xE9t\xE9");
    EXPECT_EQ(Read(Id3v2Tag(3, frames, 10) + MpegHeader(kMpeg1Layer3At128), 4'000'000),
              Join({{" ", "Id3v2 Tag:"},
                    {"**Title:", "a\xC3\xBF"
                                 "b"},
                    {"**Album:", "Caf\xC3\xA9 \xC3\xA9t\xC3\xA9"}},
                   kWorkedExampleStream));

    // A UTF-16 text shows its byte-order mark and first character; its 0xFF follows the
    // encoding byte 1, so the scan goes on to the next frame.
    const std::string utf16 =
        Id3v2Frame("TIT2", std::string("\x01\xFF\xFEH\0i\0", 7)) + TextFrame("TPE1", "Next");
    EXPECT_EQ(
        Read(OnlyFrame(utf16)),
        (Pairs{{" ", "Id3v2 Tag:"}, {"**Title:", "\xC3\xBF\xC3\xBEH"}, {"**Soloist:", "Next"}}));
}

TEST_F(MediaTagReaderTest, AHighByteAfterAZeroEndsTheScanAndIsReadAsTheAudioHeader) {
    // An empty UTF-16 description ends in zeros, and the byte-order mark after it is taken
    // for the audio: the frames behind it are not read, the header is read there.
    const std::string frames = Id3v2Frame("COMM", std::string("\x01"
                                                              "eng\0\0\xFF\xFE"
                                                              "A\0",
                                                              10)) +
                               TextFrame("TIT2", "never read");
    // FF FE 41 00: MPEG 1 Layer I, bitrate index 4 (128), 44100 Hz, private bit, stereo.
    // 1000 bytes: 8 kbit / 128 = 0 s; frame length 128000 / 44100 x 12 = 34.83, so 28.7
    // frames. The comment starts after its encoding byte; its zeros show as "_".
    const Pairs expected = {{" ", "Id3v2 Tag:"},
                            {"**Comments:", "eng__\xC3\xBF\xC3\xBE"
                                            "A_"},
                            {"**Length:", "0 min 0 sec"},
                            {"**Version:", "MPEG 1.000000 Layer 1"},
                            {"**KBPS:", "128 Kbit"},
                            {"**Frames:", "28 frames"},
                            {"**Private:", "Yes"},
                            {"**Mode:", "Stereo"},
                            {"**Copyright:", "No"},
                            {"**Frequency:", "44100Hz"}};
    EXPECT_EQ(Read(Id3v2Tag(3, frames, 0), 1000), expected);
}

TEST_F(MediaTagReaderTest, FrameSizesThatLieAreBounded) {
    // Sizes 0 and 1 give empty texts; the frames after them are still found.
    const std::string small = Id3v2FrameClaiming("TIT2", 0, "") +
                              Id3v2FrameClaiming("TALB", 1, std::string(1, '\0')) +
                              TextFrame("TPE1", "Next");
    EXPECT_EQ(
        Read(OnlyFrame(small)),
        (Pairs{{" ", "Id3v2 Tag:"}, {"**Title:", ""}, {"**Album:", ""}, {"**Soloist:", "Next"}}));

    // A size far past the end of the file reads what the file holds.
    const std::string last = Id3v2FrameClaiming("TIT2", 0x7E7E7E7Eu, std::string("\0Short", 6));
    EXPECT_EQ(Read(Id3v2Tag(3, "", 0) + last), (Pairs{{" ", "Id3v2 Tag:"}, {"**Title:", "Short"}}));
    EXPECT_EQ(Read(Id3v2Tag(3, "", 0) +
                   Id3v2FrameClaiming("COMM", 0x7E7E7E7Eu, std::string("\0eng\0x", 6))),
              (Pairs{{" ", "Id3v2 Tag:"}, {"**Comments:", "eng_x"}}))
        << "bytes past the end of the file are not part of the comment";

    // A large comment is cut at the fixed bound, not read whole.
    const std::string big =
        Id3v2FrameClaiming("COMM", 0x7E7E7E7Eu, std::string(1, '\0') + std::string(40000, 'a'));
    const Pairs pairs = Read(Id3v2Tag(3, "", 0) + big);
    ASSERT_EQ(pairs.size(), 2u);
    EXPECT_EQ(pairs[1].first, "**Comments:");
    EXPECT_EQ(pairs[1].second, std::string(MediaTagReader::kMaxFrameTextBytes, 'a'));
}

TEST_F(MediaTagReaderTest, AFrameIdOnTheLastSearchedByteKeepsItsWholeSize) {
    // 10 header bytes, the album frame's 10 and its 4002 data bytes put the next id at
    // 4022..4025, the last bytes searched; its size lies just past them, at 4026..4029.
    const std::string frames =
        TextFrame("TALB", std::string(4001, 'a')) + TextFrame("TIT2", "Title");
    EXPECT_EQ(
        Read(Id3v2Tag(3, frames, 0)),
        (Pairs{{" ", "Id3v2 Tag:"}, {"**Album:", std::string(4001, 'a')}, {"**Title:", "Title"}}))
        << "the search ends with the head: no audio header is read";
}

TEST_F(MediaTagReaderTest, StreamPropertiesOfOtherHeaders) {
    const auto stream = [](const char* length, const char* version, const char* kbps,
                           const char* frames, const char* isPrivate, const char* mode,
                           const char* copyright, const char* frequency) {
        return Pairs{{" ", "There isn't any Tag."},
                     {"**Length:", length},
                     {"**Version:", version},
                     {"**KBPS:", kbps},
                     {"**Frames:", frames},
                     {"**Private:", isPrivate},
                     {"**Mode:", mode},
                     {"**Copyright:", copyright},
                     {"**Frequency:", frequency}};
    };
    // Layer I, 128 kbit/s, 44100 Hz: frame length 128000 / 44100 x 12 = 34.83.
    EXPECT_EQ(Read(MpegHeader(0xFFFF4000), 4'000'000),
              stream("4 min 10 sec", "MPEG 1.000000 Layer 1", "128 Kbit", "114843 frames", "No",
                     "Stereo", "No", "44100Hz"));
    // Private and copyright bits, single channel.
    EXPECT_EQ(Read(MpegHeader(0xFFFB91C8), 4'000'000),
              stream("4 min 10 sec", "MPEG 1.000000 Layer 3", "128 Kbit", "9570 frames", "Yes",
                     "Single Channel", "Yes", "44100Hz"));
    // MPEG 2 Layer II, index 8 (64 kbit/s), 24000 Hz, dual channel: 500 s, length 384.
    EXPECT_EQ(Read(MpegHeader(0xFFF58480), 4'000'000),
              stream("8 min 20 sec", "MPEG 2.000000 Layer 2", "64 Kbit", "10416 frames", "No",
                     "Dual Channel", "No", "24000Hz"));
    // MPEG 2.5 has 11025 Hz at index 0: length 64000 / 11025 x 144 = 835.92.
    EXPECT_EQ(Read(MpegHeader(0xFFE38064), 4'000'000),
              stream("8 min 20 sec", "MPEG 2.500000 Layer 3", "64 Kbit", "4785 frames", "No",
                     "Joint Stereo", "No", "11025Hz"));
}

TEST_F(MediaTagReaderTest, NoRateGivesNoLengthAndNoFrames) {
    // Free format (bitrate index 0).
    EXPECT_EQ(Read(MpegHeader(0xFFFB0064), 4'000'000),
              (Pairs{{" ", "There isn't any Tag."},
                     {"**Length:", "0 min 0 sec"},
                     {"**Version:", "MPEG 1.000000 Layer 3"},
                     {"**KBPS:", "0 Kbit"},
                     {"**Frames:", "0 frames"},
                     {"**Private:", "No"},
                     {"**Mode:", "Joint Stereo"},
                     {"**Copyright:", "No"},
                     {"**Frequency:", "44100Hz"}}));
    // The reserved version has no frequency; its bitrate comes from the MPEG 1 rows.
    EXPECT_EQ(Read(MpegHeader(0xFFEB9064), 4'000'000),
              (Pairs{{" ", "There isn't any Tag."},
                     {"**Length:", "4 min 10 sec"},
                     {"**Version:", "MPEG 0.000000 Layer 3"},
                     {"**KBPS:", "128 Kbit"},
                     {"**Frames:", "0 frames"},
                     {"**Private:", "No"},
                     {"**Mode:", "Joint Stereo"},
                     {"**Copyright:", "No"},
                     {"**Frequency:", "0Hz"}}));
    // The reserved frequency index 3 and the invalid bitrate index 15.
    const Pairs reserved = Read(MpegHeader(0xFFFBFC64), 4'000'000);
    ASSERT_EQ(reserved.size(), 9u);
    EXPECT_EQ(reserved[1].second, "0 min 0 sec");
    EXPECT_EQ(reserved[4].second, "0 frames");
    EXPECT_EQ(reserved[8].second, "0Hz");
}

TEST_F(MediaTagReaderTest, LengthOfFilesPast4GiB) {
    // 5 GiB: 5,368,709,120 / 125 / 128 = 335,544 s = 5592 min 24 s;
    // 5,368,709,120 / 417.959 = 12,845,055.6 frames.
    const Pairs pairs = Read(MpegHeader(kMpeg1Layer3At128), 5ull << 30);
    ASSERT_EQ(pairs.size(), 9u);
    EXPECT_EQ(pairs[1], (std::pair<std::string, std::string>{"**Length:", "5592 min 24 sec"}));
    EXPECT_EQ(pairs[4], (std::pair<std::string, std::string>{"**Frames:", "12845055 frames"}));
}

} // namespace
} // namespace dirscribe
