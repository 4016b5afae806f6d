// SPDX-License-Identifier: MIT
// Dirscribe: lists a folder or a disk as a table, a printed listing or a text report.
#include "cli/Arguments.h"
#include "cli/CommandLine.h"
#include "gui/app/GuiMain.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

bool IsSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

bool HasDisplay() {
    return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY") || IsSet("QT_QPA_PLATFORM");
}

// The window takes no argument, one document, or a print switch; anything else is a
// headless command (or a usage error the command line explains).
bool WantsWindow(int argc, char** argv) {
    if (argc < 2)
        return true;
    const std::string_view first = argv[1];
    if (first == "--print" || first == "--print-to")
        return true;
    return argc == 2 && !first.starts_with('-') && !dirscribe::IsCommandName(first);
}

} // namespace

int main(int argc, char** argv) {
    if (!WantsWindow(argc, argv))
        return dirscribe::RunCommandLine(argc, argv);
    // Printing a document needs no screen.
    if (std::string_view(argv[1] ? argv[1] : "").starts_with("--print") && !HasDisplay())
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (HasDisplay())
        return dirscribe::RunGui(argc, argv);
    std::fputs("dirscribe: no display to show the window on (DISPLAY and WAYLAND_DISPLAY "
               "are not set); the commands below work without one.\n",
               stderr);
    return dirscribe::RunCommandLine(1, argv);
}
