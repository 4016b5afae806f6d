// SPDX-License-Identifier: MIT
// Runs another program with a deadline and a bound on what it may write.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

namespace dirscribe {

struct ChildOutput {
    std::string output;     // its standard output, at most the bound asked for
    bool succeeded = false; // it ended with status 0, in time, within the bound
};

// Runs arguments[0] (a path) with the arguments, its standard input and error on
// /dev/null, and gathers its standard output. A child still running at the time limit, or
// writing more than maxOutputBytes, is killed; either way it is waited for, so no child is
// left behind. Started with posix_spawn, so it may be called from any thread of a program
// that has several.
ChildOutput RunChildProgram(const std::vector<std::string>& arguments, std::size_t maxOutputBytes,
                            std::chrono::milliseconds timeLimit);

// The path of the program running now (/proc/self/exe), or "" when it cannot be told.
std::string RunningProgramPath();

} // namespace dirscribe
