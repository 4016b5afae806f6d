// SPDX-License-Identifier: MIT
// A fast 64-bit hash of bytes, for tables and for telling chunks apart, never for anything an
// attacker could steer into harm: whoever uses it checks equal hashes against the bytes.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

namespace dirscribe {

// Takes the bytes eight at a time. The index keeps values made with it (where its chunks
// end): it must not change.
inline std::uint64_t HashBytes(std::string_view bytes, std::uint64_t hash = 0x9E3779B97F4A7C15ULL) {
    constexpr std::uint64_t kMultiplier = 0xBF58476D1CE4E5B9ULL;
    std::size_t at = 0;
    for (; at + 8 <= bytes.size(); at += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes.data() + at, 8);
        hash = (hash ^ word) * kMultiplier;
        hash ^= hash >> 31;
    }
    std::uint64_t tail = bytes.size();
    for (; at < bytes.size(); ++at)
        tail = (tail << 8) | static_cast<unsigned char>(bytes[at]);
    hash = (hash ^ tail) * kMultiplier;
    return hash ^ (hash >> 29);
}

} // namespace dirscribe
