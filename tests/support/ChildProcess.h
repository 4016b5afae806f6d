// SPDX-License-Identifier: MIT
// Runs a piece of a test in a child process, optionally without root's privileges.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <sys/types.h>

namespace dirscribe::test {

// Everything read from fd until its end; closes fd.
std::string ReadAll(int fd);
// The exit status of a child once it has ended; -1 when it did not exit normally.
int WaitForExit(pid_t pid);

// Whether the tests run as root, where permission bits do not stop reads.
bool RunningAsRoot();

// Forks; the child drops to the unprivileged user "nobody" when running as root, runs work
// and sends back the text it returns. Empty when the child failed or could not drop its
// privileges. Folders the child must reach need to be readable by everybody.
std::optional<std::string> RunUnprivileged(const std::function<std::string()>& work);

// The same without dropping privileges: for work that must not change this process.
std::optional<std::string> RunInChild(const std::function<std::string()>& work);

} // namespace dirscribe::test
