// SPDX-License-Identifier: MIT
// The one byte-count formatter of the table, the printed summary and the text report.
#pragma once

#include <cstdint>
#include <string>

namespace dirscribe {

// Field budgets the callers pass.
inline constexpr std::int32_t kTableSizeWidth = 16;
inline constexpr std::int32_t kSummarySizeWidth = 26;

// The size text right-aligned in 17 characters (a longer text is returned whole).
// n is the number of thousands groups after the leading one. When width / (n + 1) is at
// least 5 and sizeInBytes is set, the grouped count ("1,234,567 b"); when it is smaller,
// 17 blanks. Without sizeInBytes: below 1024 the grouped count with two blanks ("999  b"),
// from 1024 on a one-decimal value in Kb, Mb, Gb, Tb or Pb by the powers of 1000 the value
// reaches, divided by the matching power of 1024 ("1.5 Kb", 2^64-1 is "16383.9 Pb").
std::string FormatSize(std::uint64_t value, std::int32_t width, bool sizeInBytes);

// base^exponent by repeated multiplication; 1 for exponent 0. A result beyond 64 bits
// wraps (unsigned arithmetic), so callers keep to powers that fit.
std::uint64_t IntPower(std::uint64_t base, unsigned exponent);

} // namespace dirscribe
