// SPDX-License-Identifier: MIT
#include "support/ChildProcess.h"

#include <cerrno>
#include <cstdio>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace dirscribe::test {

namespace {
constexpr uid_t kNobody = 65534;
}

std::string ReadAll(int fd) {
    std::string text;
    char buffer[65536];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) != 0;) {
        if (n > 0)
            text.append(buffer, static_cast<std::size_t>(n));
        else if (errno != EINTR)
            break;
    }
    ::close(fd);
    return text;
}

int WaitForExit(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool RunningAsRoot() {
    return ::geteuid() == 0;
}

namespace {

std::optional<std::string> RunForked(const std::function<std::string()>& work,
                                     bool dropPrivileges) {
    int fds[2];
    if (::pipe(fds) != 0)
        return std::nullopt;
    const pid_t pid = ::fork();
    if (pid < 0)
        return std::nullopt;
    if (pid == 0) {
        ::close(fds[0]);
        if (dropPrivileges && RunningAsRoot() &&
            (::setgroups(0, nullptr) != 0 || ::setresgid(kNobody, kNobody, kNobody) != 0 ||
             ::setresuid(kNobody, kNobody, kNobody) != 0))
            ::_exit(3);
        const std::string out = work();
        FILE* pipe = ::fdopen(fds[1], "w");
        const bool sent = pipe && std::fwrite(out.data(), 1, out.size(), pipe) == out.size() &&
                          std::fclose(pipe) == 0;
        ::_exit(sent ? 0 : 4);
    }
    ::close(fds[1]);
    std::string result = ReadAll(fds[0]);
    if (WaitForExit(pid) != 0)
        return std::nullopt;
    return result;
}

} // namespace

std::optional<std::string> RunUnprivileged(const std::function<std::string()>& work) {
    return RunForked(work, true);
}

std::optional<std::string> RunInChild(const std::function<std::string()>& work) {
    return RunForked(work, false);
}

} // namespace dirscribe::test
