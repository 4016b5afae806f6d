// SPDX-License-Identifier: MIT
// File Data of audio files through TagLib: tags and stream properties.
#include "details/AudioFileData.h"

#include "details/BudgetedSource.h"

#include <aifffile.h>
#include <algorithm>
#include <apefile.h>
#include <array>
#include <asffile.h>
#include <cstring>
#include <fileref.h>
#include <flacfile.h>
#include <limits>
#include <mp4file.h>
#include <mpcfile.h>
#include <mpegfile.h>
#include <oggflacfile.h>
#include <optional>
#include <opusfile.h>
#include <speexfile.h>
#include <string_view>
#include <taglib.h>
#include <tiostream.h>
#include <tpropertymap.h>
#include <trueaudiofile.h>
#include <vector>
#include <vorbisfile.h>
#include <vorbisproperties.h>
#include <wavfile.h>
#include <wavpackfile.h>

namespace dirscribe {

namespace {

constexpr std::string_view kOpusHead = "OpusHead";

// TagLib 2 gave the stream's lengths and offsets wider types.
#if TAGLIB_MAJOR_VERSION >= 2
using BlockLength = std::size_t;
using BlockOffset = TagLib::offset_t;
using StreamOffset = TagLib::offset_t;
#else
using BlockLength = unsigned long;
using BlockOffset = unsigned long;
using StreamOffset = long;
#endif

// TagLib reads the file through this stream and so through the budget; it never writes.
class SourceStream final : public TagLib::IOStream {
public:
    SourceStream(const ByteSource& file, std::string name)
        : m_file(file), m_name(std::move(name)) {}

    [[nodiscard]] TagLib::FileName name() const override { return m_name.c_str(); }
    // A block is never larger than the budget could fill, whatever length a file's bytes
    // made TagLib ask for.
    TagLib::ByteVector readBlock(BlockLength length) override {
        const auto wanted = static_cast<unsigned int>(
            std::min({std::uint64_t{length}, m_file.Size() - std::min(Position(), m_file.Size()),
                      kAudioBudgetBytes}));
        TagLib::ByteVector block(wanted, '\0');
        const std::size_t read = wanted == 0 ? 0 : m_file.ReadAt(Position(), block.data(), wanted);
        block.resize(static_cast<unsigned int>(read));
        m_position += static_cast<StreamOffset>(read);
        return block;
    }
    void writeBlock(const TagLib::ByteVector&) override {}
    void insert(const TagLib::ByteVector&, BlockOffset, BlockLength) override {}
    void removeBlock(BlockOffset, BlockLength) override {}
    [[nodiscard]] bool readOnly() const override { return true; }
    [[nodiscard]] bool isOpen() const override { return true; }
    void seek(StreamOffset offset, Position from) override {
        const StreamOffset base = from == Beginning ? 0
                                  : from == Current ? m_position
                                                    : static_cast<StreamOffset>(m_file.Size());
        StreamOffset position = 0;
        if (__builtin_add_overflow(base, offset, &position))
            position = offset < 0 ? 0 : std::numeric_limits<StreamOffset>::max();
        m_position = std::max<StreamOffset>(0, position);
    }
    [[nodiscard]] StreamOffset tell() const override { return m_position; }
    StreamOffset length() override { return static_cast<StreamOffset>(m_file.Size()); }
    void truncate(StreamOffset) override {}

private:
    [[nodiscard]] std::uint64_t Position() const { return static_cast<std::uint64_t>(m_position); }

