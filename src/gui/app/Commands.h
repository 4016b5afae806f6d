// SPDX-License-Identifier: MIT
// The window's command ids and where its menus and toolbar show them.
#pragma once

#include "gui/table/RowCommands.h"

#include <span>

namespace dirscribe {

// Command ids, kept as the program has always numbered them.
namespace command {
inline constexpr int kOpen = 57601;
inline constexpr int kNew = 57600;
inline constexpr int kSave = 32792;
inline constexpr int kSaveDb = 32797;
inline constexpr int kSaveAs = 32793;
inline constexpr int kPrint = 57607;
inline constexpr int kPreview = 57609;
inline constexpr int kPrintSetup = 57606;
inline constexpr int kRefresh = 32795;
inline constexpr int kExit = 57665;
inline constexpr int kBrowse = 1006;
inline constexpr int kToolBar = 32847;
inline constexpr int kTypeInPath = 32849;
inline constexpr int kSettings = 1013;
inline constexpr int kDepth0 = 32850;
inline constexpr int kDepth1 = 32839;
inline constexpr int kDepth2 = 32840;
inline constexpr int kDepth3 = 32841;
inline constexpr int kDepth5 = 32842;
inline constexpr int kDepth10 = 32843;
inline constexpr int kDepthCustom = 32851;
inline constexpr int kDepthAll = 32844;
inline constexpr int kHelp = 57670;
inline constexpr int kAbout = 57664;
inline constexpr int kPageFormat = 32809;
inline constexpr int kFileData = 32853;
inline constexpr int kCdFormat = 32825;
inline constexpr int kZipFormat = 32818;
inline constexpr int kAddSize = 32836;
inline constexpr int kAddDate = 32835;
inline constexpr int kAddAttributes = 32834;
inline constexpr int kAddComments = 32832;
inline constexpr int kFontSize = 32803;
inline constexpr int kFoldersListing = 32854;
inline constexpr int kStop = 32852;
// The catalogue commands: hand a listing on, find in it and in saved ones, list it again.
inline constexpr int kExport = 32860;
inline constexpr int kFind = 32861;
inline constexpr int kFindNext = 32862;
inline constexpr int kFindInSaved = 32863;
inline constexpr int kUpdateListing = 32864;
// The copies across saved listings, and what a listing records of its volume.
inline constexpr int kDuplicatesInSaved = 32871;
inline constexpr int kListingProperties = 32872;
// The folder tree beside the listing, and the submenu of recent documents.
inline constexpr int kTreeBeside = 32865;
inline constexpr int kRecent = 32866;
// A file manager's ways: to the path box, back, forward and up through the folders listed.
inline constexpr int kGoToPath = 32867;
inline constexpr int kBack = 32868;
inline constexpr int kForward = 32869;
inline constexpr int kUp = 32870;
inline constexpr int kUndo = 57643;
inline constexpr int kRedo = 57644;
// Accelerators without a handler: they take their keys and do nothing.
inline constexpr int kCut = 57635;
inline constexpr int kCopy = 57634;
inline constexpr int kPaste = 57637;
inline constexpr int kNextPane = 57680;
inline constexpr int kPreviousPane = 57681;
} // namespace command

// The main menu, popup by popup; -1 is a separator, command::kRecent the submenu of recent
// documents.
struct MenuPopup {
    const char* title;
    std::span<const int> items;
};
std::span<const MenuPopup> MainMenu();

// The toolbar's twenty slots in order; -1 is a separator.
std::span<const int> ToolbarSlots();

} // namespace dirscribe
