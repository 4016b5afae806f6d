// SPDX-License-Identifier: MIT
// The length and frame rate of a video through libavformat, from the streams' own timing.
#include "core/details/libraries/VideoTiming.h"

#include "core/details/libraries/BudgetedSource.h"

#include <cstdio>
#include <limits>
#include <memory>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/log.h>
}

namespace dirscribe {

namespace {

constexpr int kBufferBytes = 64 * 1024;

// libavformat reads the file through here, and so through the budget.
struct Reader {
    const ByteSource& file;
    std::uint64_t position = 0;
};

int ReadPacket(void* opaque, std::uint8_t* buffer, int size) {
    auto& reader = *static_cast<Reader*>(opaque);
    const std::size_t read =
        size <= 0 ? 0 : reader.file.ReadAt(reader.position, buffer, static_cast<std::size_t>(size));
    reader.position += read;
    return read == 0 ? AVERROR_EOF : static_cast<int>(read);
}

std::int64_t Seek(void* opaque, std::int64_t offset, int whence) {
    auto& reader = *static_cast<Reader*>(opaque);
    const auto size = static_cast<std::int64_t>(
        std::min<std::uint64_t>(reader.file.Size(), std::numeric_limits<std::int64_t>::max()));
    if ((whence & AVSEEK_SIZE) != 0)
        return size;
    whence &= ~AVSEEK_FORCE;
    std::int64_t base = 0;
    if (whence == SEEK_CUR)
        base = static_cast<std::int64_t>(reader.position);
    else if (whence == SEEK_END)
        base = size;
    else if (whence != SEEK_SET)
        return AVERROR(EINVAL);
    std::int64_t position = 0;
    if (__builtin_add_overflow(base, offset, &position) || position < 0)
        return AVERROR(EINVAL);
    reader.position = static_cast<std::uint64_t>(position);
    return position;
}

struct IoDeleter {
    void operator()(AVIOContext* io) const {
        av_freep(&io->buffer);
        avio_context_free(&io);
    }
};

struct InputDeleter {
    void operator()(AVFormatContext* input) const { avformat_close_input(&input); }
};

} // namespace

std::optional<VideoTiming> ReadVideoTiming(const ByteSource& file) {
    av_log_set_level(AV_LOG_QUIET);
    const BudgetedSource budget(file, kVideoTimingBudgetBytes);
    Reader reader{budget};
    auto* buffer = static_cast<unsigned char*>(av_malloc(kBufferBytes));
    if (buffer == nullptr)
        return std::nullopt;
    const std::unique_ptr<AVIOContext, IoDeleter> io(
        avio_alloc_context(buffer, kBufferBytes, 0, &reader, ReadPacket, nullptr, Seek));
    if (!io) {
        av_free(buffer);
        return std::nullopt;
    }
    AVFormatContext* opened = avformat_alloc_context();
    if (opened == nullptr)
        return std::nullopt;
    opened->pb = io.get();
    opened->flags |= AVFMT_FLAG_CUSTOM_IO;
    // A failed open frees the context.
    if (avformat_open_input(&opened, nullptr, nullptr, nullptr) < 0)
        return std::nullopt;
    const std::unique_ptr<AVFormatContext, InputDeleter> input(opened);
    if (avformat_find_stream_info(input.get(), nullptr) < 0)
        return std::nullopt;
    const int video = av_find_best_stream(input.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (video < 0)
        return std::nullopt;
    VideoTiming timing;
    if (input->duration != AV_NOPTS_VALUE && input->duration > 0)
        timing.milliseconds = static_cast<std::uint64_t>(input->duration / (AV_TIME_BASE / 1000));
    const AVRational rate = input->streams[video]->r_frame_rate;
    if (rate.num > 0 && rate.den > 0) {
        timing.rateNumerator = rate.num;
        timing.rateDenominator = rate.den;
    }
    return timing;
}

} // namespace dirscribe
