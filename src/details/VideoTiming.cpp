// SPDX-License-Identifier: MIT
// The length and frame rate of a video through libavformat, from the streams' own timing.
#include "details/VideoTiming.h"

#include "details/BudgetedSource.h"

#include <cstdio>
#include <dlfcn.h>
#include <limits>
#include <memory>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/log.h>
#include <libavutil/macros.h>
}

namespace dirscribe {

namespace {

constexpr int kBufferBytes = 64 * 1024;

// libavformat and the hundred libraries it needs take longer to load than most files take to
// read, so the reader loads them only for a video: the versions this was built against.
constexpr const char* kAvFormat = "libavformat.so." AV_STRINGIFY(LIBAVFORMAT_VERSION_MAJOR);
constexpr const char* kAvUtil = "libavutil.so." AV_STRINGIFY(LIBAVUTIL_VERSION_MAJOR);

struct LibraryCloser {
    void operator()(void* library) const { dlclose(library); }
};
using Library = std::unique_ptr<void, LibraryCloser>;

template <typename Function> bool Find(void* library, const char* name, Function*& function) {
    function = reinterpret_cast<Function*>(dlsym(library, name));
    return function != nullptr;
}

// The functions used here, from the libraries loaded.
struct Av {
    Library util;
    Library format;
    decltype(av_log_set_level)* logLevel = nullptr;
    decltype(av_malloc)* malloc = nullptr;
    decltype(av_free)* free = nullptr;
    decltype(avio_alloc_context)* ioAlloc = nullptr;
    decltype(avio_context_free)* ioFree = nullptr;
    decltype(avformat_alloc_context)* formatAlloc = nullptr;
    decltype(avformat_open_input)* open = nullptr;
    decltype(avformat_find_stream_info)* findInfo = nullptr;
    decltype(av_find_best_stream)* bestStream = nullptr;
    decltype(avformat_close_input)* close = nullptr;

    static std::optional<Av> Load() {
        Av av;
        // Kept mapped after the last close: what they allocate for themselves once stays
        // theirs, not a leak of this program's.
        constexpr int kFlags = RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE;
        av.util.reset(dlopen(kAvUtil, kFlags));
        av.format.reset(dlopen(kAvFormat, kFlags));
        if (!av.util || !av.format)
            return std::nullopt;
        void* util = av.util.get();
        void* format = av.format.get();
        if (!Find(util, "av_log_set_level", av.logLevel) || !Find(util, "av_malloc", av.malloc) ||
            !Find(util, "av_free", av.free) || !Find(format, "avio_alloc_context", av.ioAlloc) ||
            !Find(format, "avio_context_free", av.ioFree) ||
            !Find(format, "avformat_alloc_context", av.formatAlloc) ||
            !Find(format, "avformat_open_input", av.open) ||
            !Find(format, "avformat_find_stream_info", av.findInfo) ||
            !Find(format, "av_find_best_stream", av.bestStream) ||
            !Find(format, "avformat_close_input", av.close))
            return std::nullopt;
        return av;
    }
};

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

} // namespace

std::optional<VideoTiming> ReadVideoTiming(const ByteSource& file) {
    const std::optional<Av> av = Av::Load();
    if (!av)
        return std::nullopt;
    av->logLevel(AV_LOG_QUIET);
    const BudgetedSource budget(file, kVideoTimingBudgetBytes);
    Reader reader{budget};
    auto* buffer = static_cast<unsigned char*>(av->malloc(kBufferBytes));
    if (buffer == nullptr)
        return std::nullopt;
    const auto freeIo = [&](AVIOContext* io) {
        av->free(io->buffer);
        av->ioFree(&io);
    };
    const std::unique_ptr<AVIOContext, decltype(freeIo)> io(
        av->ioAlloc(buffer, kBufferBytes, 0, &reader, ReadPacket, nullptr, Seek), freeIo);
    if (!io) {
        av->free(buffer);
        return std::nullopt;
    }
    AVFormatContext* opened = av->formatAlloc();
    if (opened == nullptr)
        return std::nullopt;
    opened->pb = io.get();
    opened->flags |= AVFMT_FLAG_CUSTOM_IO;
    // A failed open frees the context.
    if (av->open(&opened, nullptr, nullptr, nullptr) < 0)
        return std::nullopt;
    const auto close = [&](AVFormatContext* input) {
        av->close(&input);
    };
    const std::unique_ptr<AVFormatContext, decltype(close)> input(opened, close);
    if (av->findInfo(input.get(), nullptr) < 0)
        return std::nullopt;
    const int video = av->bestStream(input.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
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
