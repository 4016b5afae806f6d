// SPDX-License-Identifier: MIT
// The ID3 tags and the first MPEG audio frame header of an MP3 file as label and value texts.
#include "core/media/MediaTagReader.h"

#include "core/format/Utf8.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

namespace dirscribe {

namespace {

constexpr std::size_t kHeadBytes = MediaTagReader::kHeadBytes;

// The head as the scan sees it, plus four bytes so that a frame id ending on the last
// scanned byte still has its whole size field.
using Head = std::array<unsigned char, kHeadBytes + 4>;

constexpr std::array<const char*, 148> kGenres = {
    "Blues",
    "Classic Rock",
    "Country",
    "Dance",
    "Disco",
    "Funk",
    "Grunge",
    "Hip-Hop",
    "Jazz",
    "Metal",
    "New Age",
    "Oldies",
    "Other",
    "Pop",
    "R&B",
    "Rap",
    "Reggae",
    "Rock",
    "Techno",
    "Industrial",
    "Alternative",
    "Ska",
    "Death Metal",
    "Pranks",
    "Soundtrack",
    "Euro-Techno",
    "Ambient",
    "Trip Hop",
    "Vocal",
    "Jazz+Funk",
    "Fusion",
    "Trance",
    "Classical",
    "Instrumental",
    "Acid",
    "House",
    "Game",
    "Sound Clip",
    "Gospel",
    "Noise",
    "Alternative Rock",
    "Bass",
    "Soul",
    "Punk",
    "Space",
    "Meditative",
    "Instrumental Pop",
    "Instrumental Rock",
    "Ethnic",
    "Gothic",
    "Darkwave",
    "Techno-Industrial",
    "Electronic",
    "Pop-Folk",
    "Eurodance",
    "Dream",
    "Southern Rock",
    "Comedy",
    "Cult",
    "Gangsta Rap",
    "Top 40",
    "Christian Rap",
    "Pop/Punk",
    "Jungle",
    "Native American",
    "Cabaret",
    "New Wave",
    "Phychedelic",
    "Rave",
    "Showtunes",
    "Trailer",
    "Lo-Fi",
    "Tribal",
    "Acid Punk",
    "Acid Jazz",
    "Polka",
    "Retro",
    "Musical",
    "Rock & Roll",
    "Hard Rock",
    "Folk",
    "Folk/Rock",
    "National Folk",
    "Swing",
    "Fast-Fusion",
    "Bebob",
    "Latin",
    "Revival",
    "Celtic",
    "Blue Grass",
    "Avantegarde",
    "Gothic Rock",
    "Progressive Rock",
    "Psychedelic Rock",
    "Symphonic Rock",
    "Slow Rock",
    "Big Band",
    "Chorus",
    "Easy Listening",
    "Acoustic",
    "Humour",
    "Speech",
    "Chanson",
    "Opera",
    "Chamber Music",
    "Sonata",
    "Symphony",
    "Booty Bass",
    "Primus",
    "Porn Groove",
    "Satire",
    "Slow Jam",
    "Club",
    "Tango",
    "Samba",
    "Folklore",
    "Ballad",
    "power Ballad",
    "Rhythmic Soul",
    "Freestyle",
    "Duet",
    "Punk Rock",
    "Drum Solo",
    "A Capella",
    "Euro-House",
    "Dance Hall",
    "Goa",
    "Drum & Bass",
    "Club-House",
    "Hardcore",
    "Terror",
    "indie",
    "Brit Pop",
    "Negerpunk",
    "Polsk Punk",
    "Beat",
    "Christian Gangsta Rap",
    "Heavy Metal",
    "Black Metal",
    "Crossover",
    "Comteporary Christian",
    "Christian Rock",
    "Merengue",
    "Salsa",
    "Trash Metal",
    "Anime",
    "JPop",
    "Synth Pop",
};

// kbit/s by row and bitrate index; indexes 0 (free format) and 15 (invalid) give 0.
constexpr std::array<std::array<std::uint32_t, 16>, 5> kBitrates = {{
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0}, // 1, I
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},    // 1, II
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},     // 1, III
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},    // 2/2.5, I
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},         // 2/2.5, II-III
}};

