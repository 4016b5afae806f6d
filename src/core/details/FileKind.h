// SPDX-License-Identifier: MIT
// Which library reads a file's data: audio, photo, video or PDF, by content, then by name.
#pragma once

#include "core/platform/ByteSource.h"

#include <string_view>

namespace dirscribe {

enum class FileKind { None, Audio, Photo, Video, Pdf };

// The kind of the file by its first bytes (past an ID3v2 tag, which FLAC, APE and AAC
// files may start with too); when they match no signature, by the extension of name.
// Names of the kinds as the user reads them: "audio", "photos", "video", "PDF".
FileKind DetectFileKind(const ByteSource& file, std::string_view name);
const char* KindName(FileKind kind);

} // namespace dirscribe
