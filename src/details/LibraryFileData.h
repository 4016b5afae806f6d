// SPDX-License-Identifier: MIT
// File Data read in this process by the libraries this build has.
#pragma once

#include "core/details/FileDataReader.h"

#include <string>

namespace dirscribe {

// Picks the reader by the file's kind (DetectFileKind on its bytes and its name) and reads:
// TagLib for audio, Exiv2 for photos, MediaInfo for video (an ISO media or Matroska file
// without a video stream goes on to the audio reader), poppler for PDF. A kind whose
// library this build lacks gives a note naming it. Nothing here bounds the libraries' time
// or memory: the reader program runs this under its limits (see FileDataProgram).
class LibraryFileData final : public FileDataReader {
public:
    [[nodiscard]] FileData Read(const std::string& path) const override;

    // The kinds this build reads, with their libraries: "audio (TagLib), photos (Exiv2)".
    static std::string ReadableKinds();
};

} // namespace dirscribe
