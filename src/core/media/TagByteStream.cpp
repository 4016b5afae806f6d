// SPDX-License-Identifier: MIT
// The bytes of an ID3v2 tag read front to back, unsynchronisation undone where it applies.
#include "core/media/TagByteStream.h"

#include <algorithm>

namespace dirscribe {

namespace {

constexpr std::size_t kChunkBytes = std::size_t{64} * 1024;

} // namespace

TagByteStream::TagByteStream(const ByteSource& file, std::uint64_t begin, std::uint64_t end,
                             bool unsynchronised)
    : m_file(file), m_position(begin), m_end(std::min(end, file.Size())),
      m_unsynchronised(unsynchronised) {}

std::string TagByteStream::Read(std::size_t count) {
    std::string out;
    if (!m_unsynchronised) {
        if (m_position < m_end) {
            out.resize(
                static_cast<std::size_t>(std::min<std::uint64_t>(count, m_end - m_position)));
            out.resize(m_file.ReadAt(m_position, out.data(), out.size()));
            m_position += out.size();
        }
        return out;
    }
    unsigned char byte = 0;
    while (out.size() < count && Next(byte))
        out.push_back(static_cast<char>(byte));
    return out;
}

void TagByteStream::Skip(std::uint64_t count) {
    if (!m_unsynchronised) {
        m_position += std::min(count, m_end - std::min(m_end, m_position));
        return;
    }
    for (unsigned char byte = 0; count > 0 && Next(byte);)
        --count;
}

bool TagByteStream::NextStored(unsigned char& byte) {
    if (m_chunkAt == m_chunk.size()) {
        if (m_position >= m_end)
            return false;
        m_chunk.resize(
            static_cast<std::size_t>(std::min<std::uint64_t>(kChunkBytes, m_end - m_position)));
        m_chunk.resize(m_file.ReadAt(m_position, m_chunk.data(), m_chunk.size()));
        m_chunkAt = 0;
        if (m_chunk.empty())
            return false;
    }
    byte = m_chunk[m_chunkAt++];
    ++m_position;
    return true;
}

bool TagByteStream::Next(unsigned char& byte) {
    if (!NextStored(byte))
        return false;
    if (m_afterFF && byte == 0 && !NextStored(byte))
        return false;
    m_afterFF = byte == 0xFF;
    return true;
}

} // namespace dirscribe
