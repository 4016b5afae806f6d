// SPDX-License-Identifier: MIT
// Byte builders for Windows program files with version resources.
#include "support/PeBytes.h"

#include "support/Mp3Bytes.h"

namespace dirscribe::test {

namespace {

void Put16(std::string& bytes, std::size_t at, std::uint32_t value) {
    bytes[at] = static_cast<char>(value & 0xFF);
    bytes[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& bytes, std::size_t at, std::uint32_t value) {
    Put16(bytes, at, value & 0xFFFF);
    Put16(bytes, at + 2, value >> 16);
}

void PadToFour(std::string& bytes) {
    bytes.resize((bytes.size() + 3) & ~std::size_t{3}, '\0');
}

std::u16string Widen(std::string_view ascii) {
    return {ascii.begin(), ascii.end()};
}

constexpr std::uint32_t kSectionAddress = 0x1000;
constexpr std::size_t kSectionFileOffset = 0x200;

} // namespace

std::string VersionBlock(std::string_view key, std::uint16_t type, std::uint16_t valueLength,
                         std::string_view value, const std::vector<std::string>& children) {
    std::string block(6, '\0');
    block += Utf16Bytes(Widen(key)) + std::string(2, '\0');
    PadToFour(block);
    block += value;
    for (const std::string& child : children) {
        PadToFour(block);
        block += child;
    }
    Put16(block, 0, static_cast<std::uint32_t>(block.size()));
    Put16(block, 2, valueLength);
    Put16(block, 4, type);
    return block;
}

std::string VersionString(std::string_view key, std::u16string_view value) {
    const std::string text = Utf16Bytes(value) + std::string(2, '\0');
    return VersionBlock(key, 1, static_cast<std::uint16_t>(value.size() + 1), text, {});
}

std::string VersionInfoBlock(const std::vector<StringTable>& tables, std::uint32_t translation) {
    std::string fixed(52, '\0');
    Put32(fixed, 0, 0xFEEF04BD); // the fixed information's signature
    Put32(fixed, 4, 0x00010000);
    std::vector<std::string> tableBlocks;
    for (const auto& [name, strings] : tables) {
        std::vector<std::string> stringBlocks;
        for (const auto& [key, value] : strings)
            stringBlocks.push_back(VersionString(key, value));
        tableBlocks.push_back(VersionBlock(name, 1, 0, {}, stringBlocks));
    }
    std::string languages(4, '\0');
    Put32(languages, 0, translation);
    const std::string var =
        VersionBlock("VarFileInfo", 1, 0, {}, {VersionBlock("Translation", 0, 4, languages, {})});
    return VersionBlock("VS_VERSION_INFO", 0, 52, fixed,
                        {VersionBlock("StringFileInfo", 1, 0, {}, tableBlocks), var});
}

std::string PeFile(const std::vector<VersionResource>& resources, const PeOptions& options) {
    // The resource tree: type 16, then the id, then one entry per language.
    std::string section;
    const auto directory = [&](std::uint16_t idEntries) {
        std::string header(16, '\0');
        Put16(header, 14, idEntries);
        section += header;
    };
    const auto entry = [&](std::uint32_t name, std::uint32_t target) {
        std::string bytes(8, '\0');
        Put32(bytes, 0, name);
        Put32(bytes, 4, target);
        section += bytes;
    };
    const auto count = static_cast<std::uint16_t>(resources.size());
    directory(1);
    entry(16, 0x80000000u | 0x18);
    directory(1);
    entry(options.versionId, 0x80000000u | 0x30);
    directory(count);
    const std::size_t dataEntries = 0x30 + 16 + 8 * std::size_t{count};
    for (std::size_t i = 0; i < resources.size(); ++i)
        entry(resources[i].language, static_cast<std::uint32_t>(dataEntries + 16 * i));
    section.resize(dataEntries + 16 * std::size_t{count}, '\0');
    for (std::size_t i = 0; i < resources.size(); ++i) {
        PadToFour(section);
        Put32(section, dataEntries + 16 * i,
              kSectionAddress + static_cast<std::uint32_t>(section.size()));
        Put32(section, dataEntries + 16 * i + 4,
              static_cast<std::uint32_t>(resources[i].block.size()));
        section += resources[i].block;
    }
    const bool hasSection = !resources.empty();
    const auto sectionBytes = static_cast<std::uint32_t>(hasSection ? section.size() : 0);

    const std::size_t optionalBytes = options.pe32Plus ? 240 : 224;
    std::string file(kSectionFileOffset, '\0');
    file[0] = 'M';
    file[1] = 'Z';
    Put32(file, 0x3C, 0x40);
    file.replace(0x40, 4, std::string("PE\0\0", 4));
    Put16(file, 0x44, options.pe32Plus ? 0x8664 : 0x14C);
    Put16(file, 0x46, hasSection ? 1 : 0);
    Put16(file, 0x54, static_cast<std::uint32_t>(optionalBytes));
    Put16(file, 0x56, 0x2102);
    const std::size_t optional = 0x58;
    Put16(file, optional, options.pe32Plus ? 0x20B : 0x10B);
    const std::size_t countAt = optional + (options.pe32Plus ? 108 : 92);
    Put32(file, countAt, 16);
    if (hasSection) {
        Put32(file, countAt + 4 + 2 * 8, kSectionAddress);
        Put32(file, countAt + 4 + 2 * 8 + 4, sectionBytes);
        const std::size_t header = optional + optionalBytes;
        file.replace(header, 8, std::string(".rsrc\0\0\0", 8));
        Put32(file, header + 8, sectionBytes);
        Put32(file, header + 12, kSectionAddress);
        Put32(file, header + 16, sectionBytes);
        Put32(file, header + 20, static_cast<std::uint32_t>(kSectionFileOffset));
        Put32(file, header + 36, 0x40000040); // initialized data, readable
        file += section;
    }
    return file;
}

} // namespace dirscribe::test
