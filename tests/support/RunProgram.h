// SPDX-License-Identifier: MIT
// Runs the dirscribe executable as a user would and collects what it says.
#pragma once

#include <string>
#include <vector>

namespace dirscribe::test {

struct ProgramResult {
    int exitCode = -1; // -1 when it did not exit normally
    std::string out;
    std::string err;
};

struct RunOptions {
    std::string workingFolder;                 // empty: the test's own
    std::vector<std::string> prefix;           // e.g. a command that drops privileges
    std::vector<std::string> extraEnvironment; // NAME=value pairs added to the test's
};

// Runs the program built with the tests with these arguments; standard input is empty.
ProgramResult RunDirscribe(const std::vector<std::string>& arguments,
                           const RunOptions& options = {});

} // namespace dirscribe::test
