// SPDX-License-Identifier: MIT
// Real folders on disk for tests, removed when the test ends.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

namespace dirscribe::test {

// A fresh folder under $TMPDIR (or /tmp), deleted with everything in it on destruction
// (permissions are restored first so unreadable folders go too).
class TempTree {
public:
    TempTree();
    ~TempTree();
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    [[nodiscard]] const std::string& Root() const { return m_root; }
    // Root() + "/" + relative.
    [[nodiscard]] std::string Path(std::string_view relative) const;

    // Creates the folder (and its parents) below the root.
    void Folder(std::string_view relative) const;
    // Creates a file (and its parent folders) holding the given bytes.
    void File(std::string_view relative, std::string_view content = {}) const;
    // Creates a file of the given size; sparse when large.
    void SizedFile(std::string_view relative, std::uint64_t size) const;
    void Symlink(std::string_view relative, std::string_view target) const;
    // Sets the last-write time (seconds since 1970, UTC) without following links.
    void SetModified(std::string_view relative, std::time_t seconds) const;
    void Chmod(std::string_view relative, unsigned mode) const;
    // Mounts an empty tmpfs on a new folder, unmounted again with the tree; false where this
    // process may not mount.
    bool MountTmpfs(std::string_view relative);

private:
    std::string m_root;
    std::vector<std::string> m_mounts;
};

// Reads a whole file; fails the current test when it cannot.
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, std::string_view content);
// Reads a file of tests/data, such as "cli/report.txt".
std::string ReadTestData(std::string_view relative);

} // namespace dirscribe::test
