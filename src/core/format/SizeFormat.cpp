// SPDX-License-Identifier: MIT
// Byte counts as grouped digits or as one-decimal Kb, Mb, Gb, Tb and Pb values.
#include "core/format/SizeFormat.h"

#include <array>
#include <charconv>
#include <cstddef>
#include <string_view>
#include <system_error>

namespace dirscribe {

namespace {

constexpr std::size_t kSizeFieldWidth = 17;

// A fixed buffer the size texts are built in, so formatting allocates only its result.
// 48 characters hold "18,446,744,073,709,551,615  b" and any scaled text; writes past
// the end are dropped rather than made.
class TextBuffer {
public:
    void Append(char c) {
        if (m_size < m_data.size())
            m_data[m_size++] = c;
    }
    void Append(std::string_view text) {
        for (const char c : text)
            Append(c);
    }
    void AppendNumber(std::uint64_t value) {
        const auto [end, error] = std::to_chars(m_data.data() + m_size, Limit(), value);
        if (error == std::errc())
            m_size = static_cast<std::size_t>(end - m_data.data());
    }
    // value as exactly three digits, leading zeros kept.
    void AppendGroup(std::uint64_t value) {
        Append(static_cast<char>('0' + value / 100));
        Append(static_cast<char>('0' + value / 10 % 10));
        Append(static_cast<char>('0' + value % 10));
    }
    [[nodiscard]] std::string_view View() const { return {m_data.data(), m_size}; }

private:
    char* Limit() { return m_data.data() + m_data.size(); }

    std::array<char, 48> m_data{};
    std::size_t m_size = 0;
};

// The grouped form "1,234,567" of a value with `groups` groups after the leading one.
void AppendGrouped(TextBuffer& out, std::uint64_t value, unsigned groups) {
    const std::uint64_t leadDivisor = IntPower(1000, groups);
    out.AppendNumber(value / leadDivisor);
    for (std::uint64_t divisor = leadDivisor / 1000; groups > 0; --groups, divisor /= 1000) {
        out.Append(',');
        out.AppendGroup(value / divisor % 1000);
    }
}

// value / 1024^k with one truncated decimal.
void AppendScaled(TextBuffer& out, std::uint64_t value, unsigned k) {
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
    out.AppendNumber(whole);
    out.Append('.');
    out.Append(static_cast<char>('0' + tenth));
}

// The scaled text with its unit, chosen by the value: the thresholds are powers of 1000,
// the divisors powers of 1024.
void AppendScaledWithUnit(TextBuffer& out, std::uint64_t value) {
    struct Unit {
        std::uint64_t from;
        unsigned k;
        std::string_view suffix;
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
            AppendScaled(out, value, unit.k);
            out.Append(unit.suffix);
            return;
        }
    }
}

std::string RightAligned(std::string_view text) {
    std::string result;
    const std::size_t pad = text.size() < kSizeFieldWidth ? kSizeFieldWidth - text.size() : 0;
    result.reserve(pad + text.size());
    result.append(pad, ' ');
    result.append(text);
    return result;
}

} // namespace

std::string FormatSize(std::uint64_t value, std::int32_t width, bool sizeInBytes) {
    unsigned groups = 0;
    for (std::uint64_t rest = value; rest >= 1000; rest /= 1000)
        ++groups;

    TextBuffer text;
    const bool fits = width / static_cast<std::int32_t>(groups + 1) >= 5;
    if (sizeInBytes) {
        if (fits) {
            AppendGrouped(text, value, groups);
            text.Append(" b");
        }
    } else if (value < 1024) {
        // Below one Kb there is no scaled form; the byte count is the only text.
        AppendGrouped(text, value, groups);
        text.Append("  b");
    } else {
        AppendScaledWithUnit(text, value);
    }
    return RightAligned(text.View());
}

std::uint64_t IntPower(std::uint64_t base, unsigned exponent) {
    std::uint64_t result = 1;
    for (unsigned i = 0; i < exponent; ++i)
        result *= base;
    return result;
}

} // namespace dirscribe
