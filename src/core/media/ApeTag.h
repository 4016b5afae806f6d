// SPDX-License-Identifier: MIT
// An APEv2 tag at the end of a file: its extent and its text items.
#pragma once

#include "core/platform/ByteSource.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace dirscribe {

// A 32-byte footer ("APETAGEX", version, size, item count, flags) ends the tag; its size
// counts the items and the footer, and a flag says whether a header of 32 more bytes stands
// before them. Each item is its value's size, flags, a key ended by a zero byte and the
// value; a text value holds UTF-8, several values parted by zero bytes.
class ApeTag {
public:
    // The tag whose footer ends at end (the file's end, or where its ID3v1 tag begins):
    // nothing unless a footer stands there. A size past the file's start is cut to it.
    static std::optional<ApeTag> ReadBefore(const ByteSource& file, std::uint64_t end);

    // Where the tag begins, its header included.
    [[nodiscard]] std::uint64_t Start() const { return m_start; }

    // The text items, in file order, as (key, value); several values are joined by "; ".
    // Binary items (a cover) are passed over unread; a value is cut at maxValueBytes; at most
    // kMaxItems are looked at, and nothing outside the tag is read.
    [[nodiscard]] std::vector<std::pair<std::string, std::string>>
    TextItems(const ByteSource& file, std::size_t maxValueBytes) const;

    // Far more than a real tag holds.
    static constexpr std::uint32_t kMaxItems = 1024;

private:
    ApeTag(std::uint64_t start, std::uint64_t itemsStart, std::uint64_t itemsEnd,
           std::uint32_t count)
        : m_start(start), m_itemsStart(itemsStart), m_itemsEnd(itemsEnd), m_count(count) {}

    std::uint64_t m_start;
    std::uint64_t m_itemsStart;
    std::uint64_t m_itemsEnd; // where the footer begins
    std::uint32_t m_count;
};

} // namespace dirscribe
