// SPDX-License-Identifier: MIT
// Dirscribe: lists a folder or a disk as a table, a printed listing or a text report.
#include "cli/CommandLine.h"

int main(int argc, char** argv) {
    return dirscribe::RunCommandLine(argc, argv);
}
