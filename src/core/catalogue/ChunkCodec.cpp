// SPDX-License-Identifier: MIT
#include "core/catalogue/ChunkCodec.h"

#include "core/catalogue/ByteHash.h"
#include "core/catalogue/CatalogueError.h"
#include "core/format/AsciiCase.h"
#include "core/format/Utf8.h"

#include <algorithm>

namespace dirscribe {

namespace {

// A chunk holds at least kLeastGroups and at most kMostGroups groups; in between, it ends
// after a group whose content hash has its low bits clear, one in kEndOdds.
constexpr std::int32_t kLeastGroups = 16;
constexpr std::int32_t kMostGroups = 512;
constexpr std::uint64_t kEndOdds = 128;

// A group's first byte.
constexpr std::uint8_t kEntry = 0x01;
constexpr std::uint8_t kGone = 0x02;
constexpr std::uint8_t kFolder = 0x04;
constexpr std::uint8_t kKnown = 0x08;
constexpr std::uint8_t kComment = 0x10;
constexpr std::uint8_t kDetails = 0x20;
constexpr std::uint8_t kRows = 0x40;    // it spans more than its own row: the count follows
constexpr std::uint8_t kRawName = 0x80; // its path's last name is not its name: it is written

// Writes a group's bytes into room made for them beforehand (Encode works out how much a
// group can take): a byte at a time into a string costs a check of its room each.
class UnitWriter {
public:
    explicit UnitWriter(char* at) : m_at(at) {}

    void Byte(std::uint8_t byte) { *m_at++ = static_cast<char>(byte); }
    void Varint(std::uint64_t value) {
        while (value >= 0x80) {
            Byte(static_cast<std::uint8_t>((value & 0x7F) | 0x80));
            value >>= 7;
        }
        Byte(static_cast<std::uint8_t>(value));
    }
    void Bytes(std::string_view bytes) {
        Varint(bytes.size());
        m_at = std::copy(bytes.begin(), bytes.end(), m_at);
    }
    // The text after what it shares with the text written before it.
    void FrontCoded(std::string& previous, std::string_view text) {
        const std::size_t most = std::min(previous.size(), text.size());
        const std::size_t shared =
            std::mismatch(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(most),
                          previous.begin())
                .first -
            text.begin();
        Varint(shared);
        Bytes(text.substr(shared));
        previous.assign(text);
    }
    [[nodiscard]] char* At() const { return m_at; }

