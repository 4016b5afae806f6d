// SPDX-License-Identifier: MIT
// Runs a piece of a test in a child process, optionally without root's privileges.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace dirscribe::test {

// Whether the tests run as root, where permission bits do not stop reads.
bool RunningAsRoot();

// Forks; the child drops to the unprivileged user "nobody" when running as root, runs work
// and sends back the text it returns. Empty when the child failed or could not drop its
// privileges. Folders the child must reach need to be readable by everybody.
std::optional<std::string> RunUnprivileged(const std::function<std::string()>& work);

// The same without dropping privileges: for work that must not change this process.
std::optional<std::string> RunInChild(const std::function<std::string()>& work);

} // namespace dirscribe::test
