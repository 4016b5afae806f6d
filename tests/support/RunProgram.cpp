// SPDX-License-Identifier: MIT
#include "support/RunProgram.h"

#include "support/ChildProcess.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

extern char** environ;

namespace dirscribe::test {

namespace {

// The program's cache (the index of saved listings) of this test process, never the user's:
// made on first use, writable by the unprivileged user some tests run as, removed at exit.
class TestCache {
public:
    TestCache() {
        std::string folder = std::filesystem::temp_directory_path() / "dirscribe-cache-XXXXXX";
        if (::mkdtemp(folder.data()) == nullptr || ::chmod(folder.c_str(), 01777) != 0)
            throw std::runtime_error("mkdtemp");
        m_folder = folder;
    }
    ~TestCache() {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
    TestCache(const TestCache&) = delete;
    TestCache& operator=(const TestCache&) = delete;
    [[nodiscard]] const std::string& Folder() const { return m_folder; }

private:
    std::string m_folder;
};

} // namespace

ProgramResult RunDirscribe(const std::vector<std::string>& arguments, const RunOptions& options) {
    std::vector<std::string> words = options.prefix;
    words.push_back(DIRSCRIBE_BINARY);
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);

    constexpr std::string_view kCache = "XDG_CACHE_HOME=";
    std::vector<std::string> environment;
    for (char** e = environ; *e != nullptr; ++e)
        if (!std::string_view(*e).starts_with(kCache))
            environment.emplace_back(*e);
    environment.insert(environment.end(), options.extraEnvironment.begin(),
                       options.extraEnvironment.end());
    static const TestCache cache;
    if (std::none_of(environment.begin(), environment.end(),
                     [&](const std::string& e) { return e.starts_with(kCache); }))
        environment.push_back(std::string(kCache) + cache.Folder());
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
