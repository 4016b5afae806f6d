// SPDX-License-Identifier: MIT
// Debian's tools run from tests: to make real files and to read them as a user would.
#include "support/ShellCommand.h"

#include <array>
#include <cstdio>
#include <cstdlib>

namespace dirscribe::test {

namespace {

std::string InFolder(const std::string& folder, const std::string& command) {
    return "cd '" + folder + "' && " + command;
}

} // namespace

bool HasCommand(std::string_view name) {
    return std::system(("command -v " + std::string(name) + " >/dev/null 2>&1").c_str()) == 0;
}

bool RunShell(const std::string& folder, const std::string& command) {
    return std::system((InFolder(folder, command) + " >/dev/null 2>&1").c_str()) == 0;
}

std::string ShellOutput(const std::string& folder, const std::string& command) {
    FILE* pipe = ::popen(InFolder(folder, command).c_str(), "r");
    if (pipe == nullptr)
        return {};
    std::string output;
    std::array<char, 4096> buffer{};
    for (std::size_t read; (read = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
        output.append(buffer.data(), read);
    if (::pclose(pipe) != 0)
        return {};
    while (!output.empty() && output.back() == '\n')
        output.pop_back();
    return output;
}

} // namespace dirscribe::test
