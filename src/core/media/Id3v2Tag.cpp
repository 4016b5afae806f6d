// SPDX-License-Identifier: MIT
// An ID3v2 tag at the start of a file: its header, its extent and its frames.
#include "core/media/Id3v2Tag.h"

#include "core/media/TagByteStream.h"

#include <algorithm>
#include <array>

namespace dirscribe {

namespace {

constexpr std::size_t kHeaderBytes = 10;
constexpr std::size_t kFrameHeaderBytes = 10;
constexpr std::size_t kVersion2FrameHeaderBytes = 6; // three-letter id, 24-bit size

// The frames of a 2.2 tag that have a 2.3 twin, by their three-letter ids.
constexpr std::array<std::array<std::string_view, 2>, 9> kVersion2Ids = {{
    {"TT2", "TIT2"},
    {"TP1", "TPE1"},
    {"TP2", "TPE2"},
    {"TP3", "TPE3"},
    {"TAL", "TALB"},
    {"TYE", "TYER"},
    {"TCO", "TCON"},
    {"COM", "COMM"},
    {"TRK", "TRCK"},
}};

// Tag flags.
constexpr unsigned char kUnsynchronised = 0x80;
constexpr unsigned char kExtendedHeader = 0x40;
constexpr unsigned char kVersion2Compressed = 0x40; // 2.2: no scheme was ever defined
constexpr unsigned char kFooter = 0x10;             // 2.4 only

// Frame format flags (the second flag byte), by version.
constexpr unsigned char kV3Compressed = 0x80;
constexpr unsigned char kV3Encrypted = 0x40;
constexpr unsigned char kV3Grouped = 0x20;
constexpr unsigned char kV4Grouped = 0x40;
constexpr unsigned char kV4Compressed = 0x08;
constexpr unsigned char kV4Encrypted = 0x04;
constexpr unsigned char kV4Unsynchronised = 0x02;
constexpr unsigned char kV4DataLength = 0x01;

std::uint32_t BigEndian32(std::string_view b) {
    return (std::uint32_t{static_cast<unsigned char>(b[0])} << 24) |
           (std::uint32_t{static_cast<unsigned char>(b[1])} << 16) |
           (std::uint32_t{static_cast<unsigned char>(b[2])} << 8) |
           std::uint32_t{static_cast<unsigned char>(b[3])};
}

// Four 7-bit groups; a high bit, which a well-formed size never has, is ignored.
std::uint32_t Syncsafe32(std::string_view b) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value = (value << 7) | (static_cast<unsigned char>(b[i]) & 0x7FU);
    return value;
}

bool IsFrameId(std::string_view id) {
    return std::all_of(id.begin(), id.end(),
                       [](char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); });
}

// A 2.2 frame's id as its 2.3 twin's, or as it stands.
std::string Version3Id(std::string_view id) {
    for (const auto& [version2, version3] : kVersion2Ids)
        if (version2 == id)
            return std::string(version3);
    return std::string(id);
}

std::uint32_t BigEndian24(std::string_view b) {
    return (std::uint32_t{static_cast<unsigned char>(b[0])} << 16) |
           (std::uint32_t{static_cast<unsigned char>(b[1])} << 8) |
           std::uint32_t{static_cast<unsigned char>(b[2])};
}

// Whether a frame or the padding could start at offset, the frames ending at end.
bool FramesGoOnAt(const ByteSource& file, std::uint64_t offset, std::uint64_t end) {
    if (offset >= end)
        return offset == end;
    std::array<char, 4> id{};
    file.ReadAt(offset, id.data(), id.size());
    return id[0] == '\0' || IsFrameId(std::string_view(id.data(), id.size()));
}

// A 2.4 frame's size is syncsafe, but some writers put a plain number there. The plain
// reading is taken when only it lands on the next frame.
std::uint32_t Version4FrameSize(const ByteSource& file, std::string_view sizeBytes,
                                std::uint64_t dataAt, std::uint64_t framesEnd) {
    const std::uint32_t plain = BigEndian32(sizeBytes);
    if ((plain & 0x80808080U) != 0)
        return plain;
    const std::uint32_t syncsafe = Syncsafe32(sizeBytes);
    if (syncsafe != plain && !FramesGoOnAt(file, dataAt + syncsafe, framesEnd) &&
        FramesGoOnAt(file, dataAt + plain, framesEnd))
        return plain;
    return syncsafe;
}

// Takes the zero out of each FF 00 pair.
std::string Resynchronise(std::string_view data) {
    std::string out;
    out.reserve(data.size());
    for (std::size_t i = 0; i < data.size(); ++i) {
        out.push_back(data[i]);
        if (data[i] == '\xFF' && i + 1 < data.size() && data[i + 1] == '\0')
            ++i;
    }
    return out;
}

// How a frame's data is laid out, from its format flags.
struct FrameLayout {
    bool readable = true;        // neither compressed nor encrypted
    std::size_t prefixBytes = 0; // group and data length bytes before the content
    bool unsynchronised = false; // 2.4: this frame's own unsynchronisation
};

