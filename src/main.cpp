// SPDX-License-Identifier: MIT
// Dirscribe: lists a folder or a disk as a table, a printed listing or a text report.
#include "cli/CommandLine.h"
#include "gui/app/GuiMain.h"

#include <string_view>

namespace {

// The headless commands name themselves first; anything else starts the window.
bool IsCommandLine(int argc, char** argv) {
    if (argc < 2)
        return false;
    const std::string_view first = argv[1];
    return first == "list" || first == "convert" || first == "details" || first == "--help" ||
           first == "-h";
}

} // namespace

int main(int argc, char** argv) {
    return IsCommandLine(argc, argv) ? dirscribe::RunCommandLine(argc, argv)
                                     : dirscribe::RunGui(argc, argv);
}
