// SPDX-License-Identifier: MIT
// Which library reads a file's data: audio, photo, video or PDF, by content, then by name.
#include "core/details/FileKind.h"

#include "core/format/AsciiCase.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

namespace dirscribe {

namespace {

using namespace std::string_view_literals;

constexpr std::size_t kHeadBytes = 64;
// A PDF's header may stand anywhere in its first kilobyte.
constexpr std::size_t kPdfHeaderReach = 1024;
constexpr std::size_t kTransportPacket = 188;

struct Signature {
    std::size_t at;
    std::string_view bytes;
    FileKind kind;
};

// Checked in order; the first that matches decides.
constexpr auto kSignatures = std::to_array<Signature>({
    {0, "fLaC"sv, FileKind::Audio},
    {0, "MAC "sv, FileKind::Audio}, // Monkey's Audio
    {0, "wvpk"sv, FileKind::Audio},
    {0, "MPCK"sv, FileKind::Audio},
    {0, "TTA1"sv, FileKind::Audio},
    {0, "OggS"sv, FileKind::Audio}, // Vorbis, Opus, FLAC, Speex; a Theora video shows below
    {8, "WAVE"sv, FileKind::Audio},
    {8, "AIFF"sv, FileKind::Audio},
    {8, "AIFC"sv, FileKind::Audio},
    {8, "WEBP"sv, FileKind::Photo},
    {8, "AVI "sv, FileKind::Video},
    {0, "\xFF\xD8\xFF"sv, FileKind::Photo},
    {0, "\x89PNG\r\n\x1A\n"sv, FileKind::Photo},
    {0, "II*\0"sv, FileKind::Photo}, // TIFF and the camera raw formats built on it
    {0, "MM\0*"sv, FileKind::Photo},
    {0, "GIF8"sv, FileKind::Photo},
    {0, "\x1A\x45\xDF\xA3"sv, FileKind::Video},                 // Matroska, WebM
    {0, "\x30\x26\xB2\x75\x8E\x66\xCF\x11"sv, FileKind::Video}, // ASF: WMV, WMA
    {0, "\0\0\x01\xBA"sv, FileKind::Video},                     // MPEG program stream
    {4, "moov"sv, FileKind::Video},                             // QuickTime without ftyp
});

// ISO media files tell what they hold by their brand.
constexpr std::array<std::string_view, 5> kAudioBrands = {"M4A ", "M4B ", "M4P ", "F4A ", "F4B "};
constexpr std::array<std::string_view, 10> kPhotoBrands = {"heic", "heix", "heim", "heis", "hevc",
                                                           "hevx", "mif1", "msf1", "avif", "avis"};

struct Extension {
    std::string_view name;
    FileKind kind;
};

constexpr auto kExtensions = std::to_array<Extension>({
    {"flac", FileKind::Audio}, {"ogg", FileKind::Audio},  {"oga", FileKind::Audio},
    {"opus", FileKind::Audio}, {"spx", FileKind::Audio},  {"m4a", FileKind::Audio},
    {"m4b", FileKind::Audio},  {"aac", FileKind::Audio},  {"wav", FileKind::Audio},
    {"aif", FileKind::Audio},  {"aiff", FileKind::Audio}, {"aifc", FileKind::Audio},
    {"ape", FileKind::Audio},  {"wv", FileKind::Audio},   {"mpc", FileKind::Audio},
    {"wma", FileKind::Audio},  {"tta", FileKind::Audio},  {"mp2", FileKind::Audio},
    {"jpg", FileKind::Photo},  {"jpeg", FileKind::Photo}, {"jpe", FileKind::Photo},
    {"png", FileKind::Photo},  {"tif", FileKind::Photo},  {"tiff", FileKind::Photo},
    {"webp", FileKind::Photo}, {"heic", FileKind::Photo}, {"heif", FileKind::Photo},
    {"avif", FileKind::Photo}, {"gif", FileKind::Photo},  {"dng", FileKind::Photo},
    {"cr2", FileKind::Photo},  {"nef", FileKind::Photo},  {"arw", FileKind::Photo},
    {"orf", FileKind::Photo},  {"rw2", FileKind::Photo},  {"pef", FileKind::Photo},
    {"mp4", FileKind::Video},  {"m4v", FileKind::Video},  {"mkv", FileKind::Video},
    {"webm", FileKind::Video}, {"avi", FileKind::Video},  {"mov", FileKind::Video},
    {"mpg", FileKind::Video},  {"mpeg", FileKind::Video}, {"ts", FileKind::Video},
    {"m2ts", FileKind::Video}, {"mts", FileKind::Video},  {"wmv", FileKind::Video},
    {"flv", FileKind::Video},  {"3gp", FileKind::Video},  {"ogv", FileKind::Video},
    {"pdf", FileKind::Pdf},
});

bool HasAt(std::string_view head, std::size_t at, std::string_view bytes) {
    return head.size() >= at + bytes.size() && head.substr(at, bytes.size()) == bytes;
}

template <std::size_t N>
bool Contains(const std::array<std::string_view, N>& list, std::string_view item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

std::string Head(const ByteSource& file, std::uint64_t offset, std::size_t count) {
    std::string head(count, '\0');
    head.resize(file.ReadAt(offset, head.data(), head.size()));
    return head;
}

// Where the content starts: past an ID3v2 tag (its size is syncsafe, a footer adds ten).
std::uint64_t ContentStart(std::string_view head) {
    if (!HasAt(head, 0, "ID3") || head.size() < 10)
        return 0;
    std::uint64_t size = 0;
    for (std::size_t i = 6; i < 10; ++i)
        size = (size << 7) | (static_cast<unsigned char>(head[i]) & 0x7FU);
    const bool footer = (static_cast<unsigned char>(head[5]) & 0x10) != 0;
    return 10 + size + (footer ? 10 : 0);
}

FileKind KindOfIsoMedia(std::string_view brand) {
    if (Contains(kAudioBrands, brand))
        return FileKind::Audio;
    return Contains(kPhotoBrands, brand) ? FileKind::Photo : FileKind::Video;
}

FileKind KindByContent(const ByteSource& file) {
    const std::string start = Head(file, 0, kPdfHeaderReach);
    if (start.find("%PDF-") != std::string::npos)
        return FileKind::Pdf;
    const std::string head = Head(file, ContentStart(start), kHeadBytes);
    if (HasAt(head, 4, "ftyp"))
        return KindOfIsoMedia(head.substr(8, 4));
    if (HasAt(head, 0, "OggS") && HasAt(head, 28, "\x80theora"sv))
        return FileKind::Video;
    // Raw AAC: an ADTS header's twelve sync bits and layer 0 (MPEG audio has 1 to 3).
    if (head.size() >= 2 && head[0] == '\xFF' &&
        (static_cast<unsigned char>(head[1]) & 0xF6) == 0xF0)
        return FileKind::Audio;
    for (const Signature& signature : kSignatures)
        if (HasAt(head, signature.at, signature.bytes))
            return signature.kind;
    // An MPEG transport stream: a sync byte at the start of each 188-byte packet.
    std::array<char, 1> sync{};
    if (HasAt(head, 0, "\x47"sv) && file.ReadAt(kTransportPacket, sync.data(), 1) == 1 &&
        sync[0] == '\x47')
        return FileKind::Video;
    return FileKind::None;
}

FileKind KindByName(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return FileKind::None;
    const std::string extension = AsciiLower(name.substr(dot + 1));
    const auto* const found = std::find_if(kExtensions.begin(), kExtensions.end(),
                                           [&](const Extension& e) { return e.name == extension; });
    return found == kExtensions.end() ? FileKind::None : found->kind;
}

} // namespace

FileKind DetectFileKind(const ByteSource& file, std::string_view name) {
    const FileKind kind = KindByContent(file);
    return kind != FileKind::None ? kind : KindByName(name);
}

const char* KindName(FileKind kind) {
    switch (kind) {
    case FileKind::Audio:
        return "audio";
    case FileKind::Photo:
        return "photos";
    case FileKind::Video:
        return "video";
    case FileKind::Pdf:
        return "PDF";
    case FileKind::None:
        break;
    }
    return "other files";
}

} // namespace dirscribe
