// SPDX-License-Identifier: MIT
#include "core/search/SearchFilter.h"

#include "core/format/AsciiCase.h"
#include "core/format/Utf8.h"
#include "core/platform/FileTime.h"
#include "core/search/SearchGroup.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <ctime>

namespace dirscribe {

namespace {

struct KindName {
    std::string_view name;
    EntryKind kind;
};
constexpr std::array<KindName, 7> kKindNames{{
    {"audio", EntryKind::Audio},
    {"video", EntryKind::Video},
    {"picture", EntryKind::Picture},
    {"document", EntryKind::Document},
    {"program", EntryKind::Program},
    {"archive", EntryKind::Archive},
    {"folder", EntryKind::Folder},
}};

// The extensions of each kind of file, lower case, as people meet them on their disks.
struct KindExtensions {
    EntryKind kind;
    std::string_view extensions; // separated by blanks, each between blanks
};
constexpr std::array<KindExtensions, 6> kExtensions{{
    {EntryKind::Audio, " mp3 mp2 flac ogg oga opus wav wma m4a m4b aac aif aiff aifc ape wv mka "
                       "mpc alac dsf dff mid midi amr au ra "},
    {EntryKind::Video, " mp4 m4v mkv avi mov wmv webm mpg mpeg mpe m2ts mts ts vob flv f4v 3gp "
                       "3g2 ogv asf rm rmvb divx "},
    {EntryKind::Picture, " jpg jpeg jpe png gif bmp tif tiff webp heic heif avif ico svg psd xcf "
                         "raw cr2 cr3 nef arw dng orf rw2 raf pef srw jxl "},
    {EntryKind::Document, " pdf txt text md rtf doc docx docm odt ott xls xlsx xlsm ods csv ppt "
                          "pptx odp epub mobi djvu tex htm html xml json ps "},
    {EntryKind::Program, " exe com msi dll sys scr bat cmd sh run bin elf so appimage deb rpm "
                         "apk jar app flatpak snap "},
    {EntryKind::Archive, " zip rar 7z tar gz tgz bz2 tbz tbz2 xz txz zst lz lzma lzh arj cab iso "
                         "img dmg z cpio "},
}};

std::optional<std::uint64_t> Scaled(std::uint64_t number, char unit) {
    int shift = 0;
    switch (AsciiLower(unit)) {
    case 'c':
        break;
    case 'k':
        shift = 10;
        break;
    case 'm':
        shift = 20;
        break;
    case 'g':
        shift = 30;
        break;
    case 't':
        shift = 40;
        break;
    case 'p':
        shift = 50;
        break;
    default:
        return std::nullopt;
    }
    if (shift != 0 && number > (UINT64_MAX >> shift))
        return std::nullopt;
    return number << shift;
}

// Reads `count` digits at text[at] into value.
bool Digits(std::string_view text, std::size_t at, std::size_t count, int& value) {
    if (at + count > text.size())
        return false;
    const char* first = text.data() + at;
    const auto [end, ec] = std::from_chars(first, first + count, value);
    return ec == std::errc() && end == first + count;
}

} // namespace

std::optional<EntryKind> EntryKindNamed(std::string_view name) {
    for (const KindName& kind : kKindNames)
        if (kind.name == name)
            return kind.kind;
    return std::nullopt;
}

bool IsOfKind(EntryKind kind, std::string_view name, bool folder) {
    if (folder || kind == EntryKind::Folder)
        return folder && kind == EntryKind::Folder;
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot + 1 == name.size() || name.size() - dot > 9)
        return false;
    std::string extension(1, ' ');
    extension.append(AsciiLower(name.substr(dot + 1))).push_back(' ');
    return std::any_of(kExtensions.begin(), kExtensions.end(), [&](const KindExtensions& kinds) {
        return kinds.kind == kind && kinds.extensions.find(extension) != std::string_view::npos;
    });
}

bool SizeBound::Accepts(std::uint64_t size) const {
    switch (relation) {
    case Relation::More:
        return size > bytes;
    case Relation::Less:
        return size < bytes;
    case Relation::Exactly:
        break;
    }
    return size == bytes;
}

std::optional<SizeBound> ParseSizeBound(std::string_view text) {
    SizeBound bound;
    if (text.starts_with('+') || text.starts_with('-')) {
        bound.relation =
            text.front() == '+' ? SizeBound::Relation::More : SizeBound::Relation::Less;
        text.remove_prefix(1);
    } else {
        bound.relation = SizeBound::Relation::Exactly;
    }
    char unit = 'c';
    if (!text.empty() && (text.back() < '0' || text.back() > '9')) {
        unit = text.back();
        text.remove_suffix(1);
    }
    std::uint64_t number = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    const std::optional<std::uint64_t> bytes = Scaled(number, unit);
    if (!bytes)
        return std::nullopt;
    bound.bytes = *bytes;
    return bound;
}

std::optional<std::uint64_t> ParseLocalDate(std::string_view text) {
    std::tm when{};
    int year = 0;
    if (!Digits(text, 0, 4, year) || !Digits(text, 5, 2, when.tm_mon) ||
        !Digits(text, 8, 2, when.tm_mday) || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    if (text.size() > 10) {
        const bool minutes = text.size() == 16 || text.size() == 19;
        if (!minutes || (text[10] != ' ' && text[10] != 'T') ||
            !Digits(text, 11, 2, when.tm_hour) || text[13] != ':' ||
            !Digits(text, 14, 2, when.tm_min) ||
            (text.size() == 19 && (text[16] != ':' || !Digits(text, 17, 2, when.tm_sec))))
            return std::nullopt;
    } else if (text.size() != 10) {
        return std::nullopt;
    }
    if (when.tm_mon < 1 || when.tm_mon > 12 || when.tm_mday < 1 || when.tm_mday > 31 ||
        when.tm_hour > 23 || when.tm_min > 59 || when.tm_sec > 60)
        return std::nullopt;
    when.tm_year = year - 1900;
    when.tm_mon -= 1;
    when.tm_isdst = -1;
    const std::time_t seconds = std::mktime(&when);
    if (seconds == static_cast<std::time_t>(-1) && year != 1969)
        return std::nullopt;
    return FileTimeFromUnix(seconds);
}

bool SearchFilter::Accepts(const SearchGroup& group) const {
    if (!AsksOfEntries())
        return true;
    if (!group.entry)
        return false;
    if (kind && !IsOfKind(*kind, group.name, group.folder))
        return false;
    if ((size || newer || older) && !group.known)
        return false;
    return (!size || size->Accepts(group.bytes)) && (!newer || group.modified > *newer) &&
           (!older || group.modified < *older);
}

bool SearchFilter::AcceptsVolume(const ListingVolume& listed) const {
    if (!volume)
        return true;
    const std::string wanted = Utf8CaseFold(*volume);
    return (!listed.facts.label.empty() && Utf8CaseFold(listed.facts.label) == wanted) ||
           (!listed.facts.uuid.empty() && Utf8CaseFold(listed.facts.uuid) == wanted);
}

} // namespace dirscribe
