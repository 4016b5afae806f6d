// SPDX-License-Identifier: MIT
// Fuzz target: any bytes as a file, under the name of any kind, through the File Data
// dispatch and the libraries it picks; the rows come out as cell texts and cross from the
// reader program to the window unchanged.
#include "core/details/FileData.h"
#include "details/LibraryFileData.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

// The input's size picks the name, so the extensions' fallback is fuzzed with every kind.
constexpr std::array<const char*, 12> kNames = {
    "input",     "input.flac", "input.ogg",  "input.m4a", "input.wav", "input.ape",
    "input.jpg", "input.tif",  "input.heic", "input.mp4", "input.mkv", "input.pdf"};

const std::string& Folder() {
    static const std::string folder = [] {
        std::string pattern = "/tmp/filedata-fuzz-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr)
            std::abort();
        return pattern;
    }();
    return folder;
}

void Check(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace dirscribe;
    const std::string path = Folder() + "/" + kNames[size % kNames.size()];
    FILE* file = std::fopen(path.c_str(), "wb");
    Check(file != nullptr && std::fwrite(data, 1, size, file) == size && std::fclose(file) == 0);

    const FileData read = LibraryFileData().Read(path);
    Check(read.summary.empty() ? read.rows.empty() : read.summary == CellText(read.summary));
    Check(read.rows.size() <= FileData::kMaxRows);
    for (const auto& [label, text] : read.rows)
        Check(label.starts_with("**") && label.ends_with(":") && !text.empty() &&
              text == CellText(text));
    Check(DecodeFileData(EncodeFileData(read)) == read);
    ::unlink(path.c_str());
    return 0;
}