// Hz by version field and frequency index; index 3 is reserved and gives 0.
constexpr std::array<std::array<std::uint32_t, 4>, 4> kFrequencies = {{
    {11025, 12000, 8000, 0}, // MPEG 2.5
    {0, 0, 0, 0},            // reserved
    {22050, 24000, 16000, 0},
    {44100, 48000, 32000, 0},
}};

// The version number as "%f" prints it, by version field.
constexpr std::array<const char*, 4> kVersionTexts = {"2.500000", "0.000000", "2.000000",
                                                      "1.000000"};

constexpr std::array<const char*, 4> kModes = {"Stereo", "Joint Stereo", "Dual Channel",
                                               "Single Channel"};

enum class FrameKind { Text, Comment, Genre };

struct FrameId {
    std::string_view id;
    const char* label;
    FrameKind kind;
};

// In the order they are tested.
constexpr std::array<FrameId, 9> kFrameIds = {{
    {"TIT2", "**Title:", FrameKind::Text},
    {"COMM", "**Comments:", FrameKind::Comment},
    {"TYER", "**Year:", FrameKind::Text},
    {"TRCK", "**Track:", FrameKind::Text},
    {"TALB", "**Album:", FrameKind::Text},
    {"TPE1", "**Soloist:", FrameKind::Text},
    {"TPE2", "**Band:", FrameKind::Text},
    {"TPE3", "**Conductor:", FrameKind::Text},
    {"TCON", "**Genre:", FrameKind::Genre},
}};

struct Id3v1Field {
    const char* label;
    std::size_t length;
};

constexpr std::array<Id3v1Field, 5> kId3v1Fields = {{
    {"**Title:", 30},
    {"**Artist:", 30},
    {"**Album:", 30},
    {"**Year:", 4},
    {"**Comment:", 30},
}};

constexpr std::uint64_t kId3v1Bytes = 128;

void Append(std::vector<std::string>& labels, std::vector<std::string>& values, std::string label,
            std::string value) {
    labels.push_back(std::move(label));
    values.push_back(std::move(value));
}

bool IsId3v1(const ByteSource& file) {
    if (file.Size() < kId3v1Bytes)
        return false;
    std::array<char, 3> tag{};
    return file.ReadAt(file.Size() - kId3v1Bytes, tag.data(), tag.size()) == tag.size() &&
           std::string_view(tag.data(), tag.size()) == "TAG";
}

bool IsId3v2(const Head& head) {
    return head[0] == 'I' && head[1] == 'D' && head[2] == '3';
}

// ID3v1 fields are padded with zeros or blanks: a text ends where two blanks meet, or at a
// control or non-ASCII byte. Bytes compare as signed, so 0x80 and above end it too.
void ReadId3v1(const ByteSource& file, std::vector<std::string>& labels,
               std::vector<std::string>& values) {
    std::uint64_t position = file.Size() - (kId3v1Bytes - 3);
    for (const Id3v1Field& field : kId3v1Fields) {
        // Two zero bytes past the field stand for its end.
        std::array<char, 32> buffer{};
        file.ReadAt(position, buffer.data(), field.length);
        position += field.length;
        const auto at = [&](std::size_t i) {
            return static_cast<signed char>(buffer[i]);
        };
        if (at(0) <= 0x20)
            continue;
        std::size_t cut = 1;
        while (!(at(cut) <= 0x14 || (at(cut) <= 0x20 && at(cut + 1) <= 0x20)))
            ++cut;
        Append(labels, values, field.label, LenientUtf8(std::string_view(buffer.data(), cut)));
    }
    unsigned char genre = 0xFF;
    if (file.ReadAt(position, &genre, 1) == 1 && genre < kGenres.size())
        Append(labels, values, "**Genre:", kGenres[genre]);
}

