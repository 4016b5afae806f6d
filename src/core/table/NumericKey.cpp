// SPDX-License-Identifier: MIT
// Exact wide sort keys.
#include "core/table/NumericKey.h"

#include <limits>

namespace dirscribe {

namespace {
constexpr auto kBase = static_cast<std::int64_t>(NumericKey::kLowBase);
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
} // namespace

NumericKey NumericKey::FromInteger(std::int64_t value) {
    // Floor division keeps low non-negative for negative values.
    std::int64_t high = value / kBase;
    std::int64_t low = value % kBase;
    if (low < 0) {
        high -= 1;
        low += kBase;
    }
    return {high, static_cast<std::uint64_t>(low)};
}

NumericKey NumericKey::Negated() const {
    if (low == 0)
        return {-high, 0};
    return {-high - 1, kLowBase - low};
}

std::int64_t NumericKey::Clamped() const {
    if (high < 0)
        return -Negated().Clamped();
    // kMax is 9 * 10^18 + 223372036854775807.
    constexpr std::int64_t kMaxHigh = kMax / kBase;
    constexpr auto kMaxLow = static_cast<std::uint64_t>(kMax % kBase);
    if (high > kMaxHigh || (high == kMaxHigh && low > kMaxLow))
        return kMax;
    return high * kBase + static_cast<std::int64_t>(low);
}

} // namespace dirscribe
