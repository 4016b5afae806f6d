// SPDX-License-Identifier: MIT
// Fuzz target: any bytes as a hand-edited profile.
#include "core/options/IniFile.h"
#include "core/options/Profile.h"
#include "core/options/WindowState.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace dirscribe;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    IniFile profile = IniFile::Parse(text);
    const ListingOptions options = LoadOptions(profile);
    // Whatever was read is saved and read back unchanged, with the rest of the file kept.
    SaveOptions(options, profile);
    const IniFile again = IniFile::Parse(profile.Text());
    if (!(LoadOptions(again) == options))
        std::abort();
    // The window's section likewise, beside the settings.
    const WindowState window = LoadWindowState(again);
    IniFile withWindow = again;
    SaveWindowState(window, withWindow);
    const IniFile third = IniFile::Parse(withWindow.Text());
    if (!(LoadWindowState(third) == window) || !(LoadOptions(third) == options))
        std::abort();
    return 0;
}
