// SPDX-License-Identifier: MIT
// Numeric sort keys of one column.
#include "core/table/NumericKeyReader.h"

#include "core/table/SortKeys.h"
#include "core/table/TableColumn.h"

#include <string>
#include <time.h> // NOLINT(modernize-deprecated-headers): strptime_l is POSIX, not <ctime>

namespace dirscribe {

NumericKeyReader::NumericKeyReader(ColumnKind kind, std::int32_t dateFormat)
    : m_readsDates(kind != ColumnKind::Size), m_dateFormat(dateFormat) {
    if (m_readsDates && dateFormat == 0) {
        // The locale the dates were formatted in; C when the environment names none we have.
        m_timeLocale = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(nullptr));
        if (m_timeLocale == nullptr)
            m_timeLocale = newlocale(LC_TIME_MASK, "C", static_cast<locale_t>(nullptr));
    }
}

NumericKeyReader::~NumericKeyReader() {
    if (m_timeLocale != nullptr)
        freelocale(m_timeLocale);
}

NumericKey NumericKeyReader::Key(std::string_view text) const {
    if (m_readsDates) {
        const std::optional<NumericKey> date =
            m_dateFormat == 0 ? RegionalDateKey(text) : FixedFormatDateKey(text, m_dateFormat);
        if (date)
            return *date;
        if (HasDateCharacters(text))
            return DateDigitsKey(text, m_dateFormat);
    }
    return SizeKey(text);
}

std::optional<NumericKey> NumericKeyReader::RegionalDateKey(std::string_view text) const {
    if (m_timeLocale == nullptr || text.empty())
        return std::nullopt;
    const std::string terminated(text); // strptime needs the terminating zero
    tm fields{};
    const char* end = strptime_l(terminated.c_str(), "%x %X", &fields, m_timeLocale);
    if (end == nullptr)
        return std::nullopt;
    // Only blanks may follow; a zero byte inside the text does not end it.
    const char* const last = terminated.c_str() + terminated.size();
    while (end != last && *end == ' ')
        ++end;
    if (end != last)
        return std::nullopt;
    constexpr int kMaxYear = 999'999;
    const long long year = 1900LL + fields.tm_year;
    if (year < -kMaxYear || year > kMaxYear)
        return std::nullopt;
    return DateKey(static_cast<int>(year), fields.tm_mon + 1, fields.tm_mday, fields.tm_hour,
                   fields.tm_min, fields.tm_sec);
}

} // namespace dirscribe
