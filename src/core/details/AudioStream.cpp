// SPDX-License-Identifier: MIT
// An audio stream's length, rate, frequency and channels, and what is read here without a
// library: raw AAC (ADTS), where the sound of an Ogg stream starts, an MP4 track's channels
// and packet sizes.
#include "core/details/AudioStream.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace dirscribe {

namespace {

constexpr std::size_t kAdtsHeaderBytes = 7;
constexpr std::uint64_t kSamplesPerAacFrame = 1024;
constexpr std::size_t kChunkBytes = std::size_t{64} * 1024;
constexpr std::size_t kOggPageHeaderBytes = 27;

constexpr std::array<std::uint32_t, 13> kAacFrequencies = {
    96000, 88200, 64000, 48000, 44100, 32000, 24000, 22050, 16000, 12000, 11025, 8000, 7350};
// Channel configurations 1-7; 7 is 7.1.
constexpr std::array<std::uint32_t, 8> kAacChannels = {0, 1, 2, 3, 4, 5, 6, 8};

// Past an ID3v2 tag at the start (its size is syncsafe, a footer adds ten).
std::uint64_t ContentStart(const ByteSource& file) {
    std::array<unsigned char, 10> head{};
    if (file.ReadAt(0, head.data(), head.size()) != head.size() || head[0] != 'I' ||
        head[1] != 'D' || head[2] != '3')
        return 0;
    std::uint64_t size = 0;
    for (std::size_t i = 6; i < 10; ++i)
        size = (size << 7) | (head[i] & 0x7FU);
    return 10 + size + ((head[5] & 0x10) != 0 ? 10 : 0);
}

struct AdtsHeader {
    std::uint32_t frequency = 0;
    std::uint32_t channels = 0;
    std::uint32_t bytes = 0; // the whole frame, header included
};

// Twelve sync bits, layer 0, a known frequency and a frame longer than its header.
std::optional<AdtsHeader> ReadAdtsHeader(const unsigned char* h) {
    if (h[0] != 0xFF || (h[1] & 0xF6) != 0xF0)
        return std::nullopt;
    const std::uint32_t frequency = (h[2] >> 2) & 0x0F;
    const std::uint32_t channels = ((h[2] & 1U) << 2) | (h[3] >> 6);
    const std::uint32_t bytes = ((h[3] & 3U) << 11) | (std::uint32_t{h[4]} << 3) | (h[5] >> 5);
    if (frequency >= kAacFrequencies.size() || bytes <= kAdtsHeaderBytes)
        return std::nullopt;
    return AdtsHeader{kAacFrequencies[frequency], kAacChannels[channels], bytes};
}

std::optional<AdtsHeader> AdtsHeaderAt(const ByteSource& file, std::uint64_t at) {
    std::array<unsigned char, kAdtsHeaderBytes> h{};
    if (file.ReadAt(at, h.data(), h.size()) != h.size())
        return std::nullopt;
    return ReadAdtsHeader(h.data());
}

std::uint64_t BigEndian(const unsigned char* bytes, std::size_t count) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < count; ++i)
        value = value << 8 | bytes[i];
    return value;
}

// A stretch of the file: an MP4 box's content.
struct Span {
    std::uint64_t begin = 0;
    std::uint64_t end = 0;
};

std::string Bytes(const ByteSource& file, std::uint64_t at, std::size_t count) {
    std::string bytes(count, '\0');
    bytes.resize(file.ReadAt(at, bytes.data(), count));
    return bytes;
}

