// SPDX-License-Identifier: MIT
#include "gui/app/Commands.h"

#include <array>

namespace dirscribe {

using namespace command;

namespace {

constexpr std::array kFileItems{
    kNew, kOpen,  kRecent,  kSave,       kSaveDb,  kSaveAs, kExport, kListingProperties,
    -1,   kPrint, kPreview, kPrintSetup, kRefresh, -1,      kExit};
constexpr std::array kEditItems{kUndo, kRedo, -1, kInsertRow, kDeleteRow};
constexpr std::array kViewItems{kPageFormat, kFileData, kCdFormat,      kZipFormat,   -1,
                                kAddSize,    kAddDate,  kAddAttributes, kAddComments, -1,
                                kFontSize,   -1,        kTreeBeside};
constexpr std::array kCommandItems{kBrowse,   kFoldersListing, kStop,        -1,
                                   kGoToPath, kBack,           kForward,     kUp,
                                   -1,        kToolBar,        kTypeInPath,  -1,
                                   kFind,     kFindNext,       kFindInSaved, kDuplicatesInSaved,
                                   -1,        kUpdateListing,  -1,           kSettings};
constexpr std::array kDepthItems{kDepth0, kDepth1,  kDepth2,      kDepth3,
                                 kDepth5, kDepth10, kDepthCustom, kDepthAll};
constexpr std::array kHelpItems{kHelp, kAbout};

constexpr std::array kMenu{
    MenuPopup{"&File", kFileItems},       MenuPopup{"&Edit", kEditItems},
    MenuPopup{"&View", kViewItems},       MenuPopup{"&Command", kCommandItems},
    MenuPopup{"&TreeDepth", kDepthItems}, MenuPopup{"&Help", kHelpItems},
};

constexpr std::array kToolbar{kPageFormat, kFileData, kCdFormat,      kZipFormat,      -1,
                              kAddSize,    kAddDate,  kAddAttributes, kAddComments,    -1,
                              kFontSize,   kOpen,     kSaveAs,        kPrint,          -1,
                              kRefresh,    -1,        kBrowse,        kFoldersListing, kStop};

} // namespace

std::span<const MenuPopup> MainMenu() {
    return kMenu;
}

std::span<const int> ToolbarSlots() {
    return kToolbar;
}

} // namespace dirscribe
