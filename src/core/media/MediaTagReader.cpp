// SPDX-License-Identifier: MIT
// The ID3 tags and the first MPEG audio frame header of an MP3 file as label and value texts.
#include "core/media/MediaTagReader.h"

#include "core/format/AsciiCase.h"
#include "core/format/Utf8.h"
#include "core/media/ApeTag.h"
#include "core/media/Id3Text.h"
#include "core/media/Id3v2Tag.h"
#include "core/media/MpegHeader.h"
#include "core/media/VbrHeader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace dirscribe {

namespace {

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

// The version number as "%f" prints it, by version field.
constexpr std::array<const char*, 4> kVersionTexts = {"2.500000", "0.000000", "2.000000",
                                                      "1.000000"};

constexpr std::array<const char*, 4> kModes = {"Stereo", "Joint Stereo", "Dual Channel",
                                               "Single Channel"};

enum class FrameKind { Text, Comment, Genre, Date };

struct FrameId {
    std::string_view id;
    const char* label;
    FrameKind kind;
};

constexpr std::array<FrameId, 10> kFrameIds = {{
    {"TIT2", "**Title:", FrameKind::Text},
    {"COMM", "**Comments:", FrameKind::Comment},
    {"TYER", "**Year:", FrameKind::Text},
    {"TDRC", "**Year:", FrameKind::Date}, // 2.4 keeps the year in its recording time
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
    // ID3v1.1 keeps the track in the comment's last byte, a zero byte before it.
    std::array<unsigned char, 2> track{};
    if (file.ReadAt(position - 2, track.data(), track.size()) == track.size() && track[0] == 0 &&
        track[1] != 0)
        Append(labels, values, "**Track:", std::to_string(track[1]));
    unsigned char genre = 0xFF;
    if (file.ReadAt(position, &genre, 1) == 1 && genre < kGenres.size())
        Append(labels, values, "**Genre:", kGenres[genre]);
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
    return std::string(number);
}

// Up to two genre numbers in parentheses, by name; a text without any as it stands.
std::string Genre(const std::string& text) {
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
    return text;
}

// The first count code points of a UTF-8 text.
std::string FirstCharacters(const std::string& text, std::size_t count) {
    std::size_t end = 0;
    for (; end < text.size(); ++end) {
        // A byte that does not continue a character starts one.
        if ((static_cast<unsigned char>(text[end]) & 0xC0) != 0x80) {
            if (count == 0)
                break;
            --count;
        }
    }
    return text.substr(0, end);
}

// The values of a 2.4 text frame, which parts them by NULs, joined by "; "; a frame of an
// earlier version ends at its first NUL.
std::string Values(const std::string& text, unsigned char major, FrameKind kind) {
    std::string joined;
    for (std::size_t from = 0; from <= text.size();) {
        std::size_t nul = text.find('\0', from);
        if (nul == std::string::npos)
            nul = text.size();
        std::string value = text.substr(from, nul - from);
        if (kind == FrameKind::Genre)
            value = Genre(value);
        if (!value.empty())
            joined += (joined.empty() ? "" : "; ") + value;
        if (major < 4)
            break;
        from = nul + 1;
    }
    return joined;
}

// The text a frame shows: the data after its encoding byte as UTF-8, its values joined. A
// comment keeps its NULs as "_" (its terminating ones aside), so it shows its three-letter
// language, its description, "_" and the comment; the language is three ISO-8859-1 bytes
// whatever the encoding.
std::string FrameValue(FrameKind kind, std::string_view data, unsigned char major) {
    if (data.empty())
        return {};
    const auto encoding = static_cast<unsigned char>(data[0]);
    const std::string_view body = data.substr(1);
    std::string text;
    if (kind == FrameKind::Comment && !IsSingleByteId3Encoding(encoding)) {
        const std::size_t language = std::min<std::size_t>(3, body.size());
        text =
            LenientUtf8(body.substr(0, language)) + DecodeId3Text(encoding, body.substr(language));
    } else {
        text = DecodeId3Text(encoding, body);
    }
    if (kind == FrameKind::Comment) {
        text.erase(text.find_last_not_of('\0') + 1);
        std::replace(text.begin(), text.end(), '\0', '_');
        return text;
    }
    if (kind == FrameKind::Date) {
        text.resize(std::min(text.find('\0'), text.size()));
        return FirstCharacters(text, 4); // "2024-05-01T10:00" shows as the year
    }
    return Values(text, major, kind);
}

const FrameId* FindFrameId(std::string_view id) {
    const auto* const found = std::find_if(kFrameIds.begin(), kFrameIds.end(),
                                           [&](const FrameId& frame) { return frame.id == id; });
    return found == kFrameIds.end() ? nullptr : &*found;
}

// A row for each frame of the kinds shown, in the order the tag holds them.
void ReadId3v2(const ByteSource& file, const Id3v2Tag& tag, std::vector<std::string>& labels,
               std::vector<std::string>& values) {
    const auto frames = tag.Frames(
        file, [](std::string_view id) { return FindFrameId(id) != nullptr; },
        MediaTagReader::kMaxFrameTextBytes + 1);
    for (const Id3v2Frame& frame : frames) {
        const FrameId& kind = *FindFrameId(frame.id);
        Append(labels, values, kind.label, FrameValue(kind.kind, frame.data, tag.MajorVersion()));
    }
}

struct ApeField {
    std::string_view key; // as APEv2 names it, compared ignoring case
    const char* label;
};

constexpr std::array<ApeField, 7> kApeFields = {{
    {"title", "**Title:"},
    {"artist", "**Artist:"},
    {"album", "**Album:"},
    {"year", "**Year:"},
    {"track", "**Track:"},
    {"genre", "**Genre:"},
    {"comment", "**Comment:"},
}};

// The fields an APEv2 tag shares with ID3v1, in ID3v1's order; each key's first item.
void ReadApe(const ByteSource& file, const ApeTag& tag, std::vector<std::string>& labels,
             std::vector<std::string>& values) {
    const auto items = tag.TextItems(file, MediaTagReader::kMaxFrameTextBytes);
    for (const ApeField& field : kApeFields) {
        const auto found = std::find_if(items.begin(), items.end(), [&](const auto& item) {
            return AsciiLower(item.first) == field.key;
        });
        if (found != items.end() && !found->second.empty())
            Append(labels, values, field.label, found->second);
    }
}

// The header of the first frame of sound after a Xing or Info frame at offset: where an
// encoder wrote that frame as plain stereo, the sound may be joint stereo. The Xing frame's
// own header where no frame of its stream follows it.
MpegHeader SoundHeader(const ByteSource& file, std::uint64_t offset, const MpegHeader& first) {
    const MpegHeader next = MpegHeader::ReadAt(file, offset + first.FrameBytes());
    const bool sameStream = next.IsValid() && next.VersionField() == first.VersionField() &&
                            next.LayerBits() == first.LayerBits() &&
                            next.FrequencyIndex() == first.FrequencyIndex();
    return sameStream ? next : first;
}

// The stream lines of the frame at offset, the audio running to end. A variable-bitrate
// stream's length, frame count and average rate come from the count its first frame
// announces; any other stream's from the audio's bytes and the first header's rate, so
// that neither a cover picture nor a tag at the end counts as sound. In a file with a tag,
// LAME's Info frame before constant-rate sound holds no sound either: the frames are the ones
// it counts, and the header lines come from the first frame of sound. A file without any tag
// keeps the lines it always had.
void AppendStream(const ByteSource& file, std::uint64_t offset, std::uint64_t end, bool tagged,
                  std::vector<std::string>& labels, std::vector<std::string>& values) {
    const MpegHeader first = MpegHeader::ReadAt(file, offset);
    std::optional<VbrHeader> vbr = VbrHeader::Read(file, offset, first);
    if (vbr && vbr->constantRate && !tagged)
        vbr.reset();
    const MpegHeader header = vbr && tagged ? SoundHeader(file, offset, first) : first;
    std::uint64_t bitrate = header.Bitrate();
    const std::uint32_t frequency = first.Frequency();
    const std::uint64_t size = end > offset ? end - offset : 0;
    std::uint64_t seconds = 0;
    std::uint64_t frames = 0;
    if (vbr) {
        const std::uint64_t samples = std::uint64_t{vbr->frames} * first.SamplesPerFrame();
        seconds = samples / frequency;
        frames = vbr->frames;
        if (!vbr->constantRate) {
            const std::uint64_t total = vbr->bytes ? *vbr->bytes : size;
            // The frame holding the header is counted in the bytes but holds no sound.
            const std::uint64_t bytes = total - std::min<std::uint64_t>(total, first.FrameBytes());
            // kbit/s = bytes x 8 / (samples / frequency) / 1000, to the nearest.
            bitrate = (bytes * 8 * frequency + samples * 500) / (samples * 1000);
        }
    } else if (bitrate != 0) {
        // Without a rate there is no length and no frame count to tell.
        seconds = size / 125 / bitrate; // size * 8 / 1000
        if (frequency != 0) {
            const auto frameLength = static_cast<float>(static_cast<double>(bitrate) * 1000.0 /
                                                        frequency * header.LengthFactor());
            frames = static_cast<std::uint64_t>(static_cast<double>(size) /
                                                static_cast<double>(frameLength));
        }
    }

    Append(labels, values, "**Length:",
           std::to_string(seconds / 60) + " min " + std::to_string(seconds % 60) + " sec");
    Append(labels, values, "**Version:",
           std::string("MPEG ") + kVersionTexts[header.VersionField()] + " Layer " +
               std::to_string(4 - header.LayerBits()));
    Append(labels, values, "**KBPS:", std::to_string(bitrate) + " Kbit");
    Append(labels, values, "**Frames:", std::to_string(frames) + " frames");
    Append(labels, values, "**Private:", header.IsPrivate() ? "Yes" : "No");
    Append(labels, values, "**Mode:", kModes[header.ChannelMode()]);
    Append(labels, values, "**Copyright:", header.IsCopyright() ? "Yes" : "No");
    Append(labels, values, "**Frequency:", std::to_string(frequency) + "Hz");
}

} // namespace

bool MediaTagReader::HoldsMpegAudio(const ByteSource& file) {
    const auto tag = Id3v2Tag::Read(file);
    std::uint64_t start = tag ? tag->End() : 0;
    std::array<unsigned char, 256> bytes{};
    for (std::uint64_t end = start + MpegHeader::kSearchBytes; start < end;) {
        const std::size_t read = file.ReadAt(start, bytes.data(), bytes.size());
        const auto* first = std::find_if(bytes.begin(), bytes.begin() + read,
                                         [](unsigned char byte) { return byte != 0; });
        start += static_cast<std::uint64_t>(first - bytes.begin());
        if (first != bytes.begin() + read)
            return MpegHeader::FindFirstFrame(file, start) == start;
        if (read < bytes.size())
            break;
    }
    return false;
}

void MediaTagReader::ReadTags(const ByteSource& file, std::vector<std::string>& labels,
                              std::vector<std::string>& values) {
    const auto tag = Id3v2Tag::Read(file);
    const bool id3v1 = IsId3v1(file);
    // The audio ends before an ID3v1 tag and an APEv2 tag in front of it.
    const std::uint64_t beforeId3v1 = file.Size() - (id3v1 ? kId3v1Bytes : 0);
    const auto ape = ApeTag::ReadBefore(file, beforeId3v1);
    const std::uint64_t audioEnd = ape ? ape->Start() : beforeId3v1;
    const bool tagged = id3v1 || tag || ape;

    labels.emplace_back(" ");
    if (id3v1 && tag) {
        values.push_back("There're Id3v1 & Id3v2." +
                         std::to_string(static_cast<signed char>(tag->MajorVersion())));
    } else if (id3v1) {
        values.emplace_back("Id3v1 Tag:");
        ReadId3v1(file, labels, values);
    } else if (tag) {
        values.emplace_back("Id3v2 Tag:");
    } else if (ape) {
        values.emplace_back("APEv2 Tag:");
        ReadApe(file, *ape, labels, values);
    } else {
        values.emplace_back("There isn't any Tag.");
    }

    if (tag) {
        // The audio follows the tag, perhaps after stray bytes; a tag with none behind it
        // gives no stream lines.
        ReadId3v2(file, *tag, labels, values);
        if (const auto audio = MpegHeader::FindFirstFrame(file, tag->End()))
            AppendStream(file, *audio, audioEnd, tagged, labels, values);
        return;
    }
    // Without an ID3v2 tag the stream is read where the file starts, if it starts with 0xFF.
    unsigned char first = 0;
    if (file.ReadAt(0, &first, 1) == 1 && first == 0xFF)
        AppendStream(file, 0, audioEnd, tagged, labels, values);
}

} // namespace dirscribe