// The boxes of type in within, in order (at most kMaxBoxes of all types are looked at).
std::vector<Span> Boxes(const ByteSource& file, Span within, std::string_view type) {
    constexpr int kMaxBoxes = 4096;
    std::vector<Span> found;
    std::uint64_t at = within.begin;
    for (int boxes = 0; boxes < kMaxBoxes && at + 8 <= within.end; ++boxes) {
        const std::string header = Bytes(file, at, 16);
        if (header.size() < 8)
            break;
        const auto* h = reinterpret_cast<const unsigned char*>(header.data());
        std::uint64_t size = BigEndian(h, 4);
        std::uint64_t content = at + 8;
        if (size == 1) { // a 64-bit size follows the type
            if (header.size() < 16)
                break;
            size = BigEndian(h + 8, 8);
            content = at + 16;
        } else if (size == 0) { // to the end
            size = within.end - at;
        }
        if (size < content - at || size > within.end - at)
            break;
        if (header.compare(4, 4, type) == 0)
            found.push_back({content, at + size});
        at += size;
    }
    return found;
}

std::optional<Span> Box(const ByteSource& file, Span within, std::string_view type) {
    const std::vector<Span> boxes = Boxes(file, within, type);
    return boxes.empty() ? std::nullopt : std::optional<Span>(boxes.front());
}

std::optional<Span> Path(const ByteSource& file, Span within,
                         std::initializer_list<std::string_view> types) {
    std::optional<Span> box = within;
    for (const std::string_view type : types)
        if (box)
            box = Box(file, *box, type);
    return box;
}

// An MPEG-4 descriptor's length: up to four bytes of seven bits each.
std::optional<std::uint64_t> DescriptorLength(std::string_view bytes, std::size_t& at) {
    std::uint64_t length = 0;
    for (int i = 0; i < 4 && at < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[at++]);
        length = length << 7 | (byte & 0x7FU);
        if ((byte & 0x80) == 0)
            return length;
    }
    return std::nullopt;
}

// What the AudioSpecificConfig in an esds box's descriptors names: ES (tag 3), then decoder
// configuration (tag 4), then decoder specific information (tag 5).
struct AacConfig {
    std::uint32_t frequency = 0;
    std::uint32_t channels = 0;
};

AacConfig EsdsConfig(std::string_view esds) {
    std::size_t at = 4; // version and flags
    for (const int tag : {3, 4, 5}) {
        if (at >= esds.size() || esds[at] != tag)
            return {};
        ++at;
        if (!DescriptorLength(esds, at))
            return {};
        if (tag == 3) { // ES id, then flags naming optional fields
            if (at + 3 > esds.size())
                return {};
            const auto flags = static_cast<unsigned char>(esds[at + 2]);
            at += 3 + ((flags & 0x80) != 0 ? 2 : 0) + ((flags & 0x20) != 0 ? 2 : 0);
            if ((flags & 0x40) != 0 && at < esds.size())
                at += 1 + static_cast<unsigned char>(esds[at]);
        } else if (tag == 4) { // object type, stream type, buffer size, two rates
            at += 13;
        }
    }
    // Object type (5 bits, 31: 6 more), frequency index (4 bits, 15: the frequency in 24
    // more), channels.
    std::uint64_t bits = 0;
    int have = 0;
    std::size_t next = at;
    const auto take = [&](int count) -> std::optional<std::uint32_t> {
        while (have < count) {
            if (next >= esds.size())
                return std::nullopt;
            bits = bits << 8 | static_cast<unsigned char>(esds[next++]);
            have += 8;
        }
        have -= count;
        return static_cast<std::uint32_t>((bits >> have) & ((1U << count) - 1));
    };
    const auto object = take(5);
    if (!object || (*object == 31 && !take(6)))
        return {};
    AacConfig config;
    const auto index = take(4);
    if (!index)
        return {};
    if (*index == 15) {
        const auto frequency = take(24);
        if (!frequency)
            return {};
        config.frequency = *frequency;
    } else if (*index < kAacFrequencies.size()) {
        config.frequency = kAacFrequencies[*index];
    }
    const auto channels = take(4);
    config.channels = channels && *channels < kAacChannels.size() ? kAacChannels[*channels] : 0;
    return config;
}

