// SPDX-License-Identifier: MIT
// An audio stream's length, rate, frequency and channels, and the streams read here without
// a library: raw AAC (ADTS) and where the sound of an Ogg stream starts.
#include "core/details/AudioStream.h"

#include <algorithm>
#include <array>
#include <vector>

namespace dirscribe {

namespace {

constexpr std::size_t kAdtsHeaderBytes = 7;
constexpr std::uint64_t kSamplesPerAacFrame = 1024;
constexpr std::size_t kChunkBytes = 64 * 1024;
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
        size = (size << 7) | (head[i] & 0x7Fu);
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
    const std::uint32_t channels = ((h[2] & 1u) << 2) | (h[3] >> 6);
    const std::uint32_t bytes = ((h[3] & 3u) << 11) | (std::uint32_t{h[4]} << 3) | (h[5] >> 5);
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

} // namespace

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
