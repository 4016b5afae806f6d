// SPDX-License-Identifier: MIT
// The headers and section table of a Windows program or library, and reads by virtual address.
#pragma once

#include "core/platform/ByteSource.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace dirscribe {

// A 32- or 64-bit PE image read from a file. Keeps a reference to the source, which must
// outlive it. Every offset and size taken from the file is checked before it is used.
class PeImage {
public:
    // The image in file, or nothing when the file is not a PE image: no "MZ" header, no "PE"
    // signature where the DOS header points, an unknown optional header, or headers cut off.
    static std::optional<PeImage> Read(const ByteSource& file);

    // The resource directory's virtual address and size; size 0 when there is none.
    [[nodiscard]] std::uint32_t ResourceAddress() const { return m_resourceAddress; }
    [[nodiscard]] std::uint32_t ResourceSize() const { return m_resourceSize; }

    // The size bytes at virtual address rva as the loaded image holds them (past a section's
    // raw data, zeros). Empty when the range does not lie in one section, or the file ends
    // before the section's data does.
    [[nodiscard]] std::optional<std::string> ReadAddress(std::uint64_t rva, std::size_t size) const;

private:
    struct Section {
        std::uint32_t address = 0;
        std::uint32_t virtualSize = 0;
        std::uint32_t rawSize = 0;
        std::uint32_t rawOffset = 0;
    };

    explicit PeImage(const ByteSource& file) : m_file(&file) {}

    const ByteSource* m_file;
    std::vector<Section> m_sections;
    std::uint32_t m_resourceAddress = 0;
    std::uint32_t m_resourceSize = 0;
};

} // namespace dirscribe
