// SPDX-License-Identifier: MIT
// Byte counts as grouped digits or as one-decimal Kb, Mb, Gb, Tb and Pb values.
#include "core/format/SizeFormat.h"

#include <array>
#include <charconv>
#include <cstddef>

namespace dirscribe {

namespace {

constexpr std::size_t kSizeFieldWidth = 17;

// Large enough for "18,446,744,073,709,551,615  b" and for any scaled text.
using Buffer = std::array<char, 48>;

// Appends the decimal digits of value at out; returns the new end.
char* AppendNumber(char* out, char* limit, std::uint64_t value) {
    return std::to_chars(out, limit, value).ptr;
}

// Appends value as exactly three digits, leading zeros kept.
char* AppendGroup(char* out, std::uint64_t value) {
    out[0] = static_cast<char>('0' + value / 100);
    out[1] = static_cast<char>('0' + value / 10 % 10);
    out[2] = static_cast<char>('0' + value % 10);
    return out + 3;
}

char* AppendText(char* out, const char* text) {
    while (*text != '\0')
        *out++ = *text++;
    return out;
}

// The grouped form "1,234,567" of a value with `groups` groups after the leading one.
char* AppendGrouped(char* out, char* limit, std::uint64_t value, unsigned groups) {
    const std::uint64_t leadDivisor = IntPower(1000, groups);
    out = AppendNumber(out, limit, value / leadDivisor);
    for (std::uint64_t divisor = leadDivisor / 1000; groups > 0; --groups, divisor /= 1000) {
        *out++ = ',';
        out = AppendGroup(out, value / divisor % 1000);
    }
    return out;
}

// "value / 1024^k" with one truncated decimal, written at out.
char* AppendScaled(char* out, char* limit, std::uint64_t value, unsigned k) {
    std::uint64_t whole = 0;
    std::uint64_t tenth = 0;
    if (k < 7) {
        // 1024^6 = 2^60, so remainder * 10 < 10 * 2^60 stays below 2^64.
        const std::uint64_t divisor = IntPower(1024, k);
        whole = value / divisor;
        tenth = value % divisor * 10 / divisor;
    }
    // From k = 7 the divisor exceeds every 64-bit value and even a tenth of it:
    // the text is "0.0".
    out = AppendNumber(out, limit, whole);
    *out++ = '.';
    *out++ = static_cast<char>('0' + tenth);
    return out;
}

// The scaled text with its unit, chosen by the value: the thresholds are powers of 1000,
// the divisors powers of 1024.
char* AppendScaledWithUnit(char* out, char* limit, std::uint64_t value) {
    struct Unit {
        std::uint64_t from;
        unsigned k;
        const char* suffix;
    };
    static constexpr std::array<Unit, 5> kUnits = {{
        {1'000'000'000'000'000, 5, " Pb"},
        {1'000'000'000'000, 4, " Tb"},
        {1'000'000'000, 3, " Gb"},
        {1'000'000, 2, " Mb"},
        {0, 1, " Kb"},
    }};
    for (const Unit& unit : kUnits) {
        if (value >= unit.from) {
            out = AppendScaled(out, limit, value, unit.k);
            return AppendText(out, unit.suffix);
        }
    }
    return out; // not reached: the last unit takes every value
}

std::string RightAligned(const char* text, std::size_t length) {
    std::string result;
    const std::size_t pad = length < kSizeFieldWidth ? kSizeFieldWidth - length : 0;
    result.reserve(pad + length);
    result.append(pad, ' ');
    result.append(text, length);
    return result;
}

} // namespace

std::string FormatSize(std::uint64_t value, std::int32_t width, bool sizeInBytes) {
    unsigned groups = 0;
    for (std::uint64_t rest = value; rest >= 1000; rest /= 1000)
        ++groups;

    Buffer buffer{};
    char* const begin = buffer.data();
    char* const limit = begin + buffer.size();
    char* end = begin;
    const bool fits = width / static_cast<std::int32_t>(groups + 1) >= 5;
    if (sizeInBytes) {
        if (fits)
            end = AppendText(AppendGrouped(begin, limit, value, groups), " b");
    } else if (value < 1024) {
        // Below one Kb there is no scaled form; the byte count is the only text.
        end = AppendText(AppendGrouped(begin, limit, value, groups), "  b");
    } else {
        end = AppendScaledWithUnit(begin, limit, value);
    }
    return RightAligned(begin, static_cast<std::size_t>(end - begin));
}

std::string FormatScaled(std::uint64_t value, unsigned k) {
    Buffer buffer{};
    char* const end = AppendScaled(buffer.data(), buffer.data() + buffer.size(), value, k);
    return std::string(buffer.data(), end);
}

std::uint64_t IntPower(std::uint64_t base, unsigned exponent) {
    std::uint64_t result = 1;
    for (unsigned i = 0; i < exponent; ++i)
        result *= base;
    return result;
}

} // namespace dirscribe
