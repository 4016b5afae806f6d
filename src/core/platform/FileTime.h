// SPDX-License-Identifier: MIT
// File times as the listing stores them: 100 ns ticks since 1601-01-01 UTC.
#pragma once

#include <cstdint>

namespace dirscribe {

inline constexpr std::int64_t kFileTimeTicksPerSecond = 10'000'000;
// Seconds from 1601-01-01 to 1970-01-01.
inline constexpr std::int64_t kFileTimeUnixOffset = 11'644'473'600;

// A Unix time to a file time; times before 1601 become 0.
constexpr std::uint64_t FileTimeFromUnix(std::int64_t seconds, std::int64_t nanoseconds = 0) {
    const std::int64_t since1601 = seconds + kFileTimeUnixOffset;
    if (since1601 < 0)
        return 0;
    return static_cast<std::uint64_t>(since1601) * kFileTimeTicksPerSecond +
           static_cast<std::uint64_t>(nanoseconds / 100);
}

// A file time to whole Unix seconds; the part below one second is dropped.
constexpr std::int64_t UnixFromFileTime(std::uint64_t fileTime) {
    return static_cast<std::int64_t>(fileTime / kFileTimeTicksPerSecond) - kFileTimeUnixOffset;
}

} // namespace dirscribe