FrameLayout LayoutOf(unsigned char major, unsigned char tagFlags, unsigned char format) {
    FrameLayout layout;
    if (major == 3) {
        layout.readable = (format & (kV3Compressed | kV3Encrypted)) == 0;
        layout.prefixBytes = (format & kV3Grouped) != 0 ? 1 : 0;
        return layout;
    }
    layout.readable = (format & (kV4Compressed | kV4Encrypted)) == 0;
    layout.prefixBytes =
        ((format & kV4Grouped) != 0 ? 1 : 0) + ((format & kV4DataLength) != 0 ? 4 : 0);
    layout.unsynchronised = (format & kV4Unsynchronised) != 0 || (tagFlags & kUnsynchronised) != 0;
    return layout;
}

} // namespace

std::optional<Id3v2Tag> Id3v2Tag::Read(const ByteSource& file) {
    std::array<char, kHeaderBytes> header{};
    file.ReadAt(0, header.data(), header.size());
    if (std::string_view(header.data(), 3) != "ID3")
        return std::nullopt;
    return Id3v2Tag(static_cast<unsigned char>(header[3]), static_cast<unsigned char>(header[5]),
                    Syncsafe32(std::string_view(header.data() + 6, 4)));
}

std::uint64_t Id3v2Tag::End() const {
    const bool footer = m_major == 4 && (m_flags & kFooter) != 0;
    return kHeaderBytes + std::uint64_t{m_size} + (footer ? kHeaderBytes : 0);
}

std::vector<Id3v2Frame> Id3v2Tag::Frames(const ByteSource& file,
                                         const std::function<bool(std::string_view)>& wanted,
                                         std::size_t maxDataBytes) const {
    if (m_major < 2 || m_major > 4 || (m_major == 2 && (m_flags & kVersion2Compressed) != 0))
        return {};
    const std::uint64_t framesEnd = kHeaderBytes + std::uint64_t{m_size};
    // In 2.2 and 2.3 the whole tag after its header is unsynchronised; in 2.4 each frame's.
    TagByteStream stream(file, kHeaderBytes, framesEnd,
                         m_major != 4 && (m_flags & kUnsynchronised) != 0);
    if (m_major == 2)
        return Version2Frames(stream, wanted, maxDataBytes);
    if ((m_flags & kExtendedHeader) != 0) {
        const std::string size = stream.Read(4);
        if (size.size() < 4)
            return {};
        // 2.3 counts the bytes after the size, 2.4 the whole extended header.
        stream.Skip(m_major == 3 ? BigEndian32(size) : std::max(Syncsafe32(size), 4U) - 4);
    }

    std::vector<Id3v2Frame> frames;
    while (frames.size() < kMaxFrames) {
        const std::string header = stream.Read(kFrameHeaderBytes);
        // Zero bytes where an id would be start the padding.
        if (header.size() < kFrameHeaderBytes || !IsFrameId(header.substr(0, 4)))
            break;
        const std::string_view sizeBytes = std::string_view(header).substr(4, 4);
        const std::uint32_t size =
            m_major == 3 ? BigEndian32(sizeBytes)
                         : Version4FrameSize(file, sizeBytes, stream.Position(), framesEnd);
        const FrameLayout layout =
            LayoutOf(m_major, m_flags, static_cast<unsigned char>(header[9]));
        Id3v2Frame frame{header.substr(0, 4), {}};
        if (!layout.readable || !wanted(frame.id)) {
            stream.Skip(size);
            continue;
        }
        std::string data =
            stream.Read(std::min<std::size_t>(size, layout.prefixBytes + maxDataBytes));
        stream.Skip(size - data.size());
        data.erase(0, std::min(layout.prefixBytes, data.size()));
        frame.data = layout.unsynchronised ? Resynchronise(data) : std::move(data);
        frames.push_back(std::move(frame));
    }
    return frames;
}

std::vector<Id3v2Frame>
Id3v2Tag::Version2Frames(TagByteStream& stream, const std::function<bool(std::string_view)>& wanted,
                         std::size_t maxDataBytes) {
    std::vector<Id3v2Frame> frames;
    while (frames.size() < kMaxFrames) {
        const std::string header = stream.Read(kVersion2FrameHeaderBytes);
        if (header.size() < kVersion2FrameHeaderBytes || !IsFrameId(header.substr(0, 3)))
            break;
        const std::uint32_t size = BigEndian24(std::string_view(header).substr(3, 3));
        Id3v2Frame frame{Version3Id(header.substr(0, 3)), {}};
        if (!wanted(frame.id)) {
            stream.Skip(size);
            continue;
        }
        frame.data = stream.Read(std::min<std::size_t>(size, maxDataBytes));
        stream.Skip(size - frame.data.size());
        frames.push_back(std::move(frame));
    }
    return frames;
}

} // namespace dirscribe
