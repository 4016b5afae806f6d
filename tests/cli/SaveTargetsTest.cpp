// SPDX-License-Identifier: MIT
// Where the outputs go: pipes and devices written into, interrupted and killed saves
// cleaned up.
#include "support/RunProgram.h"
#include "support/TempTree.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <poll.h>
#include <string>
#include <sys/inotify.h>
#include <sys/resource.h>
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
    tree.File("none.ini");
    // From a document, whose volume stays as recorded: two reads of the folder would record
    // the volume's free space twice, which need not be the same.
    ASSERT_EQ(RunDirscribe({"list", "tree", "--profile", "none.ini", "--dsc", "listing.dsc"},
                           {tree.Root(), {}, {}})
                  .exitCode,
              0);
    const auto run = [&](std::vector<std::string> options) {
        options.insert(options.begin(), {"convert", "listing.dsc", "--profile", "none.ini"});
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
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(tree.Root()), {}), 4)
        << "nothing but the tree, the profile, its listing and the one saved file";
}

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

// Starts the program with the signals at their default action, whatever the test's, and
// without a core file for SIGQUIT.
pid_t Start(const std::vector<std::string>& arguments) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        for (const int signal : kSignals)
            std::signal(signal, SIG_DFL);
        const rlimit noCore{0, 0};
        ::setrlimit(RLIMIT_CORE, &noCore);
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

// Runs the save and sends it the signal once its temporary file is there, after the delay;
// the status it ended with.
int Interrupt(const std::vector<std::string>& args, const std::string& folder, int signal,
              useconds_t delay) {
    const int watch = ::inotify_init1(IN_CLOEXEC);
    ::inotify_add_watch(watch, folder.c_str(), IN_CREATE);
    const pid_t pid = Start(args);
    if (WaitForTemporaryFile(watch, pid)) {
        ::usleep(delay);
        ::kill(pid, signal);
    }
    int status = 0;
    EXPECT_EQ(::waitpid(pid, &status, 0), pid);
    ::close(watch);
    return status;
}

TEST(SaveTargets, AnInterruptedSaveRemovesItsTemporaryFileAndEndsByTheSignal) {
    TempTree tree;
    for (int i = 0; i < 3000; ++i)
        tree.File("big/a file with a rather long name, number " + std::to_string(i) + ".txt");
    tree.Folder("out");
    tree.File("none.ini");
    const std::vector<std::string> args = {"list",      tree.Path("big"),
                                           "--profile", tree.Path("none.ini"),
                                           "--txt",     tree.Path("out/report.txt")};
    ASSERT_EQ(RunDirscribe(args).exitCode, 0);
    const std::string whole = test::ReadFile(tree.Path("out/report.txt"));
    const auto files = [&] {
        return std::distance(std::filesystem::directory_iterator(tree.Path("out")), {});
    };

    int endedBy[std::size(kSignals)] = {};
    for (int round = 0; round < 16; ++round) {
        const int signal = kSignals[round % 4];
        // Kills early and late in the save.
        const int status = Interrupt(args, tree.Path("out"), signal, round / 4 * 600);
        // Ended by the signal, or finished before it came.
        EXPECT_TRUE(WIFSIGNALED(status) ? WTERMSIG(status) == signal : WEXITSTATUS(status) == 0);
        endedBy[round % 4] += WIFSIGNALED(status) ? 1 : 0;
        EXPECT_EQ(files(), 1) << "round " << round << ": the report and nothing else";
        EXPECT_EQ(test::ReadFile(tree.Path("out/report.txt")), whole);
    }
    for (const int ended : endedBy)
        EXPECT_GT(ended, 0);

    // SIGKILL leaves the temporary file; the next save to the same file removes it.
    for (int tries = 0; tries < 10 && files() == 1; ++tries)
        Interrupt(args, tree.Path("out"), SIGKILL, 0);
    ASSERT_EQ(files(), 2) << "no save was killed in the middle";
    ASSERT_EQ(RunDirscribe(args).exitCode, 0);
    EXPECT_EQ(files(), 1);
    EXPECT_EQ(test::ReadFile(tree.Path("out/report.txt")), whole);
}

} // namespace
} // namespace dirscribe
