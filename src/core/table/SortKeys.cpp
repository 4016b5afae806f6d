// SPDX-License-Identifier: MIT
// Reading sort keys back from the texts the table shows.
#include "core/table/SortKeys.h"

#include "core/format/AsciiCase.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <utility>

namespace dirscribe {

namespace {

constexpr std::array<std::string_view, 12> kMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr int kMaxKeyDigits = 36;
constexpr int kMaxYear = 999'999;

constexpr bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

constexpr bool IsWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// 1..12 for the month name at the start of text, 0 when there is none.
int MonthAt(std::string_view text) {
    for (std::size_t m = 0; m < kMonthNames.size(); ++m)
        if (text.substr(0, 3) == kMonthNames[m])
            return static_cast<int>(m) + 1;
    return 0;
}

// A non-negative whole number built digit by digit, saturating past kMaxKeyDigits.
class Magnitude {
public:
    void Push(unsigned digit) {
        if (m_digits == 0 && digit == 0)
            return; // leading zeros do not count toward the limit
        if (++m_digits > kMaxKeyDigits) {
            m_high = m_low = NumericKey::kLowBase - 1;
            return;
        }
        if (m_digits < 19) { // still below 10^18: no carry into high
            m_low = m_low * 10 + digit;
            return;
        }
        const std::uint64_t shifted = m_low * 10 + digit; // below 10^19 + 10, fits
        m_high = m_high * 10 + shifted / NumericKey::kLowBase;
        m_low = shifted % NumericKey::kLowBase;
    }

    [[nodiscard]] NumericKey Key(bool negative) const {
        const NumericKey key{static_cast<std::int64_t>(m_high), m_low};
        return negative ? key.Negated() : key;
    }

private:
    std::uint64_t m_high = 0;
    std::uint64_t m_low = 0;
    int m_digits = 0;
};

// trunc(x * 10^exponent) for the decimal number x at the start of text. Commas are not
// there for the reader: they are skipped wherever they stand.
NumericKey LeadingNumberKey(std::string_view text, int exponent) {
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n && (text[i] == ',' || IsWhiteSpace(text[i])))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t numberStart = i;
    long long wholeDigits = 0;
    long long fractionDigits = 0;
    bool point = false;
    for (; i < n; ++i) {
        const char c = text[i];
        if (c == ',')
            continue;
        if (IsDigit(c))
            ++(point ? fractionDigits : wholeDigits);
        else if (c == '.' && !point)
            point = true;
        else
            break;
    }
    if (wholeDigits + fractionDigits == 0)
        return {};

    // The whole part of x * 10^exponent is the first wholeDigits + exponent digits of the
    // number's digit sequence, with zeros after its end.
    const long long keep = wholeDigits + exponent;
    Magnitude magnitude;
    long long taken = 0;
    for (std::size_t j = numberStart; j < i && taken < keep; ++j) {
        if (IsDigit(text[j])) {
            magnitude.Push(static_cast<unsigned>(text[j] - '0'));
            ++taken;
        }
    }
    for (; taken < keep; ++taken)
        magnitude.Push(0);
    return magnitude.Key(negative);
}

// The power of ten of the unit named by the last two characters (commas aside).
int UnitExponent(std::string_view text) {
    std::array<char, 2> last{};
    int found = 0;
    for (std::size_t i = text.size(); i > 0 && found < 2; --i) {
        if (text[i - 1] != ',')
            last[static_cast<std::size_t>(1 - found++)] = text[i - 1];
    }
    if (found < 2 || last[1] != 'b')
        return 0;
    switch (last[0]) {
    case 'K':
        return 3;
    case 'M':
        return 6;
    case 'G':
        return 9;
    case 'T':
        return 12;
    case 'P':
        return 15;
    default:
        return 0;
    }
}

// Reads exactly two digits at text[pos].
bool ReadPair(std::string_view text, std::size_t& pos, int& value) {
    if (pos + 2 > text.size() || !IsDigit(text[pos]) || !IsDigit(text[pos + 1]))
        return false;
    value = (text[pos] - '0') * 10 + (text[pos + 1] - '0');
    pos += 2;
    return true;
}

const char* FixedLayout(std::int32_t dateFormat) {
    switch (dateFormat) {
    case 1:
        return "%m/%d/%Y %H:%M:%S";
    case 2:
        return "%d %b %Y %H:%M:%S";
    case 3:
        return "%d/%m/%Y %H:%M:%S";
    case 4:
        return "%b %d %Y %H:%M:%S";
    case 5:
        return "%d %b, %Y %H:%M:%S";
    case 6:
        return "%b %d, %Y %H:%M:%S";
    case 7:
        return "%m/%d, %Y %H:%M:%S";
    default:
        return "%d/%m, %Y %H:%M:%S";
    }
}

} // namespace

