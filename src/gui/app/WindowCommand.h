// SPDX-License-Identifier: MIT
// One command of the window as its menus, toolbar, keys and dispatch all read it.
#pragma once

namespace dirscribe {

class MainWindow;

// When a command may run; the window greys it out otherwise.
enum class CommandWhen {
    Idle,           // no folder is being read (most commands change the listing)
    Always,         // also while a folder is read
    Reading,        // only while a folder is read (Stop)
    Table,          // a listing is in the table on show
    Listing,        // a listing of a folder or a document is shown, whichever is in front
    ListingInTable, // such a listing, in the table on show
    Undoable,       // there is a change to undo
    Redoable,       // there is an undone change to redo
    Back,           // a folder was listed before the one on show
    Forward,        // a folder was listed after it, before going back
    Never,          // a command the program has never handled
};

struct WindowCommand {
    int id = 0;
    // The menu label with its mnemonic. A key the program has always written after a tab
    // ("Pre&view\tCtrl+V") stays here as it was; the menus show the text before the tab and
    // the command's keys, so the item's name is its label alone.
    const char* text = "";
    const char* prompt = ""; // the status bar's text while pointed at
    const char* tip = "";    // the tooltip of its toolbar button
    // Its keys in Qt's portable text, several separated by "; " ("Ctrl+F; F5").
    const char* keys = "";
    const char* themeIcon = nullptr;           // asked of the desktop's icon theme first
    const char* iconFile = nullptr;            // our own picture in the resources; null: no picture
    void (*run)(MainWindow& window) = nullptr; // null: the keys are taken and do nothing
    CommandWhen enabled = CommandWhen::Idle;
    // Whether the mark is on; null for a command without one.
    bool (*checked)(const MainWindow& window) = nullptr;
    // Commands of the same group other than 0 are one choice: the menu shows one radio mark.
    int group = 0;
};

} // namespace dirscribe