// The sum of a track's packet sizes (stsz: one size for all, or one each).
std::uint64_t PacketBytes(const ByteSource& file, Span stsz) {
    const std::string head = Bytes(file, stsz.begin, 12);
    if (head.size() < 12)
        return 0;
    const auto* h = reinterpret_cast<const unsigned char*>(head.data());
    const std::uint64_t size = BigEndian(h + 4, 4);
    const std::uint64_t count = BigEndian(h + 8, 4);
    if (size != 0)
        return size * count;
    const std::uint64_t entries = std::min(count, (stsz.end - stsz.begin - 12) / 4);
    std::uint64_t total = 0;
    std::vector<unsigned char> chunk(kChunkBytes);
    for (std::uint64_t done = 0; done < entries;) {
        const std::size_t wanted =
            static_cast<std::size_t>(std::min<std::uint64_t>(entries - done, kChunkBytes / 4));
        const std::size_t read = file.ReadAt(stsz.begin + 12 + done * 4, chunk.data(), wanted * 4);
        if (read < wanted * 4)
            break;
        for (std::size_t i = 0; i < wanted; ++i)
            total += BigEndian(&chunk[i * 4], 4);
        done += wanted;
    }
    return total;
}

// A track's length from its media header (mdhd, version 0 or 1): its duration in units of
// its time scale, and the scale.
struct TrackLength {
    std::uint64_t duration = 0;
    std::uint64_t scale = 0;
};

TrackLength ReadTrackLength(const ByteSource& file, Span mdhd) {
    const std::string head = Bytes(file, mdhd.begin, 32);
    const auto* h = reinterpret_cast<const unsigned char*>(head.data());
    const bool wide = !head.empty() && h[0] == 1;
    if (head.size() < (wide ? 32U : 20U))
        return {};
    return {BigEndian(h + (wide ? 24 : 16), wide ? 8 : 4), BigEndian(h + (wide ? 20 : 12), 4)};
}

// The rate of a track's packets: their sizes over its length, as ffprobe reckons it. No more
// packet bytes than the file holds are counted, whatever the table says.
std::uint64_t PacketRate(const ByteSource& file, Span mdia, Span stbl) {
    const auto mdhd = Box(file, mdia, "mdhd");
    const auto stsz = Box(file, stbl, "stsz");
    const TrackLength length = mdhd ? ReadTrackLength(file, *mdhd) : TrackLength{};
    if (!stsz || length.duration == 0 || length.scale == 0)
        return 0;
    const std::uint64_t bytes = std::min(PacketBytes(file, *stsz), file.Size());
    return static_cast<std::uint64_t>(static_cast<double>(bytes) * 8 *
                                      static_cast<double>(length.scale) /
                                      static_cast<double>(length.duration));
}

} // namespace

std::optional<Mp4Audio> ReadMp4Audio(const ByteSource& file) {
    const std::optional<Span> moov = Box(file, {0, file.Size()}, "moov");
    if (!moov)
        return std::nullopt;
    for (const Span trak : Boxes(file, *moov, "trak")) {
        const std::optional<Span> mdia = Box(file, trak, "mdia");
        const std::optional<Span> hdlr = mdia ? Box(file, *mdia, "hdlr") : std::nullopt;
        if (!hdlr || Bytes(file, hdlr->begin + 8, 4) != "soun")
            continue;
        const std::optional<Span> stbl = Path(file, *mdia, {"minf", "stbl"});
        const std::optional<Span> stsd = stbl ? Box(file, *stbl, "stsd") : std::nullopt;
        if (!stsd || stsd->end - stsd->begin < 8)
            return Mp4Audio{};
        // The first sample entry: its 28 bytes of audio fields, then its own boxes.
        const Span entries{stsd->begin + 8, stsd->end};
        Mp4Audio audio;
        if (const auto mp4a = Box(file, entries, "mp4a")) {
            if (const auto esds = Box(file, {mp4a->begin + 28, mp4a->end}, "esds")) {
                const auto bytes = std::min<std::uint64_t>(esds->end - esds->begin, 256);
                const AacConfig config =
                    EsdsConfig(Bytes(file, esds->begin, static_cast<std::size_t>(bytes)));
                audio.channels = config.channels;
                audio.frequency = config.frequency;
            }
            audio.bitsPerSecond = PacketRate(file, *mdia, *stbl);
        } else if (Box(file, entries, "alac")) {
            audio.bitsPerSecond = PacketRate(file, *mdia, *stbl);
        }
        return audio;
    }
    return std::nullopt;
}

