// SPDX-License-Identifier: MIT
// The user's language id from the locale names in the environment.
#include "core/platform/UserLanguage.h"

#include "support/ScopedEnvironment.h"

#include <gtest/gtest.h>

namespace dirscribe {
namespace {

TEST(UserLanguage, LocaleNamesMapToWindowsLanguageIds) {
    EXPECT_EQ(LanguageIdForLocale("en_US.UTF-8"), 0x0409);
    EXPECT_EQ(LanguageIdForLocale("de_DE.UTF-8"), 0x0407);
    EXPECT_EQ(LanguageIdForLocale("de_CH.utf8"), 0x0807);
    EXPECT_EQ(LanguageIdForLocale("fr_CA.UTF-8@x"), 0x0C0C);
    EXPECT_EQ(LanguageIdForLocale("de"), 0x0407) << "a language alone";
    EXPECT_EQ(LanguageIdForLocale("de_BE.UTF-8"), 0x0407) << "an unknown territory";
    for (const char* english : {"C", "C.UTF-8", "POSIX", "", "xx_YY", "_"})
        EXPECT_EQ(LanguageIdForLocale(english), 0x0409) << english;
}

TEST(UserLanguage, LcAllComesBeforeLang) {
    const test::ScopedEnvironment lang("LANG", "fr_FR.UTF-8");
    {
        const test::ScopedEnvironment all("LC_ALL", "de_DE.UTF-8");
        EXPECT_EQ(UserDefaultLanguageId(), 0x0407);
    }
    {
        const test::ScopedEnvironment all("LC_ALL", "");
        EXPECT_EQ(UserDefaultLanguageId(), 0x040C) << "an empty LC_ALL is not set";
    }
    const test::ScopedEnvironment all("LC_ALL", nullptr);
    EXPECT_EQ(UserDefaultLanguageId(), 0x040C);
    const test::ScopedEnvironment noLang("LANG", nullptr);
    EXPECT_EQ(UserDefaultLanguageId(), 0x0409);
}

} // namespace
} // namespace dirscribe
