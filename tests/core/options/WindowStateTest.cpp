// SPDX-License-Identifier: MIT
// The window's section of the profile: written beside the settings, read back the same.
#include "core/options/WindowState.h"

#include "core/options/Profile.h"

#include <gtest/gtest.h>

namespace dirscribe {
namespace {

TEST(WindowState, RoundTripsBesideTheSettingsAndRefusesWhatCannotBeAPlace) {
    IniFile profile = IniFile::Parse("[Options]\nLastDepth=3\n");
    const WindowState state{
        WindowGeometry{-20, 40, 800, 600},         true, "/home/a/Music", "/home/a/lists", "",
        {{"FileName", 310}, {"Last Modified", 90}}};
    SaveWindowState(state, profile);
    const IniFile reread = IniFile::Parse(profile.Text());
    EXPECT_EQ(LoadWindowState(reread), state);
    EXPECT_EQ(LoadOptions(reread).lastDepth, 3);
    for (const char* text : {"Width=0\nHeight=5", "Width=9", "Width=3\nHeight=1e9"})
        EXPECT_FALSE(
            LoadWindowState(IniFile::Parse(std::string("[Window]\nLeft=1\nTop=2\n") + text))
                .geometry)
            << text;
}

} // namespace
} // namespace dirscribe
