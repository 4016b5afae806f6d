// SPDX-License-Identifier: MIT
// An APEv2 tag at the end of a file: its extent and its text items.
#include "core/media/ApeTag.h"

#include "core/format/Utf8.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace dirscribe {

namespace {

constexpr std::uint64_t kFooterBytes = 32;
constexpr std::uint32_t kHasHeader = 0x80000000U;
constexpr std::size_t kItemHeaderBytes = 8;
constexpr std::size_t kMaxKeyBytes = 255;
// Bits 1-2 of an item's flags: 0 UTF-8 text, 1 binary, 2 a locator, 3 reserved.
constexpr std::uint32_t kKindBits = 6;

std::uint32_t Le32(const unsigned char* b) {
    return std::uint32_t{b[0]} | (std::uint32_t{b[1]} << 8) | (std::uint32_t{b[2]} << 16) |
           (std::uint32_t{b[3]} << 24);
}

} // namespace

std::optional<ApeTag> ApeTag::ReadBefore(const ByteSource& file, std::uint64_t end) {
    std::array<unsigned char, kFooterBytes> footer{};
    if (end < kFooterBytes ||
        file.ReadAt(end - kFooterBytes, footer.data(), footer.size()) != footer.size() ||
        std::string_view(reinterpret_cast<const char*>(footer.data()), 8) != "APETAGEX")
        return std::nullopt;
    const std::uint64_t itemsEnd = end - kFooterBytes;
    // The size counts the footer but not the header.
    const std::uint64_t size = std::max<std::uint64_t>(Le32(&footer[12]), kFooterBytes);
    const std::uint64_t itemsStart = itemsEnd - std::min(itemsEnd, size - kFooterBytes);
    const std::uint64_t header = (Le32(&footer[20]) & kHasHeader) != 0 ? kFooterBytes : 0;
    return ApeTag(itemsStart - std::min(itemsStart, header), itemsStart, itemsEnd,
                  Le32(&footer[16]));
}

std::vector<std::pair<std::string, std::string>>
ApeTag::TextItems(const ByteSource& file, std::size_t maxValueBytes) const {
    std::vector<std::pair<std::string, std::string>> items;
    std::uint64_t at = m_itemsStart;
    for (std::uint32_t i = 0; i < std::min(m_count, kMaxItems); ++i) {
        std::array<unsigned char, kItemHeaderBytes + kMaxKeyBytes + 1> head{};
        if (m_itemsEnd - at < kItemHeaderBytes)
            break;
        const std::size_t wanted =
            static_cast<std::size_t>(std::min<std::uint64_t>(head.size(), m_itemsEnd - at));
        if (file.ReadAt(at, head.data(), wanted) != wanted)
            break;
        const std::uint32_t valueBytes = Le32(head.data());
        const std::uint32_t flags = Le32(&head[4]);
        const std::string_view rest(reinterpret_cast<const char*>(head.data()) + kItemHeaderBytes,
                                    wanted - kItemHeaderBytes);
        const std::size_t keyBytes = rest.find('\0');
        if (keyBytes == std::string_view::npos)
            break; // a key that does not end within the tag
        const std::uint64_t value = at + kItemHeaderBytes + keyBytes + 1;
        if (valueBytes > m_itemsEnd - value)
            break;
        if ((flags & kKindBits) == 0) {
            std::string text(std::min<std::size_t>(valueBytes, maxValueBytes), '\0');
            text.resize(file.ReadAt(value, text.data(), text.size()));
            std::string joined;
            for (std::size_t from = 0; from <= text.size();) {
                const std::size_t nul = std::min(text.find('\0', from), text.size());
                if (nul > from)
                    joined += (joined.empty() ? "" : "; ") + text.substr(from, nul - from);
                from = nul + 1;
            }
            items.emplace_back(LenientUtf8(rest.substr(0, keyBytes)), LenientUtf8(joined));
        }
        at = value + valueBytes;
    }
    return items;
}

} // namespace dirscribe
