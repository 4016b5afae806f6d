// SPDX-License-Identifier: MIT
// File Data of real files made here with Debian's tools, compared with what mediainfo,
// exiftool and pdfinfo read from the same files; damaged copies; the reader's bounds.
#include "core/details/FileDataProgram.h"
#include "core/format/Utf8.h"
#include "core/table/FileDetails.h"
#include "support/ShellCommand.h"
#include "support/TempTree.h"

#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>

namespace dirscribe {
namespace {

using test::HasCommand;

struct Kind {
    std::string file;
    std::vector<std::string> tools;
    std::string make; // in a folder holding tone.wav
    std::string summary;
    // A row's label and the command printing the text another tool reads for it.
    std::vector<std::pair<std::string, std::string>> probed;
};

std::string Info(const std::string& file, const std::string& inform) {
    return "mediainfo --Inform='" + inform + "' " + file;
}
std::string Minutes(const std::string& file) {
    return Info(file, "General;%Duration%") +
           " | awk '{s = int($1 / 1000); printf \"%d min %d sec\", s / 60, s % 60}'";
}
// A video's length and frame rate as ffprobe reads them from the streams' time stamps.
std::string Probe(const std::string& file, const std::string& entry) {
    return "ffprobe -v error -select_streams v:0 -show_entries " + entry +
           " -of default=nw=1:nk=1 " + file + " | head -1";
}
std::string VideoMinutes(const std::string& file) {
    return Probe(file, "format=duration") +
           " | awk '{s = int($1); printf \"%d min %d sec\", s / 60, s % 60}'";
}
std::string FrameRate(const std::string& file) {
    return Probe(file, "stream=r_frame_rate") + " | awk -F/ '{printf \"%.3f fps\", $1 / $2}'";
}
std::string Tag(const std::string& file, const std::string& tag) {
    return "ffprobe -v error -show_entries format_tags=" + tag + " -of default=nw=1:nk=1 " + file;
}
std::string Exif(const std::string& file, const std::string& tag) {
    return "exiftool -s3 -" + tag + " " + file;
}
std::string Pdf(const std::string& field, const std::string& file = "l.pdf") {
    return "pdfinfo -upw secret " + file + " | sed -n 's/^" + field + ": *//p'";
}
// A rate in bit/s to the nearest kbit/s.
std::string Kbit(const std::string& command) {
    return command + " | awk '{printf \"%d Kbit\", ($1 + 500) / 1000}'";
}

std::vector<Kind> Kinds() {
    const std::string title = "Gr\xC3\xBC\xC3\x9F"
                              "e";
    const std::string av = "ffmpeg -v error -f lavfi -i testsrc=size=320x240:rate=25 -f lavfi "
                           "-i sine -t 1 -pix_fmt yuv420p ";
    const auto audio = [](const std::string& file) {
        return std::vector<std::pair<std::string, std::string>>{
            {"**Title:", Info(file, "General;%Title%")},
            {"**Length:", Minutes(file)},
            {"**Frequency:", Info(file, "Audio;%SamplingRate%Hz")},
            {"**Channels:", Info(file, "Audio;%Channel(s)%")}};
    };
    const auto video = [](const std::string& file) {
        return std::vector<std::pair<std::string, std::string>>{
            {"**Format:", Info(file, "General;%Format%")},
            {"**Length:", VideoMinutes(file)},
            {"**Size:", Info(file, "Video;%Width% x %Height%")},
            {"**Frame rate:", FrameRate(file)},
            {"**Video:", Info(file, "Video;%Format%")},
            {"**Audio:", Info(file, "Audio;%Format%")}};
    };
    return {
        {"a.flac",
         {"flac"},
         "flac -s --tag=TITLE=" + title + " tone.wav -o a.flac",
         "FLAC Tag:",
         audio("a.flac")},
        {"a.ogg",
         {"oggenc"},
         "oggenc -Q -s 1 -t " + title + " tone.wav -o a.ogg",
         "Ogg Vorbis Tag:",
         audio("a.ogg")},
        {"a.opus",
         {"opusenc"},
         "opusenc --quiet --serial 1 --title " + title + " tone.wav a.opus",
         "Opus Tag:",
         audio("a.opus")},
        {"a.m4a",
         {"ffmpeg"},
         "ffmpeg -v error -i tone.wav -metadata title=" + title + " a.m4a",
         "MP4 Tag:",
         audio("a.m4a")},
        {"tone.wav", {}, "true", "WAV:", {{"**Channels:", Info("tone.wav", "Audio;%Channel(s)%")}}},
        // Several values, a text past a kilobyte, a picture; then the same file named .mp3.
        {"multi.flac",
         {"flac", "metaflac"},
         "convert -size 300x300 plasma: cover.jpg && flac -s --tag=ARTIST='First Singer' "
         "--tag=ARTIST='Second Singer' --tag=TITLE=\"$(printf 'Long title %.0s' $(seq 150))\" "
         "--picture=cover.jpg tone.wav -o multi.flac && cp multi.flac multi.mp3",
         "FLAC Tag:",
         {{"**Title:", "metaflac --show-tag=TITLE multi.flac | cut -d= -f2- | sed 's/ *$//'"},
          {"**Artist:", "metaflac --show-tag=ARTIST multi.flac | cut -d= -f2- | paste -sd';' | "
                        "sed 's/;/; /'"}}},
        {"multi.mp3",
         {"flac"},
         "true",
         "FLAC Tag:",
         {{"**Artist:", "echo 'First Singer; Second Singer'"}}},
        {"info.wav",
         {"ffmpeg"},
         "ffmpeg -v error -i tone.wav -metadata title=Named -metadata artist=Singer "
         "-metadata album=Record info.wav",
         "WAV Tag:",
         {{"**Title:", Tag("info.wav", "title")},
          {"**Artist:", Tag("info.wav", "artist")},
          {"**Album:", Tag("info.wav", "album")}}},
        {"a.aac",
         {"ffmpeg"},
         "ffmpeg -v error -i tone.wav -c:a aac -f adts a.aac",
         "AAC:",
         {{"**Length:", "mediainfo --ParseSpeed=1 --Inform='Audio;%Duration%' a.aac | awk '{s = "
                        "int($1 / 1000); printf \"%d min %d sec\", s / 60, s % 60}'"},
          {"**Frequency:", Info("a.aac", "Audio;%SamplingRate%Hz")},
          {"**Channels:", Info("a.aac", "Audio;%Channel(s)%")}}},
        {"alac.m4a",
         {"ffmpeg"},
         "ffmpeg -v error -i tone.wav -c:a alac alac.m4a",
         "MP4 Tag:",
         {{"**KBPS:", Kbit(Info("alac.m4a", "Audio;%BitRate%"))}}},
        // 96 kHz does not fit the sample entry's field; the rate of the packets as ffprobe
        // reckons it (TagLib rounded the stated one up twice).
        {"hi.m4a",
         {"ffmpeg"},
         "ffmpeg -v error -i tone.wav -ar 96000 -c:a aac -b:a 256k hi.m4a",
         "MP4 Tag:",
         {{"**Frequency:", Info("hi.m4a", "Audio;%SamplingRate%Hz")},
          {"**KBPS:", Kbit("ffprobe -v error -show_entries stream=bit_rate -of csv=p=0 hi.m4a")}}},
        // TagLib's FLAC reader takes any file with "fLaC" near its start for its own.
        {"a.oga",
         {"flac"},
         "flac -s --ogg --serial-number=1 --tag=TITLE=" + title + " tone.wav -o a.oga",
         "FLAC Tag:",
         {{"**Title:", "ffprobe -v error -show_entries stream_tags=title -of csv=p=0 a.oga"},
          {"**Length:", Minutes("a.oga")},
          {"**Channels:", Info("a.oga", "Audio;%Channel(s)%")}}},
        {"six.m4a",
         {"ffmpeg"},
         "ffmpeg -v error -f lavfi -i sine -ac 6 -t 2 -c:a aac six.m4a",
         "MP4 Tag:",
         {{"**Channels:", Info("six.m4a", "Audio;%Channel(s)%")}}},
        {"p.jpg",
         {"convert", "exiftool"},
         "convert -size 64x48 xc:red p.jpg && exiftool -q -overwrite_original -Make=Canon "
         "-Model='EOS 5D' -DateTimeOriginal='2020:01:02 03:04:05' -ExposureTime=1/125 -ISO=200 "
         "p.jpg",
         "Photo:",
         {{"**Size:", Exif("p.jpg", "ImageSize") + " | sed 's/x/ x /'"},
          {"**Make:", Exif("p.jpg", "Make")},
          {"**Model:", Exif("p.jpg", "Model")},
          {"**Date taken:", Exif("p.jpg", "DateTimeOriginal")},
          {"**Exposure:", Exif("p.jpg", "ExposureTime") + " | sed 's/$/ s/'"},
          {"**ISO:", Exif("p.jpg", "ISO")}}},
        {"p.png", {"convert"}, "convert -size 30x20 xc:blue p.png", "Photo:", {}},
        {"v.mp4", {"ffmpeg"}, av + "-c:v libx264 v.mp4", "Video:", video("v.mp4")},
        {"v.mkv", {"ffmpeg"}, av + "-c:v libvpx-vp9 -c:a libopus v.mkv", "Video:", video("v.mkv")},
        {"v50.ts",
         {"ffmpeg"},
         "ffmpeg -v error -f lavfi -i testsrc=size=160x120:rate=50 -frames:v 200 -pix_fmt "
         "yuv420p -c:v libx264 -preset ultrafast v50.ts",
         "Video:",
         {{"**Length:", VideoMinutes("v50.ts")}, {"**Frame rate:", FrameRate("v50.ts")}}},
        {"frag.mp4",
         {"ffmpeg"},
         "ffmpeg -v error -f lavfi -i testsrc=size=160x120:rate=30 -t 3 -pix_fmt yuv420p -c:v "
         "libx264 -preset ultrafast -movflags frag_keyframe+empty_moov -g 30 frag.mp4",
         "Video:",
         {{"**Length:", VideoMinutes("frag.mp4")}, {"**Frame rate:", FrameRate("frag.mp4")}}},
        {"l.pdf",
         {"pdfinfo"},
         "'" DIRSCRIBE_BINARY "' list . --pdf l.pdf",
         "PDF:",
         {{"**Title:", Pdf("Title")},
          {"**Pages:", Pdf("Pages")},
          {"**Page size:", Pdf("Page size")},
          {"**Producer:", Pdf("Producer")}}},
        // Locked by a user password: what its page tree tells without it.
        {"locked.pdf",
         {"pdfinfo", "qpdf"},
         "qpdf --encrypt secret owner 256 -- l.pdf locked.pdf",
         "PDF:",
         {{"**Security:", "echo Protected by a password"},
          {"**Pages:", Pdf("Pages", "locked.pdf")},
          {"**Page size:", Pdf("Page size", "locked.pdf")}}},
    };
}

class FileDataTest : public ::testing::Test {
protected:
    FileDetails Details(const std::string& name, const FileDataReader& reader) {
        return ReadFileDetails(tree.Path(name), name, 0x0409, &reader);
    }
    // What a summary says was read: "FLAC" of "FLAC Tag:" and of "FLAC:" (no tag).
    static std::string Format(std::string summary) {
        for (const std::string_view end : {" Tag:", ":"})
            if (summary.ends_with(end))
                return summary.substr(0, summary.size() - end.size());
        return summary;
    }
    static std::string NoData(const std::string& name) {
        return name.substr(name.rfind('.')) + " extention file. No data.";
    }
    test::TempTree tree;
    FileDataProgram program{DIRSCRIBE_FILEDATA_PROGRAM};
};

TEST_F(FileDataTest, EachKindGivesTheRowsOtherToolsReadAndDamagedCopiesNoMore) {
    if (!HasCommand("sox") || !HasCommand("mediainfo"))
        GTEST_SKIP() << "sox or mediainfo is missing (scripts/install-deps installs them)";
    ASSERT_TRUE(test::RunShell(tree.Root(), "sox -n -r 44100 -c 2 -b 16 tone.wav synth 2.5 sine"));
    for (const Kind& kind : Kinds()) {
        SCOPED_TRACE(kind.file);
        if (!std::all_of(kind.tools.begin(), kind.tools.end(), HasCommand)) {
            std::printf("skipped %s: a tool to make it is missing\n", kind.file.c_str());
            continue;
        }
        ASSERT_TRUE(test::RunShell(tree.Root(), kind.make));
        const FileDetails details = Details(kind.file, program);
        EXPECT_EQ(details.comment, kind.summary);
        for (const auto& [label, probe] : kind.probed) {
            const auto row = std::find_if(details.rows.begin(), details.rows.end(),
                                          [&](const auto& r) { return r.first == label; });
            ASSERT_NE(row, details.rows.end()) << label;
            EXPECT_EQ(row->second, test::ShellOutput(tree.Root(), probe)) << label;
        }

        // Cut short, or with bytes changed in its header and body: the kind's rows as far
        // as they can be read, or the no-data text.
        const std::string bytes = test::ReadFile(tree.Path(kind.file));
        const std::string extension = kind.file.substr(kind.file.rfind('.'));
        std::vector<std::string> damaged = {bytes.substr(0, bytes.size() / 2),
                                            bytes.substr(0, 100)};
        for (const std::size_t at : {std::size_t{12}, bytes.size() / 3, bytes.size() / 2}) {
            damaged.push_back(bytes);
            damaged.back()[at] = static_cast<char>(~damaged.back()[at]);
        }
        for (std::size_t i = 0; i < damaged.size(); ++i) {
            const std::string name = "damaged" + std::to_string(i) + extension;
            tree.File(name, damaged[i]);
            const FileDetails read = Details(name, program);
            EXPECT_TRUE(Format(read.comment) == Format(kind.summary) ||
                        read.comment == NoData(name))
                << name << ": " << read.comment;
            for (const auto& [label, text] : read.rows)
                EXPECT_TRUE(label.starts_with("**") && CellText(text) == text) << label << text;
        }
    }
}

// Opus states no rate of its own: it is that of its sound, whatever picture the tags carry
// (file size over length counted a 600 KB cover as sound).
TEST_F(FileDataTest, OpusRateLeavesOutTheHeadersAndTheirPicture) {
    if (!HasCommand("sox") || !HasCommand("opusenc") || !HasCommand("convert"))
        GTEST_SKIP() << "sox, opusenc or convert is missing";
    ASSERT_TRUE(test::RunShell(
        tree.Root(),
        "sox -R -n -r 48000 -c 2 -b 16 t.wav synth 20 pinknoise && convert -size "
        "600x600 plasma: -quality 100 c.jpg && opusenc --quiet --serial 1 --bitrate 64 "
        "t.wav plain.opus && opusenc --quiet --serial 1 --bitrate 64 --picture c.jpg "
        "t.wav cover.opus"));
    const auto kbps = [&](const std::string& name) {
        const FileDetails details = Details(name, program);
        const auto row = std::find_if(details.rows.begin(), details.rows.end(),
                                      [](const auto& r) { return r.first == "**KBPS:"; });
        return row == details.rows.end() ? 0 : std::stoi(row->second);
    };
    EXPECT_EQ(kbps("cover.opus"), kbps("plain.opus"));
    // Without a picture, its rate is within a kilobit of the file's size over its length.
    EXPECT_NEAR(
        kbps("plain.opus"),
        std::stoi(test::ShellOutput(tree.Root(), "ffprobe -v error -show_entries "
                                                 "format=bit_rate -of csv=p=0 plain.opus")) /
            1000.0,
        1.0);
}

TEST_F(FileDataTest, HugeFilesAndReadersThatHangCrashFloodOrLieAreAnsweredWithinBounds) {
    // 4 GiB of nothing under the names of each kind.
    for (const char* name : {"huge.mp4", "huge.mkv", "huge.flac", "huge.jpg", "huge.pdf"}) {
        tree.SizedFile(name, 4ull << 30);
        EXPECT_EQ(Details(name, program).comment, NoData(name)) << name;
    }
    tree.File("v.mp4", std::string("\0\0\0\x14"
                                   "ftypisom\0\0\0\0isom",
                                   20));
    const auto script = [&](const std::string& name, const std::string& body) {
        tree.File(name, "#!/bin/sh\n" + body + "\n");
        tree.Chmod(name, 0755);
        return FileDataProgram(tree.Path(name));
    };
    for (const FileDataProgram& bad :
         {script("hang", "printf 'Video:\\0\\0' && exec sleep 60"),
          script("crash", "kill -SEGV $$"), script("flood", "exec cat /dev/zero"),
          FileDataProgram(tree.Path("missing"))}) {
        const FileDetails details = Details("v.mp4", bad);
        EXPECT_EQ(details.comment, NoData("v.mp4"));
        EXPECT_FALSE(details.note.empty());
    }
    // Its texts are checked again here: control characters, bytes that are not UTF-8,
    // blank texts.
    EXPECT_EQ(
        Details("v.mp4",
                script("liar", "printf 'Video:\\0\\0**Title:\\0a\\tb\\033\\351\\0**:\\0 \\0'")),
        (FileDetails{"Video:", {{"**Title:", "a b \xC3\xA9"}}}));
}

} // namespace
} // namespace dirscribe