    const ByteSource& m_file;
    std::string m_name;
    StreamOffset m_position = 0;
};

template <typename Format> bool Is(const TagLib::File* file) {
    return dynamic_cast<const Format*>(file) != nullptr;
}

const char* FormatName(const TagLib::File* file) {
    if (Is<TagLib::FLAC::File>(file) || Is<TagLib::Ogg::FLAC::File>(file))
        return "FLAC";
    if (Is<TagLib::Ogg::Vorbis::File>(file))
        return "Ogg Vorbis";
    if (Is<TagLib::Ogg::Opus::File>(file))
        return "Opus";
    if (Is<TagLib::Ogg::Speex::File>(file))
        return "Speex";
    if (Is<TagLib::MP4::File>(file))
        return "MP4";
    if (Is<TagLib::RIFF::WAV::File>(file))
        return "WAV";
    if (Is<TagLib::RIFF::AIFF::File>(file))
        return "AIFF";
    if (Is<TagLib::APE::File>(file))
        return "APE";
    if (Is<TagLib::WavPack::File>(file))
        return "WavPack";
    if (Is<TagLib::MPC::File>(file))
        return "Musepack";
    if (Is<TagLib::ASF::File>(file))
        return "WMA";
    if (Is<TagLib::TrueAudio::File>(file))
        return "TrueAudio";
    if (Is<TagLib::MPEG::File>(file))
        return "MPEG";
    return "Audio";
}

std::string Utf8(const TagLib::String& text) {
    return text.to8Bit(true);
}

// A WAV file's tag is its ID3v2 chunk; most writers put their fields in the RIFF INFO list
// instead, which is shown when the ID3v2 tag holds nothing.
const TagLib::Tag* ShownTag(const TagLib::File* file) {
    const TagLib::Tag* tag = file->tag();
    if (const auto* wav = dynamic_cast<const TagLib::RIFF::WAV::File*>(file);
        wav != nullptr && (tag == nullptr || tag->isEmpty()) && wav->hasInfoTag())
        return wav->InfoTag();
    return tag;
}

// Every value of a field, joined by "; " (two ARTIST fields are two names, not one); the
// tag's own text where the property map lacks the field.
std::string Joined(const TagLib::PropertyMap& fields, const char* key, const TagLib::String& text) {
    const auto found = fields.find(key);
    if (found == fields.end() || found->second.isEmpty())
        return Utf8(text);
    std::string joined;
    for (const TagLib::String& value : found->second)
        if (!value.isEmpty())
            joined += (joined.empty() ? "" : "; ") + Utf8(value);
    return joined;
}

using OpenFunction = TagLib::File* (*)(TagLib::IOStream*);
using SupportedFunction = bool (*)(TagLib::IOStream*);

struct ContentFormat {
    SupportedFunction supported;
    OpenFunction open;
};

template <typename Format> TagLib::File* Open(TagLib::IOStream* stream) {
    return new Format(stream, true, TagLib::AudioProperties::Average);
}

// The formats by their bytes, as TagLib tells them, MPEG last: its frame sync can turn up
// by chance in the others' data. The Ogg formats go before FLAC, which takes any file with
// "fLaC" near its start for its own, and so an Ogg FLAC stream.
const auto kContentFormats = std::to_array<ContentFormat>({
    {TagLib::Ogg::Vorbis::File::isSupported, Open<TagLib::Ogg::Vorbis::File>},
    {TagLib::Ogg::Opus::File::isSupported, Open<TagLib::Ogg::Opus::File>},
    {TagLib::Ogg::FLAC::File::isSupported, Open<TagLib::Ogg::FLAC::File>},
    {TagLib::Ogg::Speex::File::isSupported, Open<TagLib::Ogg::Speex::File>},
    {TagLib::FLAC::File::isSupported,
     [](TagLib::IOStream* s) -> TagLib::File* {
         return new TagLib::FLAC::File(s, TagLib::ID3v2::FrameFactory::instance());
     }},
    {TagLib::MP4::File::isSupported, Open<TagLib::MP4::File>},
    {TagLib::RIFF::WAV::File::isSupported, Open<TagLib::RIFF::WAV::File>},
    {TagLib::RIFF::AIFF::File::isSupported, Open<TagLib::RIFF::AIFF::File>},
    {TagLib::ASF::File::isSupported, Open<TagLib::ASF::File>},
    {TagLib::APE::File::isSupported, Open<TagLib::APE::File>},
    {TagLib::WavPack::File::isSupported, Open<TagLib::WavPack::File>},
    {TagLib::MPC::File::isSupported, Open<TagLib::MPC::File>},
    {TagLib::TrueAudio::File::isSupported, Open<TagLib::TrueAudio::File>},
    {TagLib::MPEG::File::isSupported,
     [](TagLib::IOStream* s) -> TagLib::
                                 File* {
                                     return new TagLib::MPEG::File(
                                         s, TagLib::ID3v2::FrameFactory::instance());
                                 }},
});

// The file as the format its bytes say, whatever its name: a FLAC or MP4 file named .mp3
// is read as what it is. Only bytes of no format known here go by the name's extension.
TagLib::FileRef OpenAudio(TagLib::IOStream& stream) {
    for (const ContentFormat& format : kContentFormats) {
        stream.seek(0);
        if (format.supported(&stream)) {
            stream.seek(0);
            return TagLib::FileRef(format.open(&stream));
        }
    }
    stream.seek(0);
    return TagLib::FileRef(&stream, true, TagLib::AudioProperties::Average);
}

// Opus always plays at 48000 Hz; the file keeps the frequency it was made from.
int Frequency(const TagLib::AudioProperties& properties) {
    if (const auto* opus = dynamic_cast<const TagLib::Ogg::Opus::Properties*>(&properties))
        return opus->inputSampleRate();
    return properties.sampleRate();
}

std::uint64_t Le(const unsigned char* bytes, int count) {
    std::uint64_t value = 0;
    for (int i = count; i-- > 0;)
        value = value << 8 | bytes[i];
    return value;
}

// The granule position of an Ogg stream's last page: the samples played by its end. TagLib
// 1.13 looks for the last page by searching backwards in blocks and can miss it (a page a
// block boundary cuts), which showed an Opus or Vorbis file up to a quarter too short; this
// reads the last 64 KiB once. Nothing for a file that is not such a stream.
std::optional<std::uint64_t> LastGranule(const ByteSource& file) {
    constexpr std::size_t kPageHeader = 27;
    std::array<unsigned char, kPageHeader> first{};
    if (file.ReadAt(0, first.data(), first.size()) != first.size() ||
        std::memcmp(first.data(), "OggS", 4) != 0)
        return std::nullopt;
    const std::uint64_t serial = Le(&first[14], 4);
    const std::uint64_t size = file.Size();
    const std::uint64_t start = size - std::min<std::uint64_t>(size, std::uint64_t{64} * 1024);
    std::vector<unsigned char> tail(static_cast<std::size_t>(size - start));
    const std::size_t read = file.ReadAt(start, tail.data(), tail.size());
    for (std::size_t at = read; at-- > 0;) {
        if (at + kPageHeader > read || std::memcmp(&tail[at], "OggS", 4) != 0 ||
            tail[at + 4] != 0 || Le(&tail[at + 14], 4) != serial)
            continue;
        const std::uint64_t granule = Le(&tail[at + 6], 8);
        if (granule != UINT64_MAX) // a page that ends no packet
            return granule;
    }
    return std::nullopt;
}

// The length in milliseconds from the last granule where the stream's clock is known: Opus
// counts at 48000 Hz after the pre-skip its header names, Vorbis at its sampling rate.
std::optional<std::uint64_t> OggMilliseconds(const ByteSource& file,
                                             const TagLib::AudioProperties& properties) {
    std::uint64_t skip = 0;
    std::uint64_t rate = 0;
    if (dynamic_cast<const TagLib::Ogg::Opus::Properties*>(&properties) != nullptr) {
        std::array<unsigned char, 64> head{};
        const std::size_t read = file.ReadAt(0, head.data(), head.size());
        const auto* found =
            std::search(head.begin(), head.begin() + read, kOpusHead.begin(), kOpusHead.end());
        if (found + 12 > head.begin() + read)
            return std::nullopt;
        skip = Le(found + 10, 2);
        rate = 48000;
    } else if (dynamic_cast<const TagLib::Vorbis::Properties*>(&properties) != nullptr) {
        rate = static_cast<std::uint64_t>(std::max(properties.sampleRate(), 0));
    }
    const std::optional<std::uint64_t> granule = rate > 0 ? LastGranule(file) : std::nullopt;
    if (!granule || *granule < skip || (*granule - skip) / rate > INT32_MAX)
        return std::nullopt;
    return (*granule - skip) * 1000 / rate;
}

// The stream as TagLib reads it, then, for MP4, as its own boxes tell (an ALAC file's
// compressed rate, not the one its header states; a 5.1 AAC file's six channels, where its
// sample entry says two). Vorbis states its rate; Opus does not, and its rate is that of its
// sound alone, the header pages (with any picture) left out.
AudioStream StreamOf(const ByteSource& file, const TagLib::File& format,
                     const TagLib::AudioProperties& properties) {
    AudioStream stream{{},
                       static_cast<std::uint64_t>(std::max(properties.lengthInMilliseconds(), 0)),
                       static_cast<std::uint64_t>(std::max(properties.bitrate(), 0)) * 1000,
                       static_cast<std::uint32_t>(std::max(Frequency(properties), 0)),
                       static_cast<std::uint32_t>(std::max(properties.channels(), 0))};
    if (const auto milliseconds = OggMilliseconds(file, properties); milliseconds > 0U)
        stream.milliseconds = *milliseconds;
    if (const auto mp4 = Is<TagLib::MP4::File>(&format) ? ReadMp4Audio(file) : std::nullopt) {
        stream.channels = mp4->channels > 0 ? mp4->channels : stream.channels;
        stream.frequency = stream.frequency > 0 ? stream.frequency : mp4->frequency;
        stream.bitsPerSecond = mp4->bitsPerSecond > 0 ? mp4->bitsPerSecond : stream.bitsPerSecond;
    }
    const auto* vorbis = dynamic_cast<const TagLib::Vorbis::Properties*>(&properties);
    const bool opus = dynamic_cast<const TagLib::Ogg::Opus::Properties*>(&properties) != nullptr;
    if (vorbis != nullptr && vorbis->bitrateNominal() > 0) {
        stream.bitsPerSecond = static_cast<std::uint64_t>(vorbis->bitrateNominal());
    } else if ((vorbis != nullptr || opus) && stream.milliseconds > 0) {
        if (const auto start = OggAudioStart(file, opus ? 2 : 3); start && *start < file.Size())
            stream.bitsPerSecond = (file.Size() - *start) * 8 * 1000 / stream.milliseconds;
    }
    return stream;
}

} // namespace

FileData ReadAudioFileData(const ByteSource& file, const std::string& name) {
    const BudgetedSource budget(file, kAudioBudgetBytes);
    SourceStream stream(budget, name);
    const TagLib::FileRef ref = OpenAudio(stream);
    if (ref.isNull())
        return {};
    FileData data;
    const TagLib::Tag* tag = ShownTag(ref.file());
    const bool tagged = tag != nullptr && !tag->isEmpty();
    data.summary = std::string(FormatName(ref.file())) + (tagged ? " Tag:" : ":");
    if (tagged) {
        const TagLib::PropertyMap fields =
            tag == ref.file()->tag() ? ref.file()->properties() : tag->properties();
        data.Add("**Title:", Joined(fields, "TITLE", tag->title()));
        data.Add("**Artist:", Joined(fields, "ARTIST", tag->artist()));
        data.Add("**Album:", Joined(fields, "ALBUM", tag->album()));
        if (tag->year() != 0)
            data.Add("**Year:", std::to_string(tag->year()));
        if (tag->track() != 0)
            data.Add("**Track:", std::to_string(tag->track()));
        data.Add("**Genre:", Joined(fields, "GENRE", tag->genre()));
        data.Add("**Comment:", Joined(fields, "COMMENT", tag->comment()));
    }
    if (const TagLib::AudioProperties* properties = ref.audioProperties())
        StreamOf(budget, *ref.file(), *properties).AddRows(data);
    return data;
}

} // namespace dirscribe
