// SPDX-License-Identifier: MIT
#include "core/platform/Clock.h"

#include <charconv>
#include <cstdlib>
#include <cstring>

namespace dirscribe {

std::time_t Now() {
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH"); epoch && *epoch) {
        long long seconds = 0;
        const char* end = epoch + std::strlen(epoch);
        const auto [ptr, ec] = std::from_chars(epoch, end, seconds);
        if (ec == std::errc() && ptr == end)
            return static_cast<std::time_t>(seconds);
    }
    return std::time(nullptr);
}

} // namespace dirscribe