// The raw text of the frame whose id ends at head[p]: its data after the encoding byte, up
// to the first zero (a comment keeps its zeros as "_"). Only bytes inside the frame, the
// file and the fixed bound are read.
std::string ReadFrameBytes(const ByteSource& file, const Head& head, std::size_t p,
                           bool keepZeros) {
    const std::uint32_t size = (std::uint32_t{head[p + 1]} << 24) |
                               (std::uint32_t{head[p + 2]} << 16) |
                               (std::uint32_t{head[p + 3]} << 8) | std::uint32_t{head[p + 4]};
    const std::uint64_t start = p + 8;
    if (size <= 1 || start >= file.Size())
        return {};
    const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(
        {size - 1u, MediaTagReader::kMaxFrameTextBytes, file.Size() - start}));
    std::string text(wanted, '\0');
    text.resize(file.ReadAt(start, text.data(), wanted));
    if (keepZeros)
        std::replace(text.begin(), text.end(), '\0', '_');
    else if (const std::size_t zero = text.find('\0'); zero != std::string::npos)
        text.resize(zero);
    return text;
}

// A genre number written in parentheses: its name when it is in the table, else the text as
// it stands (such as the RX and CR of remixes and covers).
std::string GenreName(std::string_view number) {
    const bool digits =
        !number.empty() && number.size() <= 3 &&
        std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (digits) {
        std::size_t index = 0;
        for (const char c : number)
            index = index * 10 + static_cast<std::size_t>(c - '0');
        if (index < kGenres.size())
            return kGenres[index];
    }
    return LenientUtf8(number);
}

std::string ReadGenre(const ByteSource& file, const Head& head, std::size_t p) {
    const std::string text = ReadFrameBytes(file, head, p, false);
    std::vector<std::string_view> numbers;
    for (std::size_t from = 0; numbers.size() < 2;) {
        const std::size_t open = text.find('(', from);
        if (open == std::string::npos)
            break;
        const std::size_t close = text.find(')', open + 1);
        if (close == std::string::npos)
            break;
        numbers.push_back(std::string_view(text).substr(open + 1, close - open - 1));
        from = close + 1;
    }
    if (numbers.size() == 2)
        return GenreName(numbers[0]) + ", " + GenreName(numbers[1]);
    if (numbers.size() == 1)
        return GenreName(numbers[0]);
    return LenientUtf8(text);
}

// Walks the head byte by byte, reading every frame id it meets, and stops at the first
// 0xFF that does not directly follow a non-zero byte: there the audio is taken to begin.
std::size_t ReadId3v2(const ByteSource& file, const Head& head, std::vector<std::string>& labels,
                      std::vector<std::string>& values) {
    std::size_t p = 0;
    if (head[p] == 0xFF)
        return p;
    for (;;) {
        // Every id starts with 'T' or 'C'; most bytes are passed over at the first test.
        if (p >= 3 && (head[p - 3] == 'T' || head[p - 3] == 'C')) {
            const std::string_view four(reinterpret_cast<const char*>(&head[p - 3]), 4);
            for (const FrameId& frame : kFrameIds) {
                if (four != frame.id)
                    continue;
                std::string value;
                switch (frame.kind) {
                case FrameKind::Text:
                    value = LenientUtf8(ReadFrameBytes(file, head, p, false));
                    break;
                case FrameKind::Comment:
                    value = LenientUtf8(ReadFrameBytes(file, head, p, true));
                    break;
                case FrameKind::Genre:
                    value = ReadGenre(file, head, p);
                    break;
                }
                Append(labels, values, frame.label, std::move(value));
                break;
            }
        }
        ++p;
        if (p > 2 && p < kHeadBytes && head[p - 1] != 0 && head[p] == 0xFF)
            ++p;
        if (p >= kHeadBytes || head[p] == 0xFF)
            return p;
    }
}

