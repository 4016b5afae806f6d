// SPDX-License-Identifier: MIT
// The headers and section table of a Windows program or library, and reads by virtual address.
#include "core/pe/PeImage.h"

#include "core/pe/LittleEndian.h"

#include <algorithm>

namespace dirscribe {

namespace {

constexpr std::size_t kDosHeaderBytes = 64;
constexpr std::size_t kNewHeaderPointer = 0x3C;
constexpr std::size_t kFileHeaderBytes = 24; // "PE\0\0" and the COFF header
constexpr std::size_t kSectionBytes = 40;
constexpr std::uint16_t kPe32 = 0x10B;
constexpr std::uint16_t kPe32Plus = 0x20B;
constexpr std::uint32_t kResourceDirectory = 2;

// Exactly count bytes at offset, or nothing.
std::optional<std::string> ReadExactly(const ByteSource& file, std::uint64_t offset,
                                       std::size_t count) {
    if (offset > file.Size() || count > file.Size() - offset)
        return std::nullopt;
    std::string bytes(count, '\0');
    if (file.ReadAt(offset, bytes.data(), count) != count)
        return std::nullopt;
    return bytes;
}

} // namespace

std::optional<PeImage> PeImage::Read(const ByteSource& file) {
    const auto dos = ReadExactly(file, 0, kDosHeaderBytes);
    if (!dos || (*dos)[0] != 'M' || (*dos)[1] != 'Z')
        return std::nullopt;
    const std::uint64_t peOffset = Le32(*dos, kNewHeaderPointer);
    const auto header = ReadExactly(file, peOffset, kFileHeaderBytes);
    if (!header || std::string_view(*header).substr(0, 4) != std::string_view("PE\0\0", 4))
        return std::nullopt;
    const std::uint16_t sectionCount = Le16(*header, 6);
    const std::uint16_t optionalBytes = Le16(*header, 20);

    const std::uint64_t optionalOffset = peOffset + kFileHeaderBytes;
    const auto optional = ReadExactly(file, optionalOffset, optionalBytes);
    if (!optional || optionalBytes < 2)
        return std::nullopt;
    std::size_t countAt = 0;
    switch (Le16(*optional, 0)) {
    case kPe32:
        countAt = 92;
        break;
    case kPe32Plus:
        countAt = 108;
        break;
    default:
        return std::nullopt;
    }

    PeImage image(file);
    // The directory table follows its count; an image may hold fewer than the usual 16.
    const std::size_t directoryAt = countAt + 4 + std::size_t{kResourceDirectory} * 8;
    if (optionalBytes >= countAt + 4 && Le32(*optional, countAt) > kResourceDirectory &&
        optionalBytes >= directoryAt + 8) {
        image.m_resourceAddress = Le32(*optional, directoryAt);
        image.m_resourceSize = Le32(*optional, directoryAt + 4);
    }

    const auto table =
        ReadExactly(file, optionalOffset + optionalBytes, sectionCount * kSectionBytes);
    if (!table)
        return std::nullopt;
    image.m_sections.reserve(sectionCount);
    for (std::size_t i = 0; i < sectionCount; ++i) {
        const std::size_t at = i * kSectionBytes;
        image.m_sections.push_back({Le32(*table, at + 12), Le32(*table, at + 8),
                                    Le32(*table, at + 16), Le32(*table, at + 20)});
    }
    return image;
}

std::optional<std::string> PeImage::ReadAddress(std::uint64_t rva, std::size_t size) const {
    for (const Section& section : m_sections) {
        // Linkers disagree on which of the two sizes is the larger; the loader maps both.
        const std::uint64_t span = std::max(section.virtualSize, section.rawSize);
        if (rva < section.address || rva - section.address >= span)
            continue;
        const std::uint64_t delta = rva - section.address;
        if (size > span - delta)
            return std::nullopt;
        std::string bytes(size, '\0');
        const std::uint64_t raw = section.rawSize > delta ? section.rawSize - delta : 0;
        const auto fromFile = static_cast<std::size_t>(std::min<std::uint64_t>(size, raw));
        if (fromFile > 0 &&
            m_file->ReadAt(section.rawOffset + delta, bytes.data(), fromFile) != fromFile)
            return std::nullopt;
        return bytes;
    }
    return std::nullopt;
}

} // namespace dirscribe
