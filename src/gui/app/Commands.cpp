// SPDX-License-Identifier: MIT
#include "gui/app/Commands.h"

#include <algorithm>
#include <array>

namespace dirscribe {

using namespace command;

namespace {

constexpr std::array kTexts{
    CommandText{kOpen, "&Open...", "Open an existing document", "Open"},
    CommandText{kSave, "Save...", "", ""},
    CommandText{kSaveDb, "Save DB...", "Save as Delimited File ( Database Import Ready)", ""},
    CommandText{kSaveAs, "Save as...", "Save As", "Save As"},
    CommandText{kPrint, "&Print\tCtrl+P", "Print listing", "Print"},
    CommandText{kPreview, "Pre&view\tCtrl+V", "Display full pages", "Print Preview"},
    CommandText{kPrintSetup, "P&rint Setup...", "Change the printer and printing options", ""},
    CommandText{kRefresh, "Refre&sh\tCntl+F", "Refresh Options", "Refresh"},
    CommandText{kExit, "E&xit", "", ""},
    CommandText{kBrowse, "B&rowse for F&older", "Browse for Folder", "Browse for Folder"},
    CommandText{kToolBar, "Tool&Bar  ", "", ""},
    CommandText{kTypeInPath, "Type In Path", "Show Path  Box (manual Path entry)", ""},
    CommandText{kSettings, "&Settings", "Sorting order, print line numbers, etc.", "Setting"},
    CommandText{kDepth0, "Depth = 0", "", ""},
    CommandText{kDepth1, "Depth = 1", "", ""},
    CommandText{kDepth2, "Depth = 2", "", ""},
    CommandText{kDepth3, "Depth = 3", "", ""},
    CommandText{kDepth5, "Depth = 5", "", ""},
    CommandText{kDepth10, "Depth = 10", "", ""},
    CommandText{kDepthCustom, "Depth = Custom", "", ""},
    CommandText{kDepthAll, "Depth = All", "", ""},
    CommandText{kHelp, "Help", "", ""},
    CommandText{kAbout, "&About Dirscribe...", "", ""},
    CommandText{kPageFormat, "", "Page format", "Page"},
    CommandText{kFileData, "", "", ""},
    CommandText{kCdFormat, "", "CD format", "CD"},
    CommandText{kZipFormat, "", "ZIP / LS 120 format", "ZIP"},
    CommandText{kAddSize, "", "Add Size", "Add Size"},
    CommandText{kAddDate, "", "Add Date", "Add Date"},
    CommandText{kAddAttributes, "", "Add Attributes", "Add Attributes"},
    CommandText{kAddComments, "", "Add Comments", "Add Comments"},
    CommandText{kFontSize, "", "Font Size", "Font Size"},
    CommandText{kFoldersListing, "", "Folder's Listing", "Folder's Listing"},
    CommandText{kStop, "", "Stop Reading Media", "Stop"},
    CommandText{kExport, "&Export...", "Export the listing as CSV, JSON or a web page", "Export"},
    CommandText{kFind, "&Find...\tCtrl+Shift+F", "Find a name or a comment in the listing", "Find"},
    CommandText{kFindNext, "Find &Next\tF3", "Find the next row that matches", "Find Next"},
    CommandText{kFindInSaved, "Find in Saved &Listings...", "Find which saved listing holds a file",
                "Find in Saved Listings"},
    CommandText{kUpdateListing, "&Update Listing (keep comments)",
                "List the folder again, keeping every comment", "Update Listing"},
};

constexpr std::array kFileItems{kOpen,  kSave,    kSaveDb,     kSaveAs,  kExport, -1,
                                kPrint, kPreview, kPrintSetup, kRefresh, -1,      kExit};
constexpr std::array kCommandItems{kBrowse,      kToolBar, kTypeInPath,    -1, kFind,    kFindNext,
                                   kFindInSaved, -1,       kUpdateListing, -1, kSettings};
constexpr std::array kDepthItems{kDepth0, kDepth1,  kDepth2,      kDepth3,
                                 kDepth5, kDepth10, kDepthCustom, kDepthAll};
constexpr std::array kHelpItems{kHelp, kAbout};

constexpr std::array kMenu{
    MenuPopup{"&File", kFileItems},
    MenuPopup{"&Command", kCommandItems},
    MenuPopup{"&TreeDepth", kDepthItems},
    MenuPopup{"&Help", kHelpItems},
};

constexpr std::array kToolbar{kPageFormat, kFileData, kCdFormat,      kZipFormat,      -1,
                              kAddSize,    kAddDate,  kAddAttributes, kAddComments,    -1,
                              kFontSize,   kOpen,     kSaveAs,        kPrint,          -1,
                              kRefresh,    -1,        kBrowse,        kFoldersListing, kStop};

constexpr std::array kDepths{
    DepthCommand{kDepth0, 0},    DepthCommand{kDepth1, 1}, DepthCommand{kDepth2, 2},
    DepthCommand{kDepth3, 3},    DepthCommand{kDepth5, 5}, DepthCommand{kDepth10, 10},
    DepthCommand{kDepthAll, -1},
};

} // namespace

std::span<const CommandText> CommandTexts() {
    return kTexts;
}

const CommandText& TextsOf(int id) {
    static constexpr CommandText kNone{0, "", "", ""};
    const auto* found = std::find_if(kTexts.begin(), kTexts.end(),
                                     [id](const CommandText& texts) { return texts.id == id; });
    return found == kTexts.end() ? kNone : *found;
}

std::span<const MenuPopup> MainMenu() {
    return kMenu;
}

std::span<const int> ToolbarSlots() {
    return kToolbar;
}

std::span<const DepthCommand> DepthCommands() {
    return kDepths;
}

} // namespace dirscribe
