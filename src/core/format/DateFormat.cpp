// SPDX-License-Identifier: MIT
// Dates in local time through strftime_l, so the process locale never leaks into the
// fixed formats that sorting parses back.
#include "core/format/DateFormat.h"

#include "core/platform/FileTime.h"

#include <array>
#include <locale.h> // NOLINT(modernize-deprecated-headers): locale_t is POSIX, not <clocale>
#include <time.h>   // NOLINT(modernize-deprecated-headers): strftime_l is POSIX, not <ctime>

namespace dirscribe {

namespace {

struct DateFormatEntry {
    const char* sample;  // the text the options list shows
    const char* pattern; // strftime pattern
};

constexpr std::array<DateFormatEntry, kDateFormatCount> kDateFormats = {{
    {"Regional Setting", "%x %X"},
    {"12/18/2002", " %m/%d/%Y %H:%M:%S"},
    {"18 Dec 2002", " %d %b %Y %H:%M:%S"},
    {"18/12/2002", " %d/%m/%Y %H:%M:%S"},
    {"Dec 18 2002", " %b %d %Y %H:%M:%S"},
    {"18 Dec, 2002", " %d %b, %Y %H:%M:%S"},
    {"Dec 18, 2002", " %b %d, %Y %H:%M:%S"},
    {"10/18, 2002", " %m/%d, %Y %H:%M:%S"},
    {"18/12, 2002", " %d/%m, %Y %H:%M:%S"},
}};

const DateFormatEntry& EntryFor(std::int32_t dateFormat) {
    const bool known = dateFormat >= 0 && dateFormat < kDateFormatCount;
    return kDateFormats[static_cast<std::size_t>(known ? dateFormat : kDateFormatCount - 1)];
}

// Owns a locale object for the life of the process.
class LocaleHandle {
public:
    explicit LocaleHandle(locale_t locale) : m_locale(locale) {}
    ~LocaleHandle() {
        if (m_locale != locale_t{})
            freelocale(m_locale);
    }
    LocaleHandle(const LocaleHandle&) = delete;
    LocaleHandle& operator=(const LocaleHandle&) = delete;

    [[nodiscard]] locale_t Get() const { return m_locale; }

private:
    locale_t m_locale;
};

// The C locale, made once. Should even that fail, the process locale is the only one left.
locale_t CLocale() {
    static const LocaleHandle handle(newlocale(LC_ALL_MASK, "C", locale_t{}));
    return handle.Get() != locale_t{} ? handle.Get() : LC_GLOBAL_LOCALE;
}

// The LC_TIME locale the environment names (LC_ALL, LC_TIME, LANG), made once; the C
// locale when it is not installed.
locale_t RegionalLocale() {
    static const LocaleHandle handle(newlocale(LC_TIME_MASK, "", locale_t{}));
    return handle.Get() != locale_t{} ? handle.Get() : CLocale();
}

std::string FormatLocal(std::time_t moment, const char* pattern, locale_t locale) {
    struct tm local {};
    if (localtime_r(&moment, &local) == nullptr)
        return {};
    std::array<char, 256> buffer{};
    const std::size_t length = strftime_l(buffer.data(), buffer.size(), pattern, &local, locale);
    return std::string(buffer.data(), length);
}

} // namespace

const char* DateFormatSample(std::int32_t dateFormat) {
    return EntryFor(dateFormat).sample;
}

std::string FormatDate(std::uint64_t fileTime, std::int32_t dateFormat) {
    const auto moment = static_cast<std::time_t>(UnixFromFileTime(fileTime));
    const locale_t locale = dateFormat == 0 ? RegionalLocale() : CLocale();
    return FormatLocal(moment, EntryFor(dateFormat).pattern, locale);
}

std::string FormatIsoLocal(std::uint64_t fileTime) {
    return FormatLocal(UnixFromFileTime(fileTime), "%Y-%m-%d %H:%M:%S", CLocale());
}

std::string FormatCreatedOn(std::time_t moment) {
    return FormatLocal(moment, "%c", CLocale());
}

} // namespace dirscribe
