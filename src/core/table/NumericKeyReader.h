// SPDX-License-Identifier: MIT
// Turns the cell texts of a Size or Date column into numeric sort keys.
#pragma once

#include "core/table/NumericKey.h"
#include "core/table/TableColumn.h"

#include <cstdint>
#include <locale.h> // NOLINT(modernize-deprecated-headers): locale_t is POSIX, not <clocale>
#include <optional>
#include <string_view>

namespace dirscribe {

// One reader serves one sort: it holds what reading a column needs, in particular the
// LC_TIME locale that "Regional Setting" dates (`Date Format` 0) were written in.
class NumericKeyReader {
public:
    // kind is the sorted column's: a Size column reads every text as a size; any other
    // reads dates written in dateFormat, and texts that are no dates as sizes.
    NumericKeyReader(ColumnKind kind, std::int32_t dateFormat);
    ~NumericKeyReader();
    NumericKeyReader(const NumericKeyReader&) = delete;
    NumericKeyReader& operator=(const NumericKeyReader&) = delete;

    // The key of one cell text: a text that follows the date format is a date (DateKey);
    // otherwise a text holding date characters gets DateDigitsKey, and any other text
    // SizeKey. Never fails.
    [[nodiscard]] NumericKey Key(std::string_view text) const;

private:
    // "%x %X" read back in the LC_TIME locale, or nothing when the text is not such a date.
    [[nodiscard]] std::optional<NumericKey> RegionalDateKey(std::string_view text) const;

    bool m_readsDates;
    std::int32_t m_dateFormat;
    locale_t m_timeLocale = nullptr; // owned; only for `Date Format` 0
};

} // namespace dirscribe
