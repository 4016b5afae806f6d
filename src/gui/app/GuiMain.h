// SPDX-License-Identifier: MIT
// The window program's entry point.
#pragma once

namespace dirscribe {

// Starts the window (opening a document named by the arguments) and runs until it closes;
// returns the exit status.
int RunGui(int argc, char** argv);

} // namespace dirscribe
