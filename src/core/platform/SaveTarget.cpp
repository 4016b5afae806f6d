// SPDX-License-Identifier: MIT
#include "core/platform/SaveTarget.h"

#include "core/Error.h"

#include <algorithm>
#include <cerrno>
#include <deque>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <system_error>

namespace dirscribe {

namespace {

// Linux gives up on symbolic link chains at this depth too.
constexpr int kMaxLinkHops = 40;

class Walk {
public:
    explicit Walk(const std::string& path) : m_path(path) {}

    SaveTarget Run() {
        if (m_path.empty())
            FailErrno(ENOENT);
        Push(m_path);
        m_folder = Open(AT_FDCWD, m_path.front() == '/' ? "/" : ".", O_DIRECTORY);
        for (;;) {
            if (m_rest.empty())
                Fail("it is a folder");
            const std::string name = std::move(m_rest.front());
            m_rest.pop_front();
            const bool last = m_rest.empty();
            if (name == "." || name == "..") {
                if (name == "..")
                    m_folder = Open(m_folder.Get(), "..", O_DIRECTORY);
                if (last)
                    Fail("it is a folder");
                continue;
            }
            FileDescriptor node(
                ::openat(m_folder.Get(), name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
            if (!node.IsOpen()) {
                if (last && errno == ENOENT)
                    return {std::move(m_folder), name, false};
                FailErrno(errno);
            }
            struct stat info {};
            if (::fstat(node.Get(), &info) != 0)
                FailErrno(errno);
            if (S_ISLNK(info.st_mode)) {
                if (last && OnProc())
                    return {std::move(m_folder), name, true};
                Follow(node.Get(), info);
                continue;
            }
            if (last)
                return {std::move(m_folder), name, false};
            if (!S_ISDIR(info.st_mode))
                FailErrno(ENOTDIR);
            m_folder = std::move(node);
        }
    }

private:
    [[noreturn]] void Fail(const std::string& reason) const {
        throw Error("Cannot save \"" + m_path + "\": " + reason);
    }
    [[noreturn]] void FailErrno(int error) const { Fail(std::generic_category().message(error)); }

    FileDescriptor Open(int at, const char* name, int flags) const {
        FileDescriptor fd(::openat(at, name, O_PATH | O_CLOEXEC | flags));
        if (!fd.IsOpen())
            FailErrno(errno);
        return fd;
    }

    // The names of path go before those still to walk; a path that ends in "/" names a
    // folder, and so ends in ".".
    void Push(const std::string& path) {
        std::deque<std::string> names;
        for (std::size_t at = 0; at <= path.size();) {
            const std::size_t slash = std::min(path.find('/', at), path.size());
            if (slash > at)
                names.emplace_back(path, at, slash - at);
            at = slash + 1;
        }
        if (path.back() == '/')
            names.emplace_back(".");
        m_rest.insert(m_rest.begin(), names.begin(), names.end());
    }

    [[nodiscard]] bool OnProc() const {
        struct statfs system {};
        return ::fstatfs(m_folder.Get(), &system) == 0 && system.f_type == PROC_SUPER_MAGIC;
    }

    // Goes on along the link open as fd (described by info) where the rule allows it: in a
    // folder that everybody may write to and that has the sticky bit, only a link of this
    // user or of the folder's owner. Otherwise anybody could make a name there lead to a
    // file of ours, and the save would replace that file or write into it.
    void Follow(int fd, const struct stat& info) {
        if (++m_hops > kMaxLinkHops)
            FailErrno(ELOOP);
        struct stat folder {};
        if (::fstat(m_folder.Get(), &folder) != 0)
            FailErrno(errno);
        const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
        if (shared && info.st_uid != ::geteuid() && info.st_uid != folder.st_uid)
            Fail("it is a link owned by another user");
        std::string target(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 4095) + 1,
                           '\0');
        const ssize_t length = ::readlinkat(fd, "", target.data(), target.size());
        if (length < 0)
            FailErrno(errno);
        if (static_cast<std::size_t>(length) >= target.size())
            Fail("the symbolic link changed while it was read");
        target.resize(static_cast<std::size_t>(length));
        if (target.empty())
            FailErrno(ENOENT);
        if (target.front() == '/')
            m_folder = Open(AT_FDCWD, "/", O_DIRECTORY);
        Push(target);
    }

    const std::string& m_path;
    std::deque<std::string> m_rest; // the names still to walk
    FileDescriptor m_folder;        // the folder reached so far
    int m_hops = 0;
};

} // namespace

SaveTarget ResolveSaveTarget(const std::string& path) {
    return Walk(path).Run();
}

} // namespace dirscribe
