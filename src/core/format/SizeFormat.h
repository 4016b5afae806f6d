// SPDX-License-Identifier: MIT
// The one byte-count formatter of the table, the printed summary and the text report.
#pragma once

#include <cstdint>
#include <string>

namespace dirscribe {

// Field budgets the callers pass.
inline constexpr std::int32_t kTableSizeWidth = 16;
inline constexpr std::int32_t kSummarySizeWidth = 26;

// The size text right-aligned in 17 characters (a longer text is returned whole): the
// grouped byte count ("1,234,567 b") when sizeInBytes is set and it fits the budget,
// otherwise a scaled value ("1.5 Kb"), or 17 blanks when bytes are asked for and the
// count does not fit.
std::string FormatSize(std::uint64_t value, std::int32_t width, bool sizeInBytes);

// value / 1024^k with one truncated decimal: "976.5".
std::string FormatScaled(std::uint64_t value, unsigned k);

// base^exponent by repeated multiplication; 1 for exponent 0.
std::uint64_t IntPower(std::uint64_t base, unsigned exponent);

} // namespace dirscribe
