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

// Calls visit on each readable child of parent in turn until it returns true; that child is
// returned. A child that cannot be read ends the walk.
template <typename Visit>
std::optional<Block> ForEachChild(std::string_view bytes, const std::optional<Block>& parent,
                                  Visit visit) {
    if (!parent)
        return std::nullopt;
    // Each step moves on by at least a header, so the walk ends.
    for (std::size_t at = parent->childrenAt; at < parent->end;) {
        const auto child = ReadBlock(bytes, at, parent->end);
        if (!child)
            return std::nullopt;
        if (visit(*child))
            return child;
        at = AlignFour(at + child->length);
    }
    return std::nullopt;
}

// The block a path such as "\StringFileInfo\040904B0\CompanyName" names: each part the key
// of a child of the block before it.
std::optional<Block> FindPath(std::string_view bytes, std::string_view path) {
    auto block = ReadBlock(bytes, 0, bytes.size());
    while (block && !path.empty()) {
        if (path.front() == '\\') {
            path.remove_prefix(1);
            continue;
        }
        const std::size_t slash = path.find('\\');
        const std::string_view name = path.substr(0, slash);
        block = ForEachChild(bytes, block,
                             [&](const Block& child) { return KeyEquals(bytes, child, name); });
        path = slash == std::string_view::npos ? std::string_view() : path.substr(slash);
    }
    return block;
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
    const auto block = FindPath(m_bytes, path);
    if (!block)
        return std::nullopt;
    return ValueText(m_bytes, *block);
}

std::optional<std::string> VersionInfo::QueryBytes(std::string_view path) const {
    const auto block = FindPath(m_bytes, path);
    if (!block)
        return std::nullopt;
    if (block->valueAt >= block->end)
        return std::string();
    return m_bytes.substr(block->valueAt,
                          std::min<std::size_t>(block->valueLength, block->end - block->valueAt));
}

std::vector<std::string> VersionInfo::ChildKeys(std::string_view path) const {
    std::vector<std::string> keys;
    const auto parent = FindPath(m_bytes, path);
    ForEachChild(m_bytes, parent, [&](const Block& child) {
        std::u16string key;
        for (std::size_t i = 0; i < child.keyUnits; ++i)
            key.push_back(static_cast<char16_t>(Le16(m_bytes, child.keyAt + 2 * i)));
        keys.push_back(Utf16ToUtf8(key));
        return false;
    });
    return keys;
}

} // namespace dirscribe
