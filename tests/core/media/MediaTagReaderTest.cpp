// SPDX-License-Identifier: MIT
// MP3 tags and stream properties read from files made here byte by byte.
#include "core/media/MediaTagReader.h"

#include "core/format/Utf16.h"
#include "core/platform/FileByteSource.h"
#include "support/Mp3Bytes.h"
#include "support/TempTree.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace dirscribe {
namespace {

using test::Id3v1Fields;
using test::Id3v1Tag;
using test::Id3v24Frame;
using test::Id3v2Frame;
using test::Id3v2FrameClaiming;
using test::Id3v2Tag;
using test::kMpeg1Layer3At128;
using test::MpegFrames;
using test::MpegHeader;
using test::Syncsafe32;
using test::TempTree;
using test::TextFrame;
using test::Utf16Bytes;
using namespace std::string_literals;
using Pairs = std::vector<std::pair<std::string, std::string>>;

// The stream lines' labels, in their order.
const char* const kStreamLabels[] = {"**Length:",  "**Version:", "**KBPS:",      "**Frames:",
                                     "**Private:", "**Mode:",    "**Copyright:", "**Frequency:"};

// The rows before the stream lines, then the stream lines with these values.
Pairs Stream(Pairs pairs, const std::vector<std::string>& values) {
    for (std::size_t i = 0; i < values.size(); ++i)
        pairs.emplace_back(kStreamLabels[i], values[i]);
    return pairs;
}

// The worked example: a 4,000,000-byte file at 128 kbit/s, 44100 Hz, joint stereo.
// 32,000 kbit / 128 = 250 s; 4,000,000 / 417.959 = 9570.3 frames.
const std::vector<std::string> kWorkedExample = {
    "4 min 10 sec", "MPEG 1.000000 Layer 3", "128 Kbit", "9570 frames",
    "No",           "Joint Stereo",          "No",       "44100Hz"};

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

