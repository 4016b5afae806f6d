// SPDX-License-Identifier: MIT
// Where the outputs go: pipes and devices written into, interrupted saves cleaned up.
#include "support/RunProgram.h"
#include "support/TempTree.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <poll.h>
#include <string>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

namespace dirscribe {
namespace {

using test::RunDirscribe;
using test::TempTree;

TEST(SaveTargets, NamedOutputsAreWrittenIntoPipesAndDevices) {
    TempTree tree;
    tree.File("tree/a.txt", "alpha");
    tree.File("tree/Sub/b.bin", std::string(3000, 'b'));
    const auto run = [&](std::vector<std::string> options) {
        options.insert(options.begin(), {"list", "tree", "--profile", "none.ini"});
        return RunDirscribe(options, {tree.Root(), {}, {}});
    };
    // Standard output is a pipe here, as it is for `--pdf >(...)`.
    EXPECT_EQ(run({"--txt", "/dev/stdout"}).out, run({}).out);
    for (const std::string option : {"--dsc", "--pdf"}) {
        ASSERT_EQ(run({option, "saved"}).exitCode, 0) << option;
        const test::ProgramResult piped = run({option, "/dev/stdout"});
        EXPECT_EQ(piped.exitCode, 0) << piped.err;
        EXPECT_EQ(piped.out, test::ReadFile(tree.Path("saved"))) << option;
    }
    EXPECT_EQ(run({"--txt", "/dev/null", "--dsc", "/dev/null"}).exitCode, 0);
    const test::ProgramResult full = run({"--txt", "/dev/full"});
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_EQ(full.err, "Cannot save \"/dev/full\": No space left on device\n");
    EXPECT_EQ(run({"--txt", ""}).exitCode, 2);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(tree.Root()), {}), 2)
        << "nothing but the tree and the one saved file";
}

// Starts the program with SIGINT and SIGTERM at their default action, whatever the test's.
pid_t Start(const std::vector<std::string>& arguments) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::signal(SIGINT, SIG_DFL);
        std::signal(SIGTERM, SIG_DFL);
        std::vector<char*> argv{const_cast<char*>(DIRSCRIBE_BINARY)};
        for (const std::string& word : arguments)
            argv.push_back(const_cast<char*>(word.c_str()));
        argv.push_back(nullptr);
        ::execv(DIRSCRIBE_BINARY, argv.data());
        ::_exit(127);
    }
    return pid;
}

// Waits until a temporary file appears in the watched folder; false if the program ended
// first.
bool WaitForTemporaryFile(int watch, pid_t pid) {
    alignas(inotify_event) char events[4096];
    pollfd ready{watch, POLLIN, 0};
    while (::waitid(P_PID, static_cast<id_t>(pid), nullptr, WEXITED | WNOHANG | WNOWAIT) == 0) {
        if (::poll(&ready, 1, 50) <= 0)
            continue;
        const ssize_t length = ::read(watch, events, sizeof events);
        for (ssize_t at = 0; at < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(events + at);
            if (event->len > 0 && std::string(event->name).find(".tmp-") != std::string::npos)
                return true;
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
    return false;
}

TEST(SaveTargets, AnInterruptedSaveRemovesItsTemporaryFileAndEndsByTheSignal) {
    TempTree tree;
    for (int i = 0; i < 3000; ++i)
        tree.File("big/a file with a rather long name, number " + std::to_string(i) + ".txt");
    tree.Folder("out");
    const std::vector<std::string> args = {"list",      tree.Path("big"),
                                           "--profile", tree.Path("none.ini"),
                                           "--txt",     tree.Path("out/report.txt")};
    ASSERT_EQ(RunDirscribe(args).exitCode, 0);
    const std::string whole = test::ReadFile(tree.Path("out/report.txt"));

    int endedBySignal = 0;
    for (int round = 0; round < 16; ++round) {
        const int signal = round % 2 == 0 ? SIGINT : SIGTERM;
        const int watch = ::inotify_init1(IN_CLOEXEC);
        ::inotify_add_watch(watch, tree.Path("out").c_str(), IN_CREATE);
        const pid_t pid = Start(args);
        if (WaitForTemporaryFile(watch, pid)) {
            ::usleep(static_cast<useconds_t>(round * 150)); // kills early and late in the save
            ::kill(pid, signal);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        ::close(watch);
        // Ended by the signal, or finished before it came.
        EXPECT_TRUE(WIFSIGNALED(status) ? WTERMSIG(status) == signal : WEXITSTATUS(status) == 0);
        endedBySignal += WIFSIGNALED(status) ? 1 : 0;
        for (const auto& entry : std::filesystem::directory_iterator(tree.Path("out")))
            EXPECT_EQ(entry.path().filename(), "report.txt") << "round " << round;
        EXPECT_EQ(test::ReadFile(tree.Path("out/report.txt")), whole);
    }
    EXPECT_GT(endedBySignal, 0);
}

} // namespace
} // namespace dirscribe
