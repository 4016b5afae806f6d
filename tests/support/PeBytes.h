// SPDX-License-Identifier: MIT
// Byte builders for Windows program files with version resources.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace dirscribe::test {

// One version block: a 16-bit length, value length and type, a UTF-16 key, the value and the
// children, each part on a 4-byte bound.
std::string VersionBlock(std::string_view key, std::uint16_t type, std::uint16_t valueLength,
                         std::string_view value, const std::vector<std::string>& children);

// A String block holding value (UTF-16, with its NUL counted in the value length).
std::string VersionString(std::string_view key, std::u16string_view value);

// A string table, such as "040904B0", of (key, value) pairs.
using StringTable = std::pair<std::string, std::vector<std::pair<std::string, std::u16string>>>;

// A whole VS_VERSION_INFO block: the fixed file information, a StringFileInfo block with the
// tables, and a VarFileInfo block whose translation list holds one language and code page
// (the language in the low 16 bits).
std::string VersionInfoBlock(const std::vector<StringTable>& tables,
                             std::uint32_t translation = 0x04B00409);

// A resource of the version type under one language id.
struct VersionResource {
    std::uint16_t language = 0x0409;
    std::string block; // the resource's bytes, usually a VersionInfoBlock
};

struct PeOptions {
    bool pe32Plus = false;
    std::uint32_t versionId = 1; // the resource's id under the version type
};

// A PE image with one ".rsrc" section holding the version resources in the order given; no
// resource section at all for an empty list. The last resource's bytes end the file.
std::string PeFile(const std::vector<VersionResource>& resources, const PeOptions& options = {});

} // namespace dirscribe::test
