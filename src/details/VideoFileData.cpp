// SPDX-License-Identifier: MIT
// File Data of videos through MediaInfo: container, length, picture and codecs.
#include "details/VideoFileData.h"

#include "details/BudgetedSource.h"

#include <MediaInfo/MediaInfo.h>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace dirscribe {

namespace {

using MediaInfoLib::MediaInfo;
using MediaInfoLib::stream_t;

constexpr std::size_t kChunkBytes = std::size_t{64} * 1024;
constexpr std::size_t kFinished = 0x08; // Open_Buffer_Continue: nothing more is needed
constexpr std::uint64_t kNoSeek = static_cast<std::uint64_t>(-1);
// The budget read in whole chunks takes 1024 feeds; a file that sends MediaInfo back and
// forth for a few bytes at a time is stopped after this many.
constexpr int kMaxFeeds = 4096;

// MediaInfo's texts are wide where it was built for Unicode, as Debian builds it.
std::string Utf8(const MediaInfoLib::String& text) {
    std::string out;
    for (const auto unit : text) {
        // A wchar_t holding UTF-32, never negative.
        const auto c = static_cast<std::uint32_t>(unit); // NOLINT(bugprone-signed-char-misuse)
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x110000) {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string Field(MediaInfo& info, stream_t kind, const MediaInfoLib::Char* name) {
    return info.Count_Get(kind) == 0 ? std::string() : Utf8(info.Get(kind, 0, name));
}

// Hands MediaInfo the bytes it asks for, where it asks for them, until it has enough, the
// file ends or the budget is spent.
void Feed(MediaInfo& info, const ByteSource& file) {
    const BudgetedSource budget(file, kVideoBudgetBytes);
    std::vector<unsigned char> chunk(kChunkBytes);
    std::uint64_t offset = 0;
    info.Open_Buffer_Init(file.Size(), 0);
    for (int feeds = 0; feeds < kMaxFeeds; ++feeds) {
        const std::size_t read = budget.ReadAt(offset, chunk.data(), chunk.size());
        if (read == 0)
            break;
        offset += read;
        if ((info.Open_Buffer_Continue(chunk.data(), read) & kFinished) != 0)
            break;
        const std::uint64_t seek = info.Open_Buffer_Continue_GoTo_Get();
        if (seek != kNoSeek) {
            offset = seek;
            info.Open_Buffer_Init(file.Size(), offset);
        }
    }
    info.Open_Buffer_Finalize();
}

// Milliseconds as "95 min 3 sec"; nothing for a text that is no length a file can have
// (a damaged header can claim 10^75 of them).
std::string Minutes(const std::string& milliseconds) {
    constexpr double kMaxMilliseconds = 1e15; // 31,000 years
    if (milliseconds.empty() || milliseconds.find_first_not_of("0123456789.") != std::string::npos)
        return {};
    const double value = std::strtod(milliseconds.c_str(), nullptr);
    if (!(value >= 0 && value < kMaxMilliseconds))
        return {};
    const auto seconds = static_cast<std::uint64_t>(value / 1000);
    return std::to_string(seconds / 60) + " min " + std::to_string(seconds % 60) + " sec";
}

} // namespace

FileData ReadVideoFileData(const ByteSource& file, VideoTimingReader readTiming) {
    MediaInfo info;
    Feed(info, file);
    if (info.Count_Get(MediaInfoLib::Stream_Video) == 0)
        return {};
    // MediaInfo reads a constant frame rate, and the length of a container with an index, as
    // the streams give them. A rate it finds variable it averages (a fragmented MP4 at 30 fps
    // shows 29.8), and a transport stream's length it estimates: those, and a rate it cannot
    // tell, come from the time stamps.
    const std::string format = Field(info, MediaInfoLib::Stream_General, __T("Format"));
    std::string rate = Field(info, MediaInfoLib::Stream_Video, __T("FrameRate"));
    const bool estimated = rate.empty() || format == "MPEG-TS" || format == "BDAV" ||
                           Field(info, MediaInfoLib::Stream_Video, __T("FrameRate_Mode")) == "VFR";
    const std::optional<VideoTiming> read =
        readTiming != nullptr && estimated ? readTiming(file) : std::nullopt;
    const VideoTiming* timing = read ? &*read : nullptr;
    FileData data;
    data.summary = "Video:";
    data.Add("**Format:", format);
    data.Add("**Title:", Field(info, MediaInfoLib::Stream_General, __T("Title")));
    data.Add("**Length:",
             timing != nullptr && timing->milliseconds > 0
                 ? Minutes(std::to_string(timing->milliseconds))
                 : Minutes(Field(info, MediaInfoLib::Stream_General, __T("Duration"))));
    const std::string width = Field(info, MediaInfoLib::Stream_Video, __T("Width"));
    const std::string height = Field(info, MediaInfoLib::Stream_Video, __T("Height"));
    if (!width.empty() && !height.empty())
        data.Add("**Size:", width + " x " + height);
    if (timing != nullptr && timing->rateNumerator > 0) {
        std::array<char, 32> text{};
        std::snprintf(text.data(), text.size(), "%.3f",
                      static_cast<double>(timing->rateNumerator) / timing->rateDenominator);
        rate = text.data();
    }
    if (!rate.empty())
        data.Add("**Frame rate:", rate + " fps");
    data.Add("**Video:", Field(info, MediaInfoLib::Stream_Video, __T("Format")));
    data.Add("**Audio:", Field(info, MediaInfoLib::Stream_Audio, __T("Format")));
    return data;
}

} // namespace dirscribe
