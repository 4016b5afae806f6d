// SPDX-License-Identifier: MIT
// Fuzz target: any bytes as a Windows program, and as a bare version block.
#include "core/format/Utf8.h"
#include "core/media/MediaTagReader.h"
#include "core/pe/VersionInfo.h"
#include "core/platform/MemoryByteSource.h"
#include "core/table/FileDetails.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using namespace dirscribe;

// MPEG audio is read as an MP3 whatever its name (media_fuzz checks that reader); anything
// else named .dll gives the program's version rows or says there are none.
void CheckDetails(const ByteSource& file, const FileDetails& details) {
    if (MediaTagReader::HoldsMpegAudio(file)) {
        if (details.comment.empty() || !IsValidUtf8(details.comment))
            std::abort();
    } else if (details.comment == "File's data:") {
        if (details.rows.size() > 12)
            std::abort();
        for (const auto& [label, value] : details.rows)
            if (!label.starts_with("  ***") || !IsValidUtf8(value))
                std::abort();
    } else if (details.comment != ".dll extention file. No data." || !details.rows.empty()) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const MemoryByteSource file(bytes);
    // English, and a language whose fallbacks (neutral German, neutral) differ from it.
    CheckDetails(file, ReadFileDetails(file, "lib.dll", 0x0409));
    CheckDetails(file, ReadFileDetails(file, "lib.dll", 0x0807));

    // The block parser on its own, reached without a whole program around it.
    if (const auto info = VersionInfo::Parse(std::string(bytes))) {
        for (const char* path :
             {"\\StringFileInfo\\040904B0\\CompanyName", "\\StringFileInfo\\040904E4\\FileVersion",
              "\\VarFileInfo", "\\VarFileInfo\\Translation", "\\StringFileInfo", "\\"}) {
            const auto value = info->QueryString(path);
            if (value && !IsValidUtf8(*value))
                std::abort();
            for (const std::string& key : info->ChildKeys(path))
                if (!IsValidUtf8(key))
                    std::abort();
            if (const auto block = info->QueryBytes(path); block && block->size() > size)
                std::abort();
        }
    }
    return 0;
}
