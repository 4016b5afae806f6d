// SPDX-License-Identifier: MIT
#include "support/TempTree.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <stdexcept>
#include <sys/mount.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace dirscribe::test {

namespace {

void Check(bool ok, const std::string& what) {
    if (!ok)
        throw std::system_error(errno, std::generic_category(), what);
}

void MakeAllAccessible(const fs::path& root) {
    std::error_code ec;
    fs::permissions(root, fs::perms::owner_all, fs::perm_options::add, ec);
    for (auto it = fs::recursive_directory_iterator(root, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_directory(ec) && !it->is_symlink(ec))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
}

} // namespace

TempTree::TempTree() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/dirscribe-test-XXXXXX";
    Check(mkdtemp(pattern.data()) != nullptr, "mkdtemp");
    m_root = pattern;
}

TempTree::~TempTree() {
    for (const std::string& mount : m_mounts)
        ::umount2(mount.c_str(), MNT_DETACH);
    // Folders made unreadable by a test must be opened up before they can be removed.
    for (int pass = 0; pass < 3; ++pass)
        MakeAllAccessible(m_root);
    std::error_code ec;
    fs::remove_all(m_root, ec);
}

std::string TempTree::Path(std::string_view relative) const {
    return relative.empty() ? m_root : m_root + "/" + std::string(relative);
}

bool TempTree::MountTmpfs(std::string_view relative) {
    Folder(relative);
    if (::mount("dirscribe-test", Path(relative).c_str(), "tmpfs", 0, nullptr) != 0)
        return false;
    m_mounts.push_back(Path(relative));
    return true;
}

void TempTree::Folder(std::string_view relative) const {
    fs::create_directories(Path(relative));
}

void TempTree::File(std::string_view relative, std::string_view content) const {
    const fs::path path = Path(relative);
    fs::create_directories(path.parent_path());
    WriteFile(path.string(), content);
}

void TempTree::SizedFile(std::string_view relative, std::uint64_t size) const {
    const fs::path path = Path(relative);
    fs::create_directories(path.parent_path());
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    Check(fd >= 0, "open " + path.string());
    const int rc = ::ftruncate(fd, static_cast<off_t>(size));
    ::close(fd);
    Check(rc == 0, "ftruncate " + path.string());
}

void TempTree::Symlink(std::string_view relative, std::string_view target) const {
    const fs::path path = Path(relative);
    fs::create_directories(path.parent_path());
    Check(::symlink(std::string(target).c_str(), path.c_str()) == 0, "symlink " + path.string());
}

void TempTree::SetModified(std::string_view relative, std::time_t seconds) const {
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    Check(::utimensat(AT_FDCWD, Path(relative).c_str(), times, AT_SYMLINK_NOFOLLOW) == 0,
          "utimensat " + Path(relative));
}

void TempTree::Chmod(std::string_view relative, unsigned mode) const {
    Check(::chmod(Path(relative).c_str(), mode) == 0, "chmod " + Path(relative));
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        ADD_FAILURE() << "cannot read " << path;
        return {};
    }
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::string ReadTestData(std::string_view relative) {
    return ReadFile(std::string(DIRSCRIBE_TEST_DATA) + "/" + std::string(relative));
}

void WriteFile(const std::string& path, std::string_view content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        throw std::runtime_error("cannot write " + path);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
}

} // namespace dirscribe::test