    // The pairs before the stream lines.
    static Pairs Tags(Pairs pairs) {
        const auto length = std::find_if(
            pairs.begin(), pairs.end(), [](const auto& pair) { return pair.first == "**Length:"; });
        pairs.erase(length, pairs.end());
        return pairs;
    }
    // The version, rate and frequency lines, or "" without stream lines.
    static std::string StreamOf(const Pairs& pairs) {
        std::string stream;
        for (const auto& [label, value] : pairs)
            if (label == "**Version:" || label == "**KBPS:" || label == "**Frequency:")
                stream += (stream.empty() ? "" : ", ") + value;
        return stream;
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

// The genre byte names one of the 148 genres (the table ID3v2's numbers use too), or none.
TEST_F(MediaTagReaderTest, Id3v1GenreBytes) {
    for (const auto& [genre, name] : std::vector<std::pair<int, const char*>>{
             {0, "Blues"}, {147, "Synth Pop"}, {148, nullptr}, {255, nullptr}}) {
        Id3v1Fields fields;
        fields.genre = static_cast<unsigned char>(genre);
        Pairs expected{{" ", "Id3v1 Tag:"}};
        if (name)
            expected.emplace_back("**Genre:", name);
        EXPECT_EQ(Read(Id3v1Tag(fields)), expected) << genre;
    }
}

TEST_F(MediaTagReaderTest, Id3v2FramesInFileOrderThenTheWorkedExampleStream) {
    const std::string frames =
        TextFrame("TIT2", "Hello World") + TextFrame("TPE1", "Soloist Name") +
        TextFrame("TPE2", "The Band") + TextFrame("TPE3", "Conductor X") +
        TextFrame("TALB", "An Album") + TextFrame("TYER", "2001") + TextFrame("TRCK", "7/12") +
        Id3v2Frame("COMM", std::string("\0eng", 4) + std::string("desc\0", 5) + "the comment") +
        TextFrame("TCON", "(17)") + TextFrame("TXXX", "not shown");
    const std::string file = Id3v2Tag(3, frames, 64) + MpegFrames(kMpeg1Layer3At128);
    EXPECT_EQ(Read(file, 4'000'000 + file.size() - 834),
              Stream({{" ", "Id3v2 Tag:"},
                      {"**Title:", "Hello World"},
                      {"**Soloist:", "Soloist Name"},
                      {"**Band:", "The Band"},
                      {"**Conductor:", "Conductor X"},
                      {"**Album:", "An Album"},
                      {"**Year:", "2001"},
                      {"**Track:", "7/12"},
                      {"**Comments:", "engdesc_the comment"},
                      {"**Genre:", "Rock"}},
                     kWorkedExample));
}

TEST_F(MediaTagReaderTest, BothTagsShowOnlyTheId3v2FramesAndNeitherOnlyTheStream) {
    Id3v1Fields fields;
    fields.title = "From v1";
    fields.genre = 0;
    std::string file =
        Id3v2Tag(3, TextFrame("TIT2", "From v2"), 16) + MpegFrames(kMpeg1Layer3At128);
    const std::size_t tag = file.size() - 834;
    file += std::string(100'000 + tag - file.size(), '\0') + Id3v1Tag(fields);
    // 100,000 bytes of audio between the tags: 800 kbit / 128 = 6 s; 100,000 / 417.959 =
    // 239.3 frames.
    EXPECT_EQ(Read(file), Stream({{" ", "There're Id3v1 & Id3v2.3"}, {"**Title:", "From v2"}},
                                 {"0 min 6 sec", "MPEG 1.000000 Layer 3", "128 Kbit", "239 frames",
                                  "No", "Joint Stereo", "No", "44100Hz"}));
    file[3] = 4;
    EXPECT_EQ(Read(file).front(),
              (std::pair<std::string, std::string>{" ", "There're Id3v1 & Id3v2.4"}));

    EXPECT_EQ(Read(MpegHeader(kMpeg1Layer3At128), 4'000'000),
              Stream({{" ", "There isn't any Tag."}}, kWorkedExample));
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

TEST_F(MediaTagReaderTest, FrameTextsAreReadByTheirEncodingByte) {
    // Each encoding gives the rows its ISO-8859-1 form gives: the title up to its first NUL,
    // the comment with "_" for each NUL but its terminating one, the genre by number.
    const auto latin1 = [](std::u16string_view text) {
        std::string bytes;
        for (const char16_t c : text)
            bytes += static_cast<char>(c);
        return bytes;
    };
    const auto le = [](std::u16string_view text) {
        return "\xFF\xFE" + Utf16Bytes(text);
    };
    const auto be = [](std::u16string_view text) {
        return "\xFE\xFF" + Utf16Bytes(text, true);
    };
    const auto bare = [](std::u16string_view text) {
        return Utf16Bytes(text, true);
    };
    const std::vector<std::pair<char, std::function<std::string(std::u16string_view)>>> forms = {
        {'\0', latin1}, {'\1', le}, {'\1', be}, {'\2', bare}, {'\3', Utf16ToUtf8}};
    for (const auto& [encoding, encode] : forms) {
        const std::string nul = encoding == 1 || encoding == 2 ? "\0\0"s : "\0"s;
        const std::string frames =
            Id3v2Frame("TIT2", encoding + encode(u"Gr\u00FC\u00DFe") + nul + encode(u"two")) +
            Id3v2Frame("COMM",
                       encoding + "eng"s + encode(u"d\u00E9") + nul + encode(u"text") + nul) +
            Id3v2Frame("TCON", encoding + encode(u"(17)"));
        EXPECT_EQ(Read(OnlyFrame(frames)), (Pairs{{" ", "Id3v2 Tag:"},
                                                  {"**Title:", "Gr\xC3\xBC\xC3\x9F"
                                                               "e"},
                                                  {"**Comments:", "engd\xC3\xA9_text"},
                                                  {"**Genre:", "Rock"}}))
            << int{encoding};
    }
    // An empty description written without its mark (as lame writes it); a lone surrogate
    // and an odd last byte.
    const std::string odd = Id3v2Frame("COMM", "\1eng\0\0"s + le(u"A c")) +
                            Id3v2Frame("TIT2", "\1"s + le(u"\xD800") + "x");
    EXPECT_EQ(
        Read(OnlyFrame(odd)),
        (Pairs{{" ", "Id3v2 Tag:"}, {"**Comments:", "eng_A c"}, {"**Title:", "\xEF\xBF\xBD"}}));
}

TEST_F(MediaTagReaderTest, TheTagIsReadByItsOwnSizeAndTheStreamFromTheFirstFramePair) {
    // A 4 KiB tag: binary data full of 0xFF and a false frame id, UTF-16 text, padding. After
    // it a lone header whose next frame does not sync, then MPEG 2 audio at 32 kbit/s,
    // 22050 Hz, in 104-byte frames, and zeros.
    const std::string frames =
        Id3v2Frame("PRIV", "owner\0"s + std::string(3000, '\xFF') + "TIT2\0\0\0\5\0\0\0fake"s) +
        TextFrame("TIT2", "Title") + Id3v2Frame("TPE1", "\1"s + Utf16Bytes(u"\uFEFFArtist"));
    const std::string file = Id3v2Tag(3, frames, 1000) + MpegHeader(kMpeg1Layer3At128) +
                             std::string(500, '\0') + MpegFrames(0xFFF34064, 104) +
                             std::string(300, '\0');
    const Pairs pairs = Read(file);
    EXPECT_EQ(Tags(pairs),
              (Pairs{{" ", "Id3v2 Tag:"}, {"**Title:", "Title"}, {"**Soloist:", "Artist"}}));
    EXPECT_EQ(StreamOf(pairs), "MPEG 2.000000 Layer 3, 32 Kbit, 22050Hz");

    // All tag, no audio: the rows of the tag only, whatever follows it.
    EXPECT_EQ(Read(Id3v2Tag(3, frames, 0) + "text, not audio"), Tags(pairs));
    // A frame that ends with the file needs no follower.
    EXPECT_EQ(StreamOf(Read(Id3v2Tag(3, "", 4) + MpegHeader(kMpeg1Layer3At128) + "end")),
              "MPEG 1.000000 Layer 3, 128 Kbit, 44100Hz");
}

TEST_F(MediaTagReaderTest, Version4SizesFlagsExtendedHeaderFooterAndUnsynchronisation) {
    // Syncsafe sizes (a 300-byte title), a plain size some writers put there, a frame
    // unsynchronised with a data length, one in a group, one compressed (passed over); an
    // extended header before the frames and a footer after them; then MPEG 2.5 audio.
    const std::string title(299, 't');
    const std::string frames =
        Id3v24Frame("TIT2", "\0"s + title) + "TALB\0\0\1\x2C\0\0\0"s + title +
        Id3v24Frame("TPE1", Syncsafe32(5) + "\0A\xFF\0\xE0z"s, 0x03) +
        Id3v24Frame("TPE2", "\7\0Band"s, 0x40) + Id3v24Frame("TYER", "\0\0\0\4x", 0x09);
    const std::string file = Id3v2Tag(4, "\0\0\0\6\1\0"s + frames, 0, 0x50) +
                             "3DI\4\0\x50\0\0\0\0"s + MpegFrames(0xFFE38064, 417);
    const Pairs pairs = Read(file);
    EXPECT_EQ(Tags(pairs), (Pairs{{" ", "Id3v2 Tag:"},
                                  {"**Title:", title},
                                  {"**Album:", title},
                                  {"**Soloist:", "A\xC3\xBF\xC3\xA0z"},
                                  {"**Band:", "Band"}}));
    EXPECT_EQ(StreamOf(pairs), "MPEG 2.500000 Layer 3, 64 Kbit, 11025Hz");

    // 2.3 unsynchronises the whole tag after its header, extended header included; sizes
    // count the bytes as they were before.
    std::string body =
        "\0\0\0\6\0\0\0\0\0\0"s + TextFrame("TIT2", "\xFF\xE0\xFF") + TextFrame("TALB", "\xFF");
    for (std::size_t at = body.find('\xFF'); at != std::string::npos;
         at = body.find('\xFF', at + 2))
        body.insert(at + 1, 1, '\0');
    EXPECT_EQ(Tags(Read(Id3v2Tag(3, body, 0, 0xC0) + MpegFrames(kMpeg1Layer3At128))),
              (Pairs{{" ", "Id3v2 Tag:"},
                     {"**Title:", "\xC3\xBF\xC3\xA0\xC3\xBF"},
                     {"**Album:", "\xC3\xBF"}}));
}

TEST_F(MediaTagReaderTest, SizesThatLieAreBounded) {
    // Frame sizes 0 and 1 give empty texts; the frames after them are still found.
    const std::string small = Id3v2FrameClaiming("TIT2", 0, "") +
                              Id3v2FrameClaiming("TALB", 1, std::string(1, '\0')) +
                              TextFrame("TPE1", "Next");
    EXPECT_EQ(
        Read(OnlyFrame(small)),
        (Pairs{{" ", "Id3v2 Tag:"}, {"**Title:", ""}, {"**Album:", ""}, {"**Soloist:", "Next"}}));

    // A frame claiming more than its tag ends with the tag; the audio after it is found.
    const std::string last = Id3v2FrameClaiming("COMM", 0x7E7E7E7Eu, "\0eng\0x"s);
    const Pairs pairs = Read(Id3v2Tag(3, last, 0) + MpegFrames(kMpeg1Layer3At128));
    EXPECT_EQ(Tags(pairs), (Pairs{{" ", "Id3v2 Tag:"}, {"**Comments:", "eng_x"}}));
    EXPECT_EQ(StreamOf(pairs), "MPEG 1.000000 Layer 3, 128 Kbit, 44100Hz");
    // A tag claiming more than the file reads what the file holds.
    EXPECT_EQ(Read(Id3v2Tag(3, TextFrame("TIT2", "Short"), 100000).substr(0, 26)),
              (Pairs{{" ", "Id3v2 Tag:"}, {"**Title:", "Short"}}));

    // A large comment is cut at the fixed bound, not read whole.
    const Pairs big = Read(Id3v2Tag(3, Id3v2Frame("COMM", "\0"s + std::string(40000, 'a')), 0));
    ASSERT_EQ(big.size(), 2u);
    EXPECT_EQ(big[1].second, std::string(MediaTagReader::kMaxFrameTextBytes, 'a'));
}

TEST_F(MediaTagReaderTest, StreamLinesOfEachKindOfHeader) {
    struct Case {
        std::uint32_t header;
        std::uint64_t size;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        // Layer I, 128 kbit/s, 44100 Hz: frame length 128000 / 44100 x 48 = 139.32.
        {0xFFFF4000,
         4'000'000,
         {"4 min 10 sec", "MPEG 1.000000 Layer 1", "128 Kbit", "28710 frames", "No", "Stereo", "No",
          "44100Hz"}},
        // The private bit without the copyright bit, single channel.
        {0xFFFB91C0,
         4'000'000,
         {"4 min 10 sec", "MPEG 1.000000 Layer 3", "128 Kbit", "9570 frames", "Yes",
          "Single Channel", "No", "44100Hz"}},
        // MPEG 2 Layer II, index 8 (64 kbit/s), 24000 Hz, dual channel: 500 s, length 384.
        {0xFFF58480,
         4'000'000,
         {"8 min 20 sec", "MPEG 2.000000 Layer 2", "64 Kbit", "10416 frames", "No", "Dual Channel",
          "No", "24000Hz"}},
        // MPEG 2.5 has 11025 Hz at index 0; its Layer III frames hold half the samples:
        // length 64000 / 11025 x 72 = 417.96.
        {0xFFE38064,
         4'000'000,
         {"8 min 20 sec", "MPEG 2.500000 Layer 3", "64 Kbit", "9570 frames", "No", "Joint Stereo",
          "No", "11025Hz"}},
        // 5 GiB: 5,368,709,120 / 125 / 128 = 335,544 s; / 417.959 = 12,845,055.6 frames.
        {kMpeg1Layer3At128,
         5ull << 30,
         {"5592 min 24 sec", "MPEG 1.000000 Layer 3", "128 Kbit", "12845055 frames", "No",
          "Joint Stereo", "No", "44100Hz"}},
        // No rate gives no length and no frames: free format (bitrate index 0), ...
        {0xFFFB0064,
         4'000'000,
         {"0 min 0 sec", "MPEG 1.000000 Layer 3", "0 Kbit", "0 frames", "No", "Joint Stereo", "No",
          "44100Hz"}},
        // ... the reserved version, which has no frequency (its bitrate is MPEG 1's), ...
        {0xFFEB9064,
         4'000'000,
         {"4 min 10 sec", "MPEG 0.000000 Layer 3", "128 Kbit", "0 frames", "No", "Joint Stereo",
          "No", "0Hz"}},
        // ... and the reserved frequency index 3 with the invalid bitrate index 15.
        {0xFFFBFC64,
         4'000'000,
         {"0 min 0 sec", "MPEG 1.000000 Layer 3", "0 Kbit", "0 frames", "No", "Joint Stereo", "No",
          "0Hz"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Read(MpegHeader(c.header), c.size),
                  Stream({{" ", "There isn't any Tag."}}, c.lines))
            << std::hex << c.header;
}

TEST_F(MediaTagReaderTest, Version4YearsAndVersion2FramesGiveTheRowsOfTheirVersion3Twins) {
    EXPECT_EQ(Read(Id3v2Tag(4,
                            Id3v24Frame("TDRC", "\3"
                                                "2024-05-01T10:00"s),
                            0)),
              (Pairs{{" ", "Id3v2 Tag:"}, {"**Year:", "2024"}}));
    // 2.2: three-letter ids and 24-bit sizes, no flags.
    const auto frame = [](std::string_view id, const std::string& data) {
        const auto size = data.size();
        return std::string(id) + static_cast<char>(size >> 16) + static_cast<char>(size >> 8) +
               static_cast<char>(size) + data;
    };
    const std::string frames = frame("TT2", "\0Title"s) + frame("TP1", "\0Artist"s) +
                               frame("TAL", "\0Album"s) +
                               frame("TYE", "\0"
                                            "1999"s) +
                               frame("TCO", "\0(17)"s) + frame("COM", "\0engd\0text"s) +
                               frame("TRK", "\0"
                                            "3"s) +
                               frame("TXX", "\0not shown"s);
    EXPECT_EQ(Tags(Read(Id3v2Tag(2, frames, 16) + MpegFrames(kMpeg1Layer3At128))),
              (Pairs{{" ", "Id3v2 Tag:"},
                     {"**Title:", "Title"},
                     {"**Soloist:", "Artist"},
                     {"**Album:", "Album"},
                     {"**Year:", "1999"},
                     {"**Genre:", "Rock"},
                     {"**Comments:", "engd_text"},
                     {"**Track:", "3"}}));
}

TEST_F(MediaTagReaderTest, VariableBitrateHeadersGiveLengthFramesAndTheAverageRate) {
    // MPEG 1 Layer III at 44100 Hz: 1152 samples a frame; a 417-byte first frame holds
    // the header: Xing after 32 bytes of side information, VBRI 32 bytes into the frame.
    const auto be32 = [](std::uint32_t v) {
        return std::string{static_cast<char>(v >> 24), static_cast<char>(v >> 16),
                           static_cast<char>(v >> 8), static_cast<char>(v)};
    };
    const auto first = [](std::size_t at, const std::string& header,
                          std::uint32_t word = kMpeg1Layer3At128) {
        std::string frame = MpegHeader(word) + std::string(413, '\0');
        return frame.replace(at, header.size(), header);
    };
    const std::string info = "Info" + be32(3) + be32(1000) + be32(320'417);
    Id3v1Fields fields;
    fields.title = "T";
    const std::string tag = Id3v1Tag(fields);
    struct Case {
        std::string file;
        const char* length;
        const char* kbps;
        const char* frames;
        const char* mode;
    };
    // 1000 frames: 26.1 s; (320,417 - 417) bytes x 8 / 26.12 s = 98.0 kbit/s. VBRI: 500
    // frames, 13.06 s; without a byte count, the file's 417 x 3 bytes less the first frame.
    const std::string audio = MpegFrames(kMpeg1Layer3At128);
    const std::vector<Case> cases = {
        {first(36, "Xing" + be32(3) + be32(1000) + be32(320'417)) + audio, "0 min 26 sec",
         "98 Kbit", "1000 frames", "Joint Stereo"},
        {first(36, "Xing" + be32(1) + be32(500)) + audio, "0 min 13 sec", "1 Kbit", "500 frames",
         "Joint Stereo"},
        {first(36, "VBRI\0\1\0\0\0\0"s + be32(100'417) + be32(500)) + audio, "0 min 13 sec",
         "61 Kbit", "500 frames", "Joint Stereo"},
        // LAME's Info header of a constant-bitrate file without tags changes nothing: 1251
        // bytes. With a tag it holds no sound, and its count is the frames'.
        {first(36, info) + audio, "0 min 0 sec", "128 Kbit", "2 frames", "Joint Stereo"},
        {first(36, info) + audio + tag, "0 min 26 sec", "128 Kbit", "1000 frames", "Joint Stereo"},
        {first(36, "Xing" + be32(3) + be32(0) + be32(0)) + audio, "0 min 0 sec", "128 Kbit",
         "2 frames", "Joint Stereo"},
        // A Xing frame written as plain stereo before joint-stereo sound: with a tag, the
        // header lines are the sound's.
        {first(36, info, 0xFFFB9024) + audio + tag, "0 min 26 sec", "128 Kbit", "1000 frames",
         "Joint Stereo"},
        {first(36, info, 0xFFFB9024) + audio, "0 min 0 sec", "128 Kbit", "2 frames", "Stereo"},
    };
    for (const Case& c : cases) {
        const Pairs pairs = Read(c.file);
        ASSERT_GE(pairs.size(), 9u);
        const auto line = [&](std::size_t i) {
            return pairs[pairs.size() - 8 + i].second;
        };
        EXPECT_EQ(line(0), c.length);
        EXPECT_EQ(line(2), c.kbps);
        EXPECT_EQ(line(3), c.frames);
        EXPECT_EQ(line(5), c.mode);
    }
}

// A cover picture in the ID3v2 tag, an APEv2 tag (with and without its header; alone, it is
// the file's tag) and an ID3v1 tag after the audio are no sound: 2,000 frames of 417 bytes
// between them give 834,000 x 8 / 1000 / 128 = 52 s and 834,000 / 417.959 = 1995 frames,
// whatever the tags weigh. Frames found past stray bytes after the tag count from where
// they start.
TEST_F(MediaTagReaderTest, LengthAndFramesComeFromTheAudioBetweenTheTags) {
    const auto le32 = [](std::uint32_t v) {
        return std::string{static_cast<char>(v), static_cast<char>(v >> 8),
                           static_cast<char>(v >> 16), static_cast<char>(v >> 24)};
    };
    // Texts (one of two values) and a binary cover, which is no text.
    const auto ape = [&](std::uint32_t flags) {
        const std::string items = le32(5) + le32(0) + "Title"s + '\0' + "Hello" + le32(4) +
                                  le32(2) + "Cover Art (Front)"s + '\0' + "\xFF\xD8\xFF\xE0" +
                                  le32(5) + le32(0) + "ARTIST"s + '\0' + "A\0B C"s;
        const std::string footer = "APETAGEX" + le32(2000) +
                                   le32(static_cast<std::uint32_t>(items.size() + 32)) + le32(3) +
                                   le32(flags) + std::string(8, '\0');
        return ((flags & 0x80000000u) != 0 ? footer : ""s) + items + footer;
    };
    const std::string cover =
        Id3v2Frame("APIC", "\0image/jpeg\0\3\0"s + std::string(1 << 20, '\xFF'));
    const std::string audio = MpegFrames(kMpeg1Layer3At128, 417, 2000);
    Id3v1Fields fields;
    fields.title = "Tail";
    for (const std::string& file :
         {Id3v2Tag(3, cover + TextFrame("TIT2", "Covered"), 100) + audio + ape(0x80000000u) +
              Id3v1Tag(fields),
          Id3v2Tag(4, TextFrame("TIT2", "Covered"), 0) + "junk" + audio + ape(0),
          Id3v2Tag(3, cover, 0) + audio, audio + ape(0x80000000u)}) {
        const Pairs pairs = Read(file);
        ASSERT_GE(pairs.size(), 8u);
        EXPECT_EQ(pairs[pairs.size() - 8].second, "0 min 52 sec");
        EXPECT_EQ(pairs[pairs.size() - 5].second, "1995 frames");
    }
    // An APEv2 tag alone is the file's tag.
    EXPECT_EQ(Tags(Read(audio + ape(0))),
              (Pairs{{" ", "APEv2 Tag:"}, {"**Title:", "Hello"}, {"**Artist:", "A; B C"}}));
    // ID3v1.1 keeps a track number in the comment's last byte.
    fields.comment = "Short note"s + std::string(18, '\0') + '\0' + '\7';
    EXPECT_EQ(Read(Id3v1Tag(fields)), (Pairs{{" ", "Id3v1 Tag:"},
                                             {"**Title:", "Tail"},
                                             {"**Comment:", "Short note"},
                                             {"**Track:", "7"}}));
}

TEST_F(MediaTagReaderTest, Version4FramesShowEveryValue) {
    const std::string frames = Id3v24Frame("TPE1", "\3First Singer\0Second Singer\0"s) +
                               Id3v24Frame("TCON", "\0(17)\0Jazz"s) +
                               Id3v24Frame("TIT2", "\1"s + "\xFF\xFE" + Utf16Bytes(u"One") +
                                                       "\0\0\xFF\xFE"s + Utf16Bytes(u"Two"));
    EXPECT_EQ(Read(Id3v2Tag(4, frames, 0)), (Pairs{{" ", "Id3v2 Tag:"},
                                                   {"**Soloist:", "First Singer; Second Singer"},
                                                   {"**Genre:", "Rock; Jazz"},
                                                   {"**Title:", "One; Two"}}));
    EXPECT_EQ(Read(Id3v2Tag(3, TextFrame("TPE1", "First\0Second"s), 0)),
              (Pairs{{" ", "Id3v2 Tag:"}, {"**Soloist:", "First"}}))
        << "2.3 ends a text at its first NUL";
}

// MPEG audio is told by its frames, not its name: a frame followed by another of its
// stream, where the file starts or after the ID3v2 tag and its zero padding.
TEST_F(MediaTagReaderTest, MpegAudioIsToldByItsFrames) {
    const std::string audio = MpegFrames(kMpeg1Layer3At128, 417, 3);
    const std::vector<std::pair<std::string, bool>> cases = {
        {audio, true},
        {Id3v2Tag(3, TextFrame("TIT2", "x"), 10) + std::string(300, '\0') + audio, true},
        {Id3v2Tag(4, "", 0) + audio.substr(0, 420), true}, // the second frame cut short
        {Id3v2Tag(3, TextFrame("TIT2", "x"), 0) + "fLaC" + audio, false},
        {MpegHeader(kMpeg1Layer3At128) + std::string(1000, '\0'), false},
        {"\xFF\xF1\x50\x80\x02\x1F\xFC"s + std::string(500, '\0'), false}, // ADTS
        {"", false},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const std::string path = tree.Path("kind" + std::to_string(i));
        test::WriteFile(path, cases[i].first);
        EXPECT_EQ(MediaTagReader::HoldsMpegAudio(FileByteSource(path)), cases[i].second) << i;
    }
}

} // namespace
} // namespace dirscribe
