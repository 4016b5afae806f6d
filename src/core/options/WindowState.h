// SPDX-License-Identifier: MIT
// What the window remembers between runs: section "Window" of the profile.
#pragma once

#include "core/options/IniFile.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace dirscribe {

struct WindowGeometry {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    friend bool operator==(const WindowGeometry&, const WindowGeometry&) = default;
};

// The listing settings never read this section, and this never reads theirs.
struct WindowState {
    std::optional<WindowGeometry> geometry; // the normal (not maximized) place; none at first
    bool maximized = false;
    std::string lastFolder;   // the folder listed last, shown in the path box at start
    std::string openFolder;   // the folder of the file last opened with the Open dialog
    std::string saveFolder;   // the folder of the file last saved with the Save dialog
    std::string exportFolder; // the folder of the file last written with the Export dialog
    std::string searchFolder; // the folder of documents last searched
    std::map<std::string, int> columnWidths;  // widths the user set, by column title
    std::vector<std::string> recentDocuments; // opened or saved, the latest first
    bool treeBeside = false; // the folder tree beside the listing instead of in its place
    int treeWidth = 0;       // its width there; 0: not yet chosen

    friend bool operator==(const WindowState&, const WindowState&) = default;
};

// The most recent documents the window keeps.
inline constexpr std::size_t kRecentDocuments = 8;

// Reads section "Window". A geometry is taken only whole, with a size from 1 to 100000
// and a place within +-100000; a column or tree width only from 1 to 10000; recent documents
// up to kRecentDocuments, each once; others are left out.
WindowState LoadWindowState(const IniFile& profile);
// Writes section "Window", keeping the profile's other sections. A folder that cannot be
// written on one line, and a width of a column the table never has, are left out.
void SaveWindowState(const WindowState& state, IniFile& profile);

} // namespace dirscribe
