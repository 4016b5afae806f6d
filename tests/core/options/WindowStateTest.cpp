// SPDX-License-Identifier: MIT
// The window's section of the profile: written beside the settings, read back the same.
#include "core/options/WindowState.h"

#include "core/options/Profile.h"

#include <gtest/gtest.h>

namespace dirscribe {
namespace {

TEST(WindowState, RoundTripsBesideTheSettingsAndRefusesWhatCannotBeAPlace) {
    IniFile profile = IniFile::Parse("[Options]\nLastDepth=3\n");
    WindowState state;
    state.geometry = WindowGeometry{-20, 40, 800, 600};
    state.maximized = true;
    state.lastFolder = "/home/alex/Music";
    state.openFolder = "/home/alex/lists";
    state.columnWidths = {{"FileName", 310}, {"Last Modified", 90}};
    SaveWindowState(state, profile);
    const IniFile reread = IniFile::Parse(profile.Text());
    EXPECT_EQ(LoadWindowState(reread), state);
    EXPECT_EQ(LoadOptions(reread).lastDepth, 3);

    state.saveFolder = "/tmp/two\nlines";
    SaveWindowState(state, profile);
    EXPECT_EQ(LoadWindowState(profile).saveFolder, "");

    for (const char* text :
         {"Left=1\nTop=2\nWidth=0\nHeight=5", "Left=1\nTop=2\nWidth=9",
          "Left=x\nTop=2\nWidth=3\nHeight=5", "Left=1\nTop=2\nWidth=3\nHeight=1e9"})
        EXPECT_FALSE(LoadWindowState(IniFile::Parse(std::string("[Window]\n") + text)).geometry)
            << text;
    EXPECT_TRUE(LoadWindowState(IniFile::Parse("[window]\nColumn Size=0\n")).columnWidths.empty());
}

} // namespace
} // namespace dirscribe
