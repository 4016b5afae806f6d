// SPDX-License-Identifier: MIT
// The one door to the libraries that read audio files, photos, videos and PDFs.
#pragma once

#include "core/details/FileData.h"

#include <string>

namespace dirscribe {

// Reads the data of a file whose kind (DetectFileKind) is not None. Implementations: the
// libraries in this process (LibraryFileData, for the reader program and the fuzzer) and
// that program run with bounds (FileDataProgram, for everything the user starts).
class FileDataReader {
public:
    virtual ~FileDataReader() = default;

    // The file's data; no summary when nothing was read, with a note saying why when the
    // user can act on it. Never throws.
    [[nodiscard]] virtual FileData Read(const std::string& path) const = 0;

protected:
    FileDataReader() = default;
    FileDataReader(const FileDataReader&) = default;
    FileDataReader& operator=(const FileDataReader&) = default;
};

} // namespace dirscribe
