// SPDX-License-Identifier: MIT
// Fuzz target: any bytes as an MP3 file; the pairs come out whole and in UTF-8.
#include "core/details/FileKind.h"
#include "core/format/Utf8.h"
#include "core/media/MediaTagReader.h"
#include "core/platform/MemoryByteSource.h"
#include "core/table/FileDetails.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace dirscribe;
    const MemoryByteSource file(std::string_view(reinterpret_cast<const char*>(data), size));
    std::vector<std::string> labels;
    std::vector<std::string> values;
    MediaTagReader::ReadTags(file, labels, values);
    if (labels.size() != values.size() || labels.empty() || labels[0] != " ")
        std::abort();
    const std::string_view summary = values[0];
    if (summary != "Id3v1 Tag:" && summary != "Id3v2 Tag:" && summary != "APEv2 Tag:" &&
        summary != "There isn't any Tag." && !summary.starts_with("There're Id3v1 & Id3v2."))
        std::abort();
    // A frame text is bounded; as Windows-1252 each byte takes at most three in UTF-8.
    for (const std::string& value : values)
        if (!IsValidUtf8(value) || value.size() > 3 * MediaTagReader::kMaxFrameTextBytes + 64)
            std::abort();

    // Named .mp3, the bytes are read as MP3 unless they are MPEG audio's or of no other kind.
    const FileDetails details = ReadFileDetails(file, "x.mp3", 0x0409);
    if (!MediaTagReader::HoldsMpegAudio(file) && DetectFileKind(file, "x.mp3") != FileKind::None) {
        if (details.comment != ".mp3 extention file. No data." || !details.rows.empty())
            std::abort();
    } else if (details.comment != values[0] || details.rows.size() + 1 != values.size()) {
        std::abort();
    }
    return 0;
}
