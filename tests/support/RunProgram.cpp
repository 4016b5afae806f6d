// SPDX-License-Identifier: MIT
#include "support/RunProgram.h"

#include "support/ChildProcess.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

extern char** environ;

namespace dirscribe::test {

ProgramResult RunDirscribe(const std::vector<std::string>& arguments, const RunOptions& options) {
    std::vector<std::string> words = options.prefix;
    words.push_back(DIRSCRIBE_BINARY);
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);

    std::vector<std::string> environment;
    for (char** e = environ; *e != nullptr; ++e)
        environment.emplace_back(*e);
    environment.insert(environment.end(), options.extraEnvironment.begin(),
                       options.extraEnvironment.end());
    std::vector<char*> envp;
    for (std::string& e : environment)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    // Standard error goes to a file, so that reading standard output to its end never waits
    // for a child that is blocked on a full error pipe.
    int out[2];
    FILE* err = std::tmpfile();
    if (::pipe2(out, O_CLOEXEC) != 0 || err == nullptr)
        throw std::runtime_error("pipe");
    const pid_t pid = ::fork();
    if (pid < 0)
        throw std::runtime_error("fork");
    if (pid == 0) {
        const int devNull = ::open("/dev/null", O_RDONLY);
        ::dup2(devNull, 0);
        ::dup2(out[1], 1);
        ::dup2(::fileno(err), 2);
        if (!options.workingFolder.empty() && ::chdir(options.workingFolder.c_str()) != 0)
            ::_exit(126);
        ::execvpe(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
    ::close(out[1]);
    ProgramResult result;
    result.out = ReadAll(out[0]);
    result.exitCode = WaitForExit(pid);
    std::rewind(err);
    result.err = ReadAll(::dup(::fileno(err)));
    std::fclose(err);
    return result;
}

} // namespace dirscribe::test
