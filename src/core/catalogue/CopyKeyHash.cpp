// SPDX-License-Identifier: MIT
#include "core/catalogue/CopyKeyHash.h"

#include "core/catalogue/ByteHash.h"
#include "core/format/AsciiCase.h"
#include "core/format/Utf8.h"

#include <algorithm>

namespace dirscribe {

bool IsCopyable(const SearchGroup& group) {
    return group.entry && group.known && !group.folder && !group.gone && group.bytes > 0;
}

std::uint64_t CopyKeyHash::Whole(const SearchGroup& group) {
    m_bytes.assign(reinterpret_cast<const char*>(&group.bytes), sizeof group.bytes);
    if (m_key == CopyKey::NameSizeAndDate)
        m_bytes.append(reinterpret_cast<const char*>(&group.modified), sizeof group.modified);
    if (m_key == CopyKey::Size)
        return HashBytes(m_bytes);
    const std::string_view name = group.name;
    if (std::all_of(name.begin(), name.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        const std::size_t at = m_bytes.size();
        m_bytes.resize(at + name.size());
        std::transform(name.begin(), name.end(), m_bytes.begin() + static_cast<std::ptrdiff_t>(at),
                       AsciiLower<char>);
    } else {
        m_bytes += Utf8CaseFold(name);
    }
    return HashBytes(m_bytes);
}

} // namespace dirscribe
