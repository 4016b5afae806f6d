// SPDX-License-Identifier: MIT
// Finding a program's version resource and choosing among its languages.
#include "core/pe/VersionResource.h"

#include "core/pe/LittleEndian.h"
#include "core/pe/PeImage.h"

#include <string>
#include <vector>

namespace dirscribe {

namespace {

constexpr std::uint32_t kVersionType = 16;
constexpr std::uint32_t kVersionId = 1;
constexpr std::uint32_t kHighBit = 0x80000000U;
constexpr std::size_t kDirectoryHeaderBytes = 16;
constexpr std::size_t kEntryBytes = 8;
constexpr std::size_t kDataEntryBytes = 16;
// A version block's length is a 16-bit number.
constexpr std::size_t kMaxVersionBytes = 0xFFFF;

struct Entry {
    std::uint32_t name = 0;   // an id, or a string offset with the high bit set
    std::uint32_t target = 0; // a data entry, or a subdirectory with the high bit set
};

// The entries of the directory at offset within the resource section. At most 2 x 65535
// entries of 8 bytes, read in one piece.
std::optional<std::vector<Entry>> ReadDirectory(const PeImage& image, std::uint32_t offset) {
    const std::uint64_t at = std::uint64_t{image.ResourceAddress()} + offset;
    const auto header = image.ReadAddress(at, kDirectoryHeaderBytes);
    if (!header)
        return std::nullopt;
    const std::size_t count = std::size_t{Le16(*header, 12)} + Le16(*header, 14);
    const auto table = image.ReadAddress(at + kDirectoryHeaderBytes, count * kEntryBytes);
    if (!table)
        return std::nullopt;
    std::vector<Entry> entries(count);
    for (std::size_t i = 0; i < count; ++i)
        entries[i] = {Le32(*table, i * kEntryBytes), Le32(*table, i * kEntryBytes + 4)};
    return entries;
}

// The subdirectory that the entry with this id leads to.
std::optional<std::vector<Entry>>
Subdirectory(const PeImage& image, const std::vector<Entry>& entries, std::uint32_t id) {
    for (const Entry& entry : entries)
        if (entry.name == id)
            return (entry.target & kHighBit) != 0 ? ReadDirectory(image, entry.target & ~kHighBit)
                                                  : std::nullopt;
    return std::nullopt;
}

// The language entry the loader would pick for languageId.
const Entry* ChooseLanguage(const std::vector<Entry>& entries, std::uint16_t languageId) {
    const auto find = [&](std::uint32_t id) -> const Entry* {
        for (const Entry& entry : entries)
            if (entry.name == id && (entry.target & kHighBit) == 0)
                return &entry;
        return nullptr;
    };
    const std::uint32_t primaryNeutral = languageId & 0x3FFU; // sublanguage 0
    for (const std::uint32_t id : {std::uint32_t{languageId}, primaryNeutral, 0U})
        if (const Entry* entry = find(id))
            return entry;
    for (const Entry& entry : entries)
        if ((entry.target & kHighBit) == 0)
            return &entry;
    return nullptr;
}

} // namespace

std::optional<VersionInfo> ReadVersionInfo(const ByteSource& file, std::uint16_t languageId) {
    const auto image = PeImage::Read(file);
    if (!image || image->ResourceSize() == 0)
        return std::nullopt;
    const auto types = ReadDirectory(*image, 0);
    if (!types)
        return std::nullopt;
    const auto names = Subdirectory(*image, *types, kVersionType);
    if (!names)
        return std::nullopt;
    const auto languages = Subdirectory(*image, *names, kVersionId);
    if (!languages)
        return std::nullopt;
    const Entry* chosen = ChooseLanguage(*languages, languageId);
    if (chosen == nullptr)
        return std::nullopt;

    const auto data = image->ReadAddress(std::uint64_t{image->ResourceAddress()} + chosen->target,
                                         kDataEntryBytes);
    if (!data)
        return std::nullopt;
    const std::uint32_t address = Le32(*data, 0);
    const std::uint32_t size = Le32(*data, 4);
    // The block says how long it is; the resource's own size only bounds it.
    const auto head = size >= 2 ? image->ReadAddress(address, 2) : std::nullopt;
    if (!head)
        return std::nullopt;
    const std::size_t length = Le16(*head, 0);
    if (length > size || length > kMaxVersionBytes)
        return std::nullopt;
    auto bytes = image->ReadAddress(address, length);
    if (!bytes)
        return std::nullopt;
    return VersionInfo::Parse(std::move(*bytes));
}

} // namespace dirscribe
