// SPDX-License-Identifier: MIT
// The block a document file carries after its rows: what the listing knew beyond its texts.
#include "core/docfile/DocumentBlock.h"

#include "core/Error.h"
#include "core/format/Base64.h"
#include "core/format/Utf8.h"

#include <algorithm>
#include <array>
#include <climits>
#include <optional>

namespace dirscribe {

namespace {

// A record's first byte: the row's kind in the two lowest bits, then marks.
constexpr std::uint8_t kKindBits = 0x03;
constexpr std::uint8_t kGoneBit = 0x04;
constexpr std::uint8_t kKnownBit = 0x08;
constexpr std::uint8_t kRestrictedBit = 0x10;
// The names of the record are in Base64: one of them is not UTF-8, and a document's strings
// are UTF-8 only.
constexpr std::uint8_t kBase64Bit = 0x20;
constexpr std::uint8_t kUnusedBits = 0xC0;

constexpr std::string_view kWhat = "the extension block";

// The volume record's first byte: capacity and free are known.
constexpr std::uint8_t kVolumeSizedBit = 0x01;

// The texts of the volume record, in their order, with what a message calls them.
struct VolumeText {
    std::string ListingVolume::*text;
    std::string VolumeFacts::*fact;
    const char* what;
};
constexpr std::array<VolumeText, 5> kVolumeTexts{{
    {&ListingVolume::note, nullptr, "note"},
    {nullptr, &VolumeFacts::mountPoint, "mount point"},
    {nullptr, &VolumeFacts::label, "label"},
    {nullptr, &VolumeFacts::uuid, "UUID"},
    {nullptr, &VolumeFacts::fileSystem, "file system"},
}};

std::string& TextOf(ListingVolume& volume, const VolumeText& field) {
    return field.text != nullptr ? volume.*field.text : volume.facts.*field.fact;
}
const std::string& TextOf(const ListingVolume& volume, const VolumeText& field) {
    return field.text != nullptr ? volume.*field.text : volume.facts.*field.fact;
}

// A name a folder can hold: not empty, no "/" or NUL, not "." or "..".
bool IsName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

} // namespace

void CheckVolumeTexts(const ListingVolume& volume) {
    for (const VolumeText& field : kVolumeTexts) {
        const std::string& text = TextOf(volume, field);
        if (text.size() > kMaxVolumeText || !IsValidUtf8(text))
            throw Error(std::string("The document cannot be saved: the volume's ") + field.what +
                        " is longer than " + std::to_string(kMaxVolumeText) +
                        " bytes or not UTF-8.");
    }
}

BlockWriter::BlockWriter(ArchiveWriter& writer, const ListingShape& shape,
                         const ListingVolume& volume, std::int32_t rowCount)
    : m_writer(writer) {
    CheckVolumeTexts(volume);
    for (const char c : kBlockMagic)
        m_writer.WriteByte(static_cast<std::uint8_t>(c));
    m_writer.WriteInt32(kBlockVersion);
    m_writer.WriteInt32(shape.depth);
    m_writer.WriteInt32(static_cast<std::int32_t>(shape.content));
    const VolumeFacts& facts = volume.facts;
    m_writer.WriteByte(facts.sized ? kVolumeSizedBit : 0);
    for (const VolumeText& field : kVolumeTexts)
        m_writer.WriteString(TextOf(volume, field));
    m_writer.WriteVarint(facts.sized ? facts.capacity : 0);
    m_writer.WriteVarint(facts.sized ? std::min(facts.free, facts.capacity) : 0);
    m_writer.WriteUInt64(volume.listed);
    m_writer.WriteInt32(rowCount);
}

void BlockWriter::WriteRow(const ListingTable& table, int row) {
    const RowKind kind = table.Kind(row);
    auto flags = static_cast<std::uint8_t>(kind);
    const std::uint32_t entry = kind == RowKind::Entry ? table.EntryIndex(row) : kNoEntry;
    if (kind == RowKind::Entry && table.Gone(row))
        flags |= kGoneBit;
    if (entry == kNoEntry) {
        m_writer.WriteByte(flags);
        return;
    }
    const EntryStore& store = table.Entries()->Entries();
    flags |= kKnownBit;
    if (store.Restricted(entry))
        flags |= kRestrictedBit;
    // A folder stands before its contents, so each step goes to a lower index and ends.
    m_next.clear();
    for (std::uint32_t at = entry; at < store.Size();) {
        m_next.push_back(store.Name(at));
        const std::uint32_t up = store.Parent(at);
        if (up >= at)
            break;
        at = up;
    }
    std::reverse(m_next.begin(), m_next.end());
    // The entry's own name is always written, even when it repeats the last one.
    std::size_t kept = 0;
    while (kept + 1 < m_next.size() && kept < m_path.size() && m_path[kept] == m_next[kept])
        ++kept;
    const bool base64 =
        std::any_of(m_next.begin() + static_cast<std::ptrdiff_t>(kept), m_next.end(),
                    [](std::string_view name) { return !IsValidUtf8(name); });
    if (base64)
        flags |= kBase64Bit;
    m_writer.WriteByte(flags);
    m_writer.WriteVarint(static_cast<std::uint32_t>(store.Level(entry)));
    m_writer.WriteVarint(kept);
    m_writer.WriteVarint(m_next.size() - kept);
    for (std::size_t i = kept; i < m_next.size(); ++i)
        m_writer.WriteString(base64 ? Base64Encode(m_next[i]) : std::string(m_next[i]));
    m_writer.WriteVarint(store.Bytes(entry));
    m_writer.WriteUInt64(store.Modified(entry));
    m_writer.WriteVarint(store.Attributes(entry));
    std::swap(m_path, m_next);
}

bool StartsBlock(ArchiveReader& reader) {
    return reader.LookingAt(kBlockMagic);
}

ListingShape BlockReader::ReadHead(std::int32_t rowCount) {
    if (!StartsBlock(m_reader))
        throw Error("the extension block does not begin with \"DSCX\"");
    for (std::size_t i = 0; i < kBlockMagic.size(); ++i)
        (void)m_reader.ReadByte(kWhat);
    const std::int32_t version = m_reader.ReadInt32(kWhat);
    if (version != 1 && version != kBlockVersion)
        throw Error("the extension block is of version " + std::to_string(version) +
                    ", which this program does not know");
    ListingShape shape;
    shape.depth = m_reader.ReadInt32(kWhat);
    if (shape.depth < -1)
        throw Error("the extension block gives the depth " + std::to_string(shape.depth));
    const std::int32_t content = m_reader.ReadInt32(kWhat);
    if (!IsListingContent(content))
        throw Error("the extension block gives the content " + std::to_string(content) +
                    ", not 0 to 2");
    shape.content = static_cast<ListingContent>(content);
    m_volume = {};
    if (version >= 2)
        ReadVolume();
    const std::int32_t count = m_reader.ReadInt32(kWhat);
    if (count != rowCount)
        throw Error("the extension block describes " + std::to_string(count) + " rows, not " +
                    std::to_string(rowCount));
    m_rowCount = rowCount;
    return shape;
}

void BlockReader::ReadVolume() {
    const std::uint8_t flags = m_reader.ReadByte(kWhat);
    if ((flags & ~kVolumeSizedBit) != 0)
        throw Error("the extension block marks its volume with bits it does not define");
    for (const VolumeText& field : kVolumeTexts) {
        const std::string_view text = m_reader.ReadString(kWhat);
        if (text.size() > kMaxVolumeText || !IsValidUtf8(text))
            throw Error(std::string("the extension block gives the volume a ") + field.what +
                        " longer than " + std::to_string(kMaxVolumeText) +
                        " bytes or not in UTF-8");
        TextOf(m_volume, field).assign(text);
    }
    VolumeFacts& facts = m_volume.facts;
    facts.sized = (flags & kVolumeSizedBit) != 0;
    facts.capacity = m_reader.ReadVarint(kWhat);
    facts.free = m_reader.ReadVarint(kWhat);
    if (facts.free > facts.capacity || (!facts.sized && facts.capacity != 0))
        throw Error("the extension block gives the volume " + std::to_string(facts.free) +
                    " bytes free of " + std::to_string(facts.capacity));
    m_volume.listed = m_reader.ReadUInt64(kWhat);
}

void BlockReader::ReadRow(std::int32_t row, BlockRow& out) {
    try {
        const std::uint8_t flags = m_reader.ReadByte(kWhat);
        if ((flags & kUnusedBits) != 0)
            throw Error("the extension block marks a row with bits it does not define");
        out.kind = static_cast<RowKind>(flags & kKindBits);
        out.gone = (flags & kGoneBit) != 0;
        out.known = (flags & kKnownBit) != 0;
        const bool restricted = (flags & kRestrictedBit) != 0;
        const bool base64 = (flags & kBase64Bit) != 0;
        if (out.kind != RowKind::Entry && (out.gone || out.known))
            throw Error("the extension block gives facts or a gone mark to a row that is no entry");
        if ((restricted || base64) && !out.known)
            throw Error("the extension block marks names of an entry without facts");
        if (out.known) {
            out.entry.restricted = restricted;
            ReadFacts(out, base64);
        }
    } catch (const Error& error) {
        throw Error(std::string(error.what()) + " (row " + std::to_string(row + 1) + " of " +
                    std::to_string(m_rowCount) + ")");
    }
}

void BlockReader::ReadFacts(BlockRow& out, bool base64) {
    const std::uint64_t level = m_reader.ReadVarint("the extension block's level of an entry");
    const std::uint64_t kept =
        m_reader.ReadVarint("the extension block's count of names an entry keeps");
    if (kept > m_path.Size())
        throw Error("the extension block keeps " + std::to_string(kept) + " names of a path of " +
                    std::to_string(m_path.Size()));
    const std::uint64_t added =
        m_reader.ReadVarint("the extension block's count of names an entry adds");
    // Each name takes two bytes at least: checked before any room is made for them.
    if (added == 0 || added > m_reader.Remaining() / 2)
        throw Error("the extension block gives an entry " + std::to_string(added) +
                    " names where the file holds no such number");
    m_folderNames += added - 1;
    if (m_folderNames > static_cast<std::uint64_t>(m_rowCount) + kSpareFolderNames)
        throw Error("the extension block names more folders than a listing of " +
                    std::to_string(m_rowCount) + " rows can hold");
    const std::uint64_t names = kept + added;
    if (level > INT32_MAX || level + 1 < names || level > names)
        throw Error("the extension block gives an entry the level " + std::to_string(level) +
                    " on a path of " + std::to_string(names) + " names");
    m_kept = static_cast<std::size_t>(kept);
    m_path.Keep(m_kept);
    for (std::uint64_t i = 0; i < added; ++i) {
        const std::string_view text = m_reader.ReadString(kWhat);
        const std::optional<std::string> decoded =
            base64 ? Base64Decode(text) : std::optional<std::string>();
        const std::string_view name = !base64   ? text
                                      : decoded ? std::string_view(*decoded)
                                                : std::string_view();
        if (!IsName(name))
            throw Error("the extension block holds a name no folder can hold");
        m_path.Push(name);
    }
    out.entry.size = m_reader.ReadVarint("the extension block's size of an entry");
    out.entry.modified = m_reader.ReadUInt64(kWhat);
    const std::uint64_t attributes =
        m_reader.ReadVarint("the extension block's attributes of an entry");
    if (attributes > UINT32_MAX)
        throw Error("the extension block gives an entry the attributes " +
                    std::to_string(attributes));
    out.entry.attributes = static_cast<std::uint32_t>(attributes);
    out.entry.level = static_cast<std::int32_t>(level);
    out.entry.parent = kNoEntry;
    out.entry.name = m_path.Back();
}

} // namespace dirscribe