void AudioStream::AddRows(FileData& data) const {
    if (milliseconds > 0) {
        const std::uint64_t seconds = milliseconds / 1000;
        data.Add("**Length:",
                 std::to_string(seconds / 60) + " min " + std::to_string(seconds % 60) + " sec");
    }
    if (bitsPerSecond > 0)
        data.Add("**KBPS:", std::to_string((bitsPerSecond + 500) / 1000) + " Kbit");
    if (frequency > 0)
        data.Add("**Frequency:", std::to_string(frequency) + "Hz");
    if (channels > 0)
        data.Add("**Channels:", std::to_string(channels));
}

std::optional<AudioStream> ReadAdtsStream(const ByteSource& file) {
    const std::uint64_t start = ContentStart(file);
    const auto first = AdtsHeaderAt(file, start);
    if (!first || !AdtsHeaderAt(file, start + first->bytes))
        return std::nullopt;
    const std::uint64_t end = file.Size();
    const std::uint64_t stop = std::min(end, start + kMaxAdtsWalkBytes);
    std::vector<unsigned char> chunk(kChunkBytes);
    std::uint64_t at = start;
    std::uint64_t frames = 0;
    while (at < stop) {
        const std::size_t read = file.ReadAt(at, chunk.data(), chunk.size());
        std::size_t in = 0;
        while (in + kAdtsHeaderBytes <= read) {
            const auto header = ReadAdtsHeader(&chunk[in]);
            if (!header)
                break;
            ++frames;
            in += header->bytes;
        }
        at += in;
        // A header that is not one, or a chunk the first frame does not fit in: done.
        if (in == 0 || read < chunk.size())
            break;
    }
    if (at > end)
        at = end; // the last frame cut short
    AudioStream stream{"AAC", 0, 0, first->frequency, first->channels};
    const std::uint64_t walked = at - start;
    if (frames == 0 || walked == 0)
        return stream;
    // The rate from the frames walked; the length from their count when they reach the
    // end, else from all the stream's bytes at that rate.
    stream.bitsPerSecond = walked * 8 * first->frequency / (frames * kSamplesPerAacFrame);
    if (at == end)
        stream.milliseconds = frames * kSamplesPerAacFrame * 1000 / first->frequency;
    else if (stream.bitsPerSecond > 0)
        stream.milliseconds = (end - start) * 8 * 1000 / stream.bitsPerSecond;
    return stream;
}

std::optional<std::uint64_t> OggAudioStart(const ByteSource& file, int headerPackets) {
    std::array<unsigned char, kOggPageHeaderBytes + 255> page{};
    std::uint64_t at = 0;
    int packets = 0;
    while (at < std::min(file.Size(), kMaxOggHeaderBytes)) {
        const std::size_t read = file.ReadAt(at, page.data(), page.size());
        if (read < kOggPageHeaderBytes || page[0] != 'O' || page[1] != 'g' || page[2] != 'g' ||
            page[3] != 'S')
            return std::nullopt;
        const std::size_t segments = page[26];
        if (read < kOggPageHeaderBytes + segments)
            return std::nullopt;
        std::uint64_t body = 0;
        for (std::size_t i = 0; i < segments; ++i) {
            const unsigned char lacing = page[kOggPageHeaderBytes + i];
            body += lacing;
            // A lacing value below 255 ends a packet.
            if (lacing < 255)
                ++packets;
        }
        at += kOggPageHeaderBytes + segments + body;
        if (packets >= headerPackets)
            return at;
    }
    return std::nullopt;
}

} // namespace dirscribe
