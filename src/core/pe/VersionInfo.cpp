// SPDX-License-Identifier: MIT
// A version resource's block tree and its string lookup by path.
#include "core/pe/VersionInfo.h"

#include "core/format/AsciiCase.h"
#include "core/format/Utf16.h"
#include "core/pe/LittleEndian.h"

#include <algorithm>
#include <cstdint>

namespace dirscribe {

namespace {

constexpr std::size_t kBlockHeaderBytes = 6;
constexpr std::uint16_t kTextType = 1;

std::size_t AlignFour(std::size_t offset) {
    return (offset + 3) & ~std::size_t{3};
}

struct Block {
    std::size_t end = 0;    // one past its last byte, within its parent
    std::size_t length = 0; // as its header says; at least the header
    std::uint16_t valueLength = 0;
    std::uint16_t type = 0;
    std::size_t keyAt = 0;      // first key unit
    std::size_t keyUnits = 0;   // without the NUL
    std::size_t valueAt = 0;    // may lie at or past end when there is no room for it
    std::size_t childrenAt = 0; // may lie at or past end when there are no children
};

// The block at offset whose parent ends at limit. A length running past the parent is cut
// to it, as sloppy resource compilers write such blocks; one shorter than its header, or a
// key without its NUL, makes the block unreadable.
std::optional<Block> ReadBlock(std::string_view bytes, std::size_t offset, std::size_t limit) {
    if (offset > limit || limit - offset < kBlockHeaderBytes)
        return std::nullopt;
    Block block;
    block.length = Le16(bytes, offset);
    if (block.length < kBlockHeaderBytes)
        return std::nullopt;
    block.end = std::min(limit, offset + block.length);
    block.valueLength = Le16(bytes, offset + 2);
    block.type = Le16(bytes, offset + 4);
    block.keyAt = offset + kBlockHeaderBytes;
    std::size_t at = block.keyAt;
    while (at + 2 <= block.end && Le16(bytes, at) != 0)
        at += 2;
    if (at + 2 > block.end)
        return std::nullopt;
    block.keyUnits = (at - block.keyAt) / 2;
    block.valueAt = AlignFour(at + 2);
    const std::size_t valueBytes =
        block.type == kTextType ? std::size_t{block.valueLength} * 2 : block.valueLength;
    block.childrenAt = AlignFour(block.valueAt + valueBytes);
    return block;
}

bool KeyEquals(std::string_view bytes, const Block& block, std::string_view name) {
    if (block.keyUnits != name.size())
        return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const std::uint16_t unit = Le16(bytes, block.keyAt + 2 * i);
        if (AsciiUpper(unit) != AsciiUpper<std::uint16_t>(static_cast<unsigned char>(name[i])))
            return false;
    }
    return true;
}

// The first child of parent whose key is name.
std::optional<Block> FindChild(std::string_view bytes, const Block& parent, std::string_view name) {
    // Each step moves on by at least a header, so the walk ends.
    for (std::size_t at = parent.childrenAt; at < parent.end;) {
        const auto child = ReadBlock(bytes, at, parent.end);
        if (!child)
            return std::nullopt;
        if (KeyEquals(bytes, *child, name))
            return child;
        at = AlignFour(at + child->length);
    }
    return std::nullopt;
}

std::string ValueText(std::string_view bytes, const Block& block) {
    if (block.valueLength == 0 || block.valueAt >= block.end)
        return {};
    std::u16string text;
    for (std::size_t at = block.valueAt; at + 2 <= block.end; at += 2) {
        const std::uint16_t unit = Le16(bytes, at);
        if (unit == 0)
            break;
        text.push_back(static_cast<char16_t>(unit));
    }
    return Utf16ToUtf8(text);
}

} // namespace

std::optional<VersionInfo> VersionInfo::Parse(std::string bytes) {
    const auto root = ReadBlock(bytes, 0, bytes.size());
    if (!root || !KeyEquals(bytes, *root, "VS_VERSION_INFO"))
        return std::nullopt;
    return VersionInfo(std::move(bytes));
}

std::optional<std::string> VersionInfo::QueryString(std::string_view path) const {
    auto block = ReadBlock(m_bytes, 0, m_bytes.size());
    while (block && !path.empty()) {
        if (path.front() == '\\') {
            path.remove_prefix(1);
            continue;
        }
        const std::size_t slash = path.find('\\');
        block = FindChild(m_bytes, *block, path.substr(0, slash));
        path = slash == std::string_view::npos ? std::string_view() : path.substr(slash);
    }
    if (!block)
        return std::nullopt;
    return ValueText(m_bytes, *block);
}

} // namespace dirscribe