    // The most a varint takes, and a text with its length.
    static constexpr std::size_t kVarint = 10;
    static constexpr std::size_t Room(std::string_view text) { return kVarint + text.size(); }

private:
    char* m_at;
};

std::uint64_t ZigZag(std::int64_t value) {
    return (static_cast<std::uint64_t>(value) << 1) ^ static_cast<std::uint64_t>(value >> 63);
}

std::int64_t FromZigZag(std::uint64_t value) {
    return static_cast<std::int64_t>(value >> 1) ^ -static_cast<std::int64_t>(value & 1);
}

void AppendFolded(std::string& text, std::string_view part) {
    // Most texts are ASCII: lowered as they are copied, and folded again otherwise.
    const std::size_t from = text.size();
    text.resize(from + part.size());
    char* out = text.data() + from;
    unsigned char bits = 0;
    for (const char c : part) {
        bits |= static_cast<unsigned char>(c);
        *out++ = c == '\0' ? '\n' : AsciiLower(c);
    }
    if (bits >= 0x80) {
        text.resize(from);
        text += Utf8CaseFold(part);
        std::replace(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(), '\0', '\n');
    }
    text.push_back('\n');
}

// What of a group a search can match: its name when it is an entry, its comment, and the
// comments of its details rows.
void AppendGroupText(std::string& text, const SearchGroup& group) {
    if (group.entry)
        AppendFolded(text, group.name);
    if (!group.comment.empty())
        AppendFolded(text, group.comment);
    for (const SearchGroup::Details& details : group.details)
        AppendFolded(text, details.comment);
}

void AppendCopyKey(std::string& keys, CopyKeyHash& hash, const SearchGroup& group) {
    if (!IsCopyable(group))
        return;
    const std::uint32_t key = CopyKeyHash::Short(hash.Whole(group));
    for (int shift = 0; shift < 32; shift += 8)
        keys.push_back(static_cast<char>(key >> shift & 0xFF));
}

[[noreturn]] void Damaged() {
    throw CatalogueError(CatalogueError::Kind::Damaged, "the index holds a damaged record");
}

} // namespace

ChunkEncoder::ChunkEncoder(ChunkHandler onChunk, bool whole)
    : m_onChunk(std::move(onChunk)), m_whole(whole) {}

void ChunkEncoder::Start() {
    m_chunk.whole = m_whole;
    m_chunk.units.clear();
    m_chunk.text.clear();
    m_chunk.copyKeys.clear();
    m_chunk.groups = 0;
    m_chunk.known = false;
    m_chunk.leastBytes = m_chunk.mostBytes = m_chunk.earliest = m_chunk.latest = 0;
    m_name.clear();
    m_size.clear();
    m_date.clear();
    m_modified = 0;
    m_path.clear();
}

void ChunkEncoder::Add(const SearchGroup& group) {
    if (m_chunk.groups == 0) {
        Start();
        m_chunk.firstRow = group.row;
    }
    Encode(group);
    if (m_chunk.whole) {
        AppendGroupText(m_chunk.text, group);
        AppendCopyKey(m_chunk.copyKeys, m_copyKey, group);
    }
    if (group.known) {
        EncodedChunk& chunk = m_chunk;
        chunk.leastBytes = chunk.known ? std::min(chunk.leastBytes, group.bytes) : group.bytes;
        chunk.mostBytes = chunk.known ? std::max(chunk.mostBytes, group.bytes) : group.bytes;
        chunk.earliest = chunk.known ? std::min(chunk.earliest, group.modified) : group.modified;
        chunk.latest = chunk.known ? std::max(chunk.latest, group.modified) : group.modified;
        chunk.known = true;
    }
    ++m_chunk.groups;
    const std::uint64_t content = HashBytes(group.date, HashBytes(group.name));
    if (m_chunk.groups >= kMostGroups ||
        (m_chunk.groups >= kLeastGroups && content % kEndOdds == 0))
        Finish();
}

void ChunkEncoder::Finish() {
    if (m_chunk.groups == 0)
        return;
    // Handed over whole, not copied; the next chunk starts with the room this one took.
    const std::size_t units = m_chunk.units.size();
    const std::size_t text = m_chunk.text.size();
    m_onChunk(std::move(m_chunk));
    m_chunk = {};
    m_chunk.units.reserve(units);
    if (m_whole)
        m_chunk.text.reserve(text);
}

void ChunkEncoder::Encode(const SearchGroup& group) {
    // An entry whose path is not known is recorded as a path of its name alone.
    if (group.known && group.path.empty())
        m_ownName.assign(1, group.name);
    const std::vector<std::string>& path =
        group.known && group.path.empty() ? m_ownName : group.path;
    const bool rawName = group.known && path.back() != group.name;
    // Written where there is room for it already (made once, kept between groups), then
    // appended: a string's own room would be filled with zeros first for every group.
    const std::size_t room = Room(group, path);
    if (m_room.size() < room)
        m_room.resize(std::max(room, 2 * m_room.size()));
    UnitWriter write(m_room.data());
    const auto bits = static_cast<std::uint8_t>(
        (group.entry ? kEntry : 0) | (group.gone ? kGone : 0) | (group.folder ? kFolder : 0) |
        (group.known ? kKnown : 0) | (group.comment.empty() ? 0 : kComment) |
        (group.details.empty() ? 0 : kDetails) | (group.rows > 1 ? kRows : 0) |
        (rawName ? kRawName : 0));
    write.Byte(bits);
    if (group.rows > 1)
        write.Varint(static_cast<std::uint64_t>(group.rows - 1));
    write.FrontCoded(m_name, group.name);
    write.FrontCoded(m_size, group.size);
    write.FrontCoded(m_date, group.date);
    if (!group.comment.empty())
        write.Bytes(group.comment);
    if (!group.details.empty()) {
        write.Varint(group.details.size());
        for (const SearchGroup::Details& details : group.details) {
            write.Varint(static_cast<std::uint64_t>(details.row - group.row));
            write.Bytes(details.comment);
        }
    }
    if (group.known) {
        write.Varint(group.bytes);
        write.Varint(ZigZag(static_cast<std::int64_t>(group.modified - m_modified)));
        m_modified = group.modified;
        // The path as the names it does not share with the path of the entry before it.
        const std::size_t kept = std::min({group.pathKept, m_path.size(), path.size() - 1});
        write.Varint(kept);
        write.Varint(path.size() - kept);
        for (std::size_t i = kept; i < path.size(); ++i)
            if (i + 1 < path.size() || rawName)
                write.Bytes(path[i]);
        // Only the names from where the paths part: the ones before are the same.
        m_path.resize(path.size());
        std::copy(path.begin() + static_cast<std::ptrdiff_t>(kept), path.end(),
                  m_path.begin() + static_cast<std::ptrdiff_t>(kept));
    }
    m_chunk.units.append(m_room.data(), write.At());
}

// The most room Encode can take for the group.
std::size_t ChunkEncoder::Room(const SearchGroup& group, const std::vector<std::string>& path) {
    // Its bits; a varint each for its rows, the shared parts of three texts, its details,
    // size, time and path's two counts; its texts.
    std::size_t room = 1 + 9 * UnitWriter::kVarint + UnitWriter::Room(group.name) +
                       UnitWriter::Room(group.size) + UnitWriter::Room(group.date) +
                       UnitWriter::Room(group.comment);
    for (const SearchGroup::Details& details : group.details)
        room += UnitWriter::kVarint + UnitWriter::Room(details.comment);
    for (const std::string& name : path)
        room += UnitWriter::Room(name);
    return room;
}

std::uint64_t ChunkDecoder::Varint() {
    std::uint64_t value = 0;
    for (int shift = 0; shift < 64; shift += 7) {
        if (m_at >= m_units.size())
            Damaged();
        const auto byte = static_cast<unsigned char>(m_units[m_at++]);
        value |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0)
            return value;
    }
    Damaged();
}

