// SPDX-License-Identifier: MIT
// The headless commands of the program.
#pragma once

namespace dirscribe {

// Runs the command the arguments name; returns the exit status: 0 success, 1 failure,
// 2 usage error.
int RunCommandLine(int argc, char** argv);

} // namespace dirscribe
