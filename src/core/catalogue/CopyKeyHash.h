// SPDX-License-Identifier: MIT
// What copies of one file share, hashed: duplicates compares it, and the index keeps it for
// every file so that duplicates need not read the chunks twice.
#pragma once

#include "core/search/SearchGroup.h"

#include <cstdint>
#include <string>

namespace dirscribe {

// What copies of one file share.
enum class CopyKey : std::uint8_t {
    NameAndSize,     // the name (Unicode case folded) and the exact size
    NameSizeAndDate, // and the modification time
    Size,            // the exact size alone
};

// Whether a group is a file a copy can be of: an entry with its facts, not a folder, not
// gone, not empty.
bool IsCopyable(const SearchGroup& group);

// A key as a 64-bit hash: the size, the time when asked for, the name (case-folded) unless
// the size alone is. Two keys that differ hash alike with a chance of one in 2^64. The
// index keeps the short hashes of NameAndSize keys: a change here changes its version.
class CopyKeyHash {
public:
    explicit CopyKeyHash(CopyKey key) : m_key(key) {}

    [[nodiscard]] std::uint64_t Whole(const SearchGroup& group);
    // 32 bits of it, which a first sorting takes.
    [[nodiscard]] static std::uint32_t Short(std::uint64_t whole) {
        return static_cast<std::uint32_t>(whole ^ (whole >> 32));
    }

private:
    CopyKey m_key;
    std::string m_bytes; // kept between groups: no allocation a file
};

} // namespace dirscribe
