// SPDX-License-Identifier: MIT
// The window's section of the profile (the window tests write and read it whole).
#include "core/options/WindowState.h"

#include <gtest/gtest.h>

namespace dirscribe {
namespace {

TEST(WindowState, APlaceIsTakenOnlyWholeAndInRange) {
    for (const char* text : {"Width=0\nHeight=5", "Width=9", "Width=3\nHeight=1e9"})
        EXPECT_FALSE(
            LoadWindowState(IniFile::Parse(std::string("[Window]\nLeft=1\nTop=2\n") + text))
                .geometry)
            << text;
}

TEST(WindowState, RecentDocumentsAreKeptOnceAndEightAtMost) {
    std::string text = "[Window]\n";
    for (int number = 1; number <= 9; ++number)
        text += "Recent Document " + std::to_string(number) + "=/d/" + std::to_string(number % 3) +
                ".dsc\n";
    const WindowState state = LoadWindowState(IniFile::Parse(text));
    EXPECT_EQ(state.recentDocuments,
              (std::vector<std::string>{"/d/1.dsc", "/d/2.dsc", "/d/0.dsc"}));
}

} // namespace
} // namespace dirscribe
