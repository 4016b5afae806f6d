// SPDX-License-Identifier: MIT
// A whole number for ordering rows, wide enough for every size text the table can show.
#pragma once

#include <compare>
#include <cstdint>

namespace dirscribe {

// Size texts run up to 2^64-1 bytes ("18,446,744,073,709,551,615 b"), past any signed
// 64-bit integer, and a double cannot tell neighbouring large counts apart. So the key is
// held exactly as value = high * 10^18 + low with 0 <= low < 10^18; comparing the members
// in turn orders keys like the numbers themselves. The key readers keep magnitudes below
// 10^36, so negation is always exact.
struct NumericKey {
    static constexpr std::uint64_t kLowBase = 1'000'000'000'000'000'000ULL;

    std::int64_t high = 0;
    std::uint64_t low = 0;

    [[nodiscard]] static NumericKey FromInteger(std::int64_t value);
    // -value.
    [[nodiscard]] NumericKey Negated() const;
    // The value clamped to -(2^63-1) .. 2^63-1, the range a row's item data holds.
    [[nodiscard]] std::int64_t Clamped() const;

    // clang-tidy 14 takes the 0 in the comparison the compiler writes for a null pointer.
    // NOLINTNEXTLINE(modernize-use-nullptr)
    friend auto operator<=>(const NumericKey&, const NumericKey&) = default;
};

} // namespace dirscribe
