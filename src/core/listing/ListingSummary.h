// SPDX-License-Identifier: MIT
// The counters of the last single-folder read.
#pragma once

#include <cstdint>

namespace dirscribe {

// Everything below the folder that was read, whatever the mode and the depth;
// "." and ".." excluded.
struct ListingSummary {
    static constexpr std::uint64_t kMaxBytes = UINT64_MAX;

    std::uint64_t totalBytes = 0;
    std::int32_t fileCount = 0;
    std::int32_t folderCount = 0;

    void Add(const ListingSummary& other) {
        // Bytes saturate: four sparse files of 2^62 bytes must not total 0.
        totalBytes =
            other.totalBytes > kMaxBytes - totalBytes ? kMaxBytes : totalBytes + other.totalBytes;
        // Counts wrap as the stored 32-bit fields do instead of overflowing.
        fileCount = static_cast<std::int32_t>(static_cast<std::uint32_t>(fileCount) +
                                              static_cast<std::uint32_t>(other.fileCount));
        folderCount = static_cast<std::int32_t>(static_cast<std::uint32_t>(folderCount) +
                                                static_cast<std::uint32_t>(other.folderCount));
    }
    friend bool operator==(const ListingSummary&, const ListingSummary&) = default;
};

} // namespace dirscribe
