// SPDX-License-Identifier: MIT
#include "core/format/Utf8.h"

#include <gtest/gtest.h>

namespace dirscribe {
namespace {

TEST(Utf8, WidthsCountCharactersAndBrokenBytesCountOnce) {
    EXPECT_EQ(Utf8Length("abc"), 3u);
    EXPECT_EQ(Utf8Length("\xC3\xA9t\xC3\xA9"), 3u); // été
    EXPECT_EQ(Utf8Length("\xF0\x9F\x98\x80"), 1u);  // one emoji
    EXPECT_EQ(Utf8Length("a\xFF\xC3"), 3u);         // stray and truncated bytes
    EXPECT_EQ(RightAlign("\xC3\xA9", 4), "   \xC3\xA9");
    EXPECT_EQ(RightAlign("toolong", 3), "toolong");
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80")) << "an encoded surrogate";
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF")) << "an overlong slash";
    EXPECT_TRUE(IsValidUtf8("plain \xE2\x82\xAC"));
}

TEST(Utf8, Windows1252BytesBecomeTheirCharacters) {
    EXPECT_EQ(Windows1252ToUtf8("caf\xE9 \x80 \x81"), "caf\xC3\xA9 \xE2\x82\xAC \xC2\x81");
    EXPECT_EQ(Windows1252ToUtf8("\xC3\xA9"), "\xC3\x83\xC2\xA9") << "every byte converts";
    EXPECT_EQ(LenientUtf8("\xC3\xA9 \xE9"), "\xC3\xA9 \xC3\xA9") << "valid runs pass through";
    EXPECT_EQ(LenientUtf8("\xFF\xFE"
                          "A"),
              "\xC3\xBF\xC3\xBE"
              "A");
}

// Letters of every width change by the one-to-one mapping; nothing else changes.
TEST(Utf8, UpperCaseMapsEveryLetterOneForOne) {
    EXPECT_EQ(Utf8Upper("résumé straße ÿ ǆ σς да 𐐨 µ"), "RÉSUMÉ STRAßE Ÿ Ǆ ΣΣ ДА 𐐀 Μ");
    EXPECT_EQ(Utf8Upper("a\xFF\xC3.txt 42 [x]"), "A\xFF\xC3.TXT 42 [X]") << "broken bytes stay";
}

} // namespace
} // namespace dirscribe
