// SPDX-License-Identifier: MIT
// Debian's tools run from tests: to make real files and to read them as a user would.
#pragma once

#include <string>
#include <string_view>

namespace dirscribe::test {

// Whether the program is on the PATH.
bool HasCommand(std::string_view name);
// Runs the shell command in folder, its output thrown away; true when it succeeded.
bool RunShell(const std::string& folder, const std::string& command);
// What the shell command prints in folder, without its last line end; "" when it fails.
std::string ShellOutput(const std::string& folder, const std::string& command);

} // namespace dirscribe::test
