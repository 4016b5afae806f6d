// SPDX-License-Identifier: MIT
// File Data read in this process by the libraries this build has.
#include "details/LibraryFileData.h"

#include "core/details/AudioStream.h"
#include "core/details/FileKind.h"
#include "core/platform/FileByteSource.h"

#include <array>
#include <exception>
#include <optional>

#ifdef DIRSCRIBE_WITH_TAGLIB
#include "details/AudioFileData.h"
#endif
#ifdef DIRSCRIBE_WITH_EXIV2
#include "details/PhotoFileData.h"
#endif
#ifdef DIRSCRIBE_WITH_MEDIAINFO
#include "details/VideoFileData.h"
#endif
#ifdef DIRSCRIBE_WITH_POPPLER
#include "details/PdfFileData.h"
#endif
#ifdef DIRSCRIBE_WITH_LIBAV
#include "details/VideoTiming.h"
#endif

namespace dirscribe {

namespace {

using ReadFunction = FileData (*)(const ByteSource& file, const std::string& path);

struct KindReader {
    FileKind kind;
    const char* library;
    ReadFunction read; // nullptr: this build is without the library
};

std::string NameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

constexpr std::array<KindReader, 4> kReaders = {{
    {FileKind::Audio, "TagLib",
#ifdef DIRSCRIBE_WITH_TAGLIB
     [](const ByteSource& file, const std::string& path) {
         return ReadAudioFileData(file, NameOf(path));
     }
#else
     nullptr
#endif
    },
    {FileKind::Photo, "Exiv2",
#ifdef DIRSCRIBE_WITH_EXIV2
     [](const ByteSource&, const std::string& path) {
         return ReadPhotoFileData(path);
     }
#else
     nullptr
#endif
    },
    {FileKind::Video, "MediaInfo",
#ifdef DIRSCRIBE_WITH_MEDIAINFO
     [](const ByteSource& file, const std::string&) {
#ifdef DIRSCRIBE_WITH_LIBAV
         return ReadVideoFileData(file, ReadVideoTiming);
#else
         return ReadVideoFileData(file, nullptr);
#endif
     }
#else
     nullptr
#endif
    },
    {FileKind::Pdf, "poppler",
#ifdef DIRSCRIBE_WITH_POPPLER
     [](const ByteSource& file, const std::string& path) {
         return ReadPdfFileData(file, path);
     }
#else
     nullptr
#endif
    },
}};

const KindReader& ReaderOf(FileKind kind) {
    for (const KindReader& reader : kReaders)
        if (reader.kind == kind)
            return reader;
    return kReaders.front();
}

FileData ReadAs(FileKind kind, const ByteSource& file, const std::string& path) {
    const KindReader& reader = ReaderOf(kind);
    if (reader.read == nullptr)
        return {{},
                {},
                std::string("This build cannot read ") + KindName(kind) + " (it has no " +
                    reader.library + ")"};
    return reader.read(file, path);
}

} // namespace

FileData LibraryFileData::Read(const std::string& path) const {
    try {
        const FileByteSource file(path);
        if (!file.IsOpen())
            return {};
        const FileKind kind = DetectFileKind(file, NameOf(path));
        if (kind == FileKind::None)
            return {};
        if (kind == FileKind::Audio) {
            if (const auto aac = ReadAdtsStream(file)) {
                FileData data{aac->format + ":", {}, {}};
                aac->AddRows(data);
                return data;
            }
        }
        FileData data = ReadAs(kind, file, path);
        // Containers such as MP4 and Matroska hold sound alone as often as pictures.
        if (kind == FileKind::Video && data.summary.empty()) {
            FileData audio = ReadAs(FileKind::Audio, file, path);
            if (!audio.summary.empty())
                return audio;
        }
        return data;
    } catch (const std::exception&) {
        return {}; // such as the reader program's memory limit, reached
    }
}

std::string LibraryFileData::ReadableKinds() {
    std::string kinds;
    for (const KindReader& reader : kReaders)
        if (reader.read != nullptr)
            kinds += std::string(kinds.empty() ? "" : ", ") + KindName(reader.kind) + " (" +
                     reader.library + ")";
    return kinds;
}

} // namespace dirscribe
