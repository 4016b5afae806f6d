// SPDX-License-Identifier: MIT
#include "support/ChildProcess.h"

#include <cerrno>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace dirscribe::test {

namespace {
constexpr uid_t kNobody = 65534;
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
        std::size_t done = 0;
        while (done < out.size()) {
            const ssize_t n = ::write(fds[1], out.data() + done, out.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                ::_exit(4);
            done += static_cast<std::size_t>(n);
        }
        ::_exit(0);
    }
    ::close(fds[1]);
    std::string result;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        result.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fds[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
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