std::string_view ChunkDecoder::Bytes(std::uint64_t count) {
    if (count > m_units.size() - m_at)
        Damaged();
    const std::string_view bytes = m_units.substr(m_at, count);
    m_at += count;
    return bytes;
}

// The text after what it shares with the text read before it, whose length is kept: a
// text not wanted is passed over.
void ChunkDecoder::FrontCoded(std::string& text, std::uint64_t& length, bool wanted) {
    const std::uint64_t shared = Varint();
    if (shared > length)
        Damaged();
    const std::string_view added = Bytes(Varint());
    length = shared + added.size();
    if (!wanted)
        return;
    text.resize(shared);
    text.append(added);
}

void ChunkDecoder::Details(SearchGroup& group, std::uint64_t more) {
    const std::uint64_t count = Varint();
    if (count > m_units.size() - m_at)
        Damaged();
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint64_t offset = Varint();
        if (offset == 0 || offset > more)
            Damaged();
        const std::string_view comment = Bytes(Varint());
        if (m_parts.texts)
            group.details.push_back({group.row + static_cast<int>(offset), std::string(comment)});
    }
}

bool ChunkDecoder::Next(SearchGroup& group) {
    if (m_at == m_units.size())
        return false;
    if (m_at == 0) {
        group.name.clear();
        group.size.clear();
        group.date.clear();
        group.path.clear();
        m_sizeLength = m_dateLength = 0;
    }
    const auto bits = static_cast<std::uint8_t>(m_units[m_at++]);
    group.row = static_cast<int>(m_row);
    group.entry = (bits & kEntry) != 0;
    group.gone = (bits & kGone) != 0;
    group.folder = (bits & kFolder) != 0;
    group.known = (bits & kKnown) != 0;
    const std::uint64_t more = (bits & kRows) != 0 ? Varint() : 0;
    if (more >= INT32_MAX)
        Damaged();
    group.rows = static_cast<int>(more) + 1;
    std::uint64_t nameLength = group.name.size();
    FrontCoded(group.name, nameLength, true);
    FrontCoded(group.size, m_sizeLength, m_parts.texts);
    FrontCoded(group.date, m_dateLength, m_parts.texts);
    group.comment.clear();
    if ((bits & kComment) != 0) {
        const std::string_view comment = Bytes(Varint());
        if (m_parts.texts)
            group.comment.assign(comment);
    }
    group.details.clear();
    if ((bits & kDetails) != 0)
        Details(group, more);
    group.bytes = group.modified = 0;
    group.pathKept = 0;
    if (group.known) {
        group.bytes = Varint();
        m_modified += static_cast<std::uint64_t>(FromZigZag(Varint()));
        group.modified = m_modified;
        const std::uint64_t kept = Varint();
        const std::uint64_t added = Varint();
        if (kept > m_depth || added == 0 || added > m_units.size() - m_at + 1)
            Damaged();
        m_depth = kept + added;
        group.pathKept = kept;
        // Into the names already there: no allocation a group.
        if (m_parts.paths)
            group.path.resize(m_depth);
        for (std::uint64_t i = 0; i < added; ++i) {
            const bool written = i + 1 < added || (bits & kRawName) != 0;
            const std::string_view name = written ? Bytes(Varint()) : group.name;
            if (m_parts.paths)
                group.path[kept + i].assign(name);
        }
    }
    m_row += group.rows;
    if (m_row > INT32_MAX)
        Damaged();
    return true;
}

std::string ChunkText(std::string_view units) {
    std::string text;
    ChunkDecoder decoder(units, 0);
    SearchGroup group;
    while (decoder.Next(group))
        AppendGroupText(text, group);
    return text;
}

std::string ChunkCopyKeys(std::string_view units) {
    std::string keys;
    ChunkDecoder decoder(units, 0, {.paths = false, .texts = false});
    CopyKeyHash copyKey(CopyKey::NameAndSize);
    SearchGroup group;
    while (decoder.Next(group))
        AppendCopyKey(keys, copyKey, group);
    return keys;
}

} // namespace dirscribe