int CompareTextKeys(std::string_view a, std::string_view b) {
    const std::size_t common = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < common; ++i) {
        const unsigned char x = AsciiLower(static_cast<unsigned char>(a[i]));
        const unsigned char y = AsciiLower(static_cast<unsigned char>(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool HasDateCharacters(std::string_view text) {
    return text.find_first_of("ADFJMNOS/") != std::string_view::npos;
}

NumericKey SizeKey(std::string_view text) {
    return LeadingNumberKey(text, UnitExponent(text));
}

bool IsDayFirstFormat(std::int32_t dateFormat) {
    return dateFormat == 2 || dateFormat == 3 || dateFormat == 5 || dateFormat < 0 ||
           dateFormat > 7;
}

NumericKey DateKey(int year, int month, int day, int hour, int minute, int second) {
    std::int64_t value = static_cast<std::int64_t>(year) - 1970;
    for (const int field : {month, day, hour, minute})
        value = value * 100 + field;
    return NumericKey::FromInteger(value * 10 + second / 10);
}

std::optional<NumericKey> FixedFormatDateKey(std::string_view text, std::int32_t dateFormat) {
    std::size_t pos = text.find_first_not_of(' ');
    if (pos == std::string_view::npos)
        return std::nullopt;
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    for (const char* p = FixedLayout(dateFormat); *p != '\0'; ++p) {
        if (*p != '%') {
            if (pos >= text.size() || text[pos] != *p)
                return std::nullopt;
            ++pos;
            continue;
        }
        bool ok = true;
        switch (*++p) {
        case 'm':
            ok = ReadPair(text, pos, month);
            break;
        case 'd':
            ok = ReadPair(text, pos, day);
            break;
        case 'H':
            ok = ReadPair(text, pos, hour);
            break;
        case 'M':
            ok = ReadPair(text, pos, minute);
            break;
        case 'S':
            ok = ReadPair(text, pos, second);
            break;
        case 'b':
            month = MonthAt(text.substr(pos));
            ok = month != 0;
            pos += 3;
            break;
        default: { // 'Y'
            const std::size_t start = pos;
            while (pos < text.size() && pos - start < 6 && IsDigit(text[pos]))
                year = year * 10 + (text[pos++] - '0');
            ok = pos > start && year <= kMaxYear;
            break;
        }
        }
        if (!ok)
            return std::nullopt;
    }
    if (text.find_first_not_of(' ', pos) != std::string_view::npos)
        return std::nullopt;
    // Fields out of their calendar range mean the text was written in another layout.
    if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 60)
        return std::nullopt;
    return DateKey(year, month, day, hour, minute, second);
}

NumericKey DateDigitsKey(std::string_view text, std::int32_t dateFormat) {
    std::string digits;
    digits.reserve(text.size());
    for (const char c : text)
        if (c != ',' && c != '/' && c != ':' && c != ' ')
            digits += c;

    const std::size_t monthAt = digits.find_first_of("ADFJMNOS");
    if (monthAt != std::string::npos) {
        if (const int month = MonthAt(std::string_view(digits).substr(monthAt)); month != 0) {
            const std::array<char, 2> number{static_cast<char>('0' + month / 10),
                                             static_cast<char>('0' + month % 10)};
            digits.replace(monthAt, 3, number.data(), number.size());
        }
    }
    if (IsDayFirstFormat(dateFormat) && digits.size() >= 4) {
        std::swap(digits[0], digits[2]);
        std::swap(digits[1], digits[3]);
    }

    // The year is read like atoi from the (up to) four characters after the two pairs.
    const std::string_view yearText =
        std::string_view(digits).substr(std::min<std::size_t>(4, digits.size()), 4);
    std::size_t y = 0;
    const bool negativeYear = !yearText.empty() && yearText[0] == '-';
    if (!yearText.empty() && (yearText[0] == '-' || yearText[0] == '+'))
        ++y;
    int year = 0;
    for (; y < yearText.size() && IsDigit(yearText[y]); ++y)
        year = year * 10 + (yearText[y] - '0');
    if (negativeYear)
        year = -year;

    std::array<char, 16> offset{};
    std::snprintf(offset.data(), offset.size(), "%02d", year - 1970);
    if (digits.size() > 4)
        digits.erase(4, 4);
    digits.insert(0, offset.data());
    return LeadingNumberKey(digits, -1);
}

} // namespace dirscribe
