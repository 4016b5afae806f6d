// SPDX-License-Identifier: MIT
// Runs another program with a deadline and a bound on what it may write.
#include "core/platform/ChildProgram.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

// POSIX asks the program to declare it; glibc declares it too, under _GNU_SOURCE only.
extern char** environ; // NOLINT(readability-redundant-declaration)

namespace dirscribe {

namespace {

using Clock = std::chrono::steady_clock;

class UniqueFd {
public:
    explicit UniqueFd(int fd = -1) : m_fd(fd) {}
    ~UniqueFd() { Reset(); }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    [[nodiscard]] int Get() const { return m_fd; }
    void Reset() {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd;
};

// The spawn's file actions and attributes, released whatever happens.
class SpawnSetup {
public:
    explicit SpawnSetup(int outputFd) {
        posix_spawn_file_actions_init(&m_actions);
        posix_spawn_file_actions_addopen(&m_actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_adddup2(&m_actions, outputFd, STDOUT_FILENO);
        posix_spawn_file_actions_addopen(&m_actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        // The child starts with no signal blocked or ignored, whatever this thread has.
        posix_spawnattr_init(&m_attributes);
        sigset_t none;
        sigemptyset(&none);
        sigset_t all;
        sigfillset(&all);
        posix_spawnattr_setsigmask(&m_attributes, &none);
        posix_spawnattr_setsigdefault(&m_attributes, &all);
        posix_spawnattr_setflags(&m_attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    }
    ~SpawnSetup() {
        posix_spawn_file_actions_destroy(&m_actions);
        posix_spawnattr_destroy(&m_attributes);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    [[nodiscard]] const posix_spawn_file_actions_t* Actions() const { return &m_actions; }
    [[nodiscard]] const posix_spawnattr_t* Attributes() const { return &m_attributes; }

private:
    posix_spawn_file_actions_t m_actions{};
    posix_spawnattr_t m_attributes{};
};

int MillisecondsLeft(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left <= 0 ? 0 : static_cast<int>(left);
}

// Reads until the end of the output; false at the deadline, past the bound or on an error.
bool Gather(int fd, Clock::time_point deadline, std::size_t maxBytes, std::string& output) {
    std::array<char, std::size_t{64} * 1024> buffer{};
    for (;;) {
        const int left = MillisecondsLeft(deadline);
        if (left == 0)
            return false;
        pollfd poll{fd, POLLIN, 0};
        const int ready = ::poll(&poll, 1, left);
        if (ready < 0 && errno != EINTR)
            return false;
        if (ready <= 0)
            continue;
        const ssize_t count = ::read(fd, buffer.data(), buffer.size());
        if (count == 0)
            return true;
        if (count < 0) {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            return false;
        }
        output.append(buffer.data(), static_cast<std::size_t>(count));
        if (output.size() > maxBytes) {
            output.resize(maxBytes);
            return false;
        }
    }
}

// Waits for the child to end until the deadline; false when it is still running then.
bool WaitUntil(pid_t pid, Clock::time_point deadline, int& status) {
    for (;;) {
        const pid_t ended = ::waitpid(pid, &status, WNOHANG);
        if (ended == pid)
            return true;
        if (ended < 0 && errno != EINTR) {
            status = -1; // not ours to wait for any more: count it as a failure
            return true;
        }
        if (Clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

} // namespace

ChildOutput RunChildProgram(const std::vector<std::string>& arguments, std::size_t maxOutputBytes,
                            std::chrono::milliseconds timeLimit) {
    ChildOutput result;
    if (arguments.empty())
        return result;
    std::array<int, 2> ends{};
    if (::pipe2(ends.data(), O_CLOEXEC) != 0)
        return result;
    UniqueFd readEnd(ends[0]);
    UniqueFd writeEnd(ends[1]);

    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const auto deadline = Clock::now() + timeLimit;
    pid_t pid = 0;
    int spawned = 0;
    {
        const SpawnSetup setup(writeEnd.Get());
        spawned =
            ::posix_spawn(&pid, argv[0], setup.Actions(), setup.Attributes(), argv.data(), environ);
    }
    writeEnd.Reset(); // the end of the output is seen once the child's copy closes
    if (spawned != 0)
        return result;

    const bool whole = Gather(readEnd.Get(), deadline, maxOutputBytes, result.output);
    int status = 0;
    if (!whole || !WaitUntil(pid, deadline, status)) {
        ::kill(pid, SIGKILL);
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        return result;
    }
    result.succeeded = status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return result;
}

std::string RunningProgramPath() {
    std::string path(256, '\0');
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
        if (length < 0)
            return {};
        if (static_cast<std::size_t>(length) < path.size()) {
            path.resize(static_cast<std::size_t>(length));
            return path;
        }
        path.resize(path.size() * 2);
    }
}

} // namespace dirscribe