void ReadMpegHeader(const ByteSource& file, std::uint64_t offset, std::vector<std::string>& labels,
                    std::vector<std::string>& values) {
    if (offset >= kHeadBytes)
        return;
    std::array<unsigned char, 4> h{};
    file.ReadAt(offset, h.data(), h.size());
    if (h[0] != 0xFF && offset == 0)
        return;
    const std::uint32_t word = (std::uint32_t{h[0]} << 24) | (std::uint32_t{h[1]} << 16) |
                               (std::uint32_t{h[2]} << 8) | std::uint32_t{h[3]};
    const std::uint32_t version = (word >> 19) & 3;
    const std::uint32_t layerBits = (word >> 17) & 3;
    const std::uint32_t bitrateIndex = (word >> 12) & 15;
    const std::uint32_t frequencyIndex = (word >> 10) & 3;
    const bool isPrivate = ((word >> 8) & 1) != 0;
    const std::uint32_t mode = (word >> 6) & 3;
    const bool copyright = ((word >> 3) & 1) != 0;

    std::uint32_t bitrate = 0; // the reserved layer 00 has no row
    if (layerBits != 0) {
        const bool mpeg1 = (version & 1) != 0;
        const std::size_t row = mpeg1 ? 3 - layerBits : (layerBits == 3 ? 3 : 4);
        bitrate = kBitrates[row][bitrateIndex];
    }
    const std::uint32_t frequency = kFrequencies[version][frequencyIndex];
    const std::uint32_t layer = 4 - layerBits;

    // Without a rate there is no length and no frame count to tell.
    const std::uint64_t size = file.Size();
    const std::uint64_t seconds = bitrate == 0 ? 0 : size / 125 / bitrate; // size * 8 / 1000
    std::uint64_t frames = 0;
    if (bitrate != 0 && frequency != 0) {
        const double k = layerBits == 3 ? 12.0 : 144.0;
        const auto frameLength = static_cast<float>(bitrate * 1000.0 / frequency * k);
        frames = static_cast<std::uint64_t>(static_cast<double>(size) /
                                            static_cast<double>(frameLength));
    }

    Append(labels, values, "**Length:",
           std::to_string(seconds / 60) + " min " + std::to_string(seconds % 60) + " sec");
    Append(labels, values, "**Version:",
           std::string("MPEG ") + kVersionTexts[version] + " Layer " + std::to_string(layer));
    Append(labels, values, "**KBPS:", std::to_string(bitrate) + " Kbit");
    Append(labels, values, "**Frames:", std::to_string(frames) + " frames");
    Append(labels, values, "**Private:", isPrivate ? "Yes" : "No");
    Append(labels, values, "**Mode:", kModes[mode]);
    Append(labels, values, "**Copyright:", copyright ? "Yes" : "No");
    Append(labels, values, "**Frequency:", std::to_string(frequency) + "Hz");
}

} // namespace

void MediaTagReader::ReadTags(const ByteSource& file, std::vector<std::string>& labels,
                              std::vector<std::string>& values) {
    Head head{};
    file.ReadAt(0, head.data(), head.size());
    const bool id3v1 = IsId3v1(file);
    const bool id3v2 = IsId3v2(head);

    labels.emplace_back(" ");
    std::uint64_t audioOffset = 0;
    if (id3v1 && id3v2) {
        values.push_back("There're Id3v1 & Id3v2." +
                         std::to_string(static_cast<signed char>(head[3])));
        audioOffset = ReadId3v2(file, head, labels, values);
    } else if (id3v1) {
        values.emplace_back("Id3v1 Tag:");
        ReadId3v1(file, labels, values);
    } else if (id3v2) {
        values.emplace_back("Id3v2 Tag:");
        audioOffset = ReadId3v2(file, head, labels, values);
    } else {
        values.emplace_back("There isn't any Tag.");
    }
    ReadMpegHeader(file, audioOffset, labels, values);
}

} // namespace dirscribe
