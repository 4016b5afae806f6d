// SPDX-License-Identifier: MIT
// An open folder: its names, and what lstat says about each of them.
#pragma once

#include "core/platform/DirectoryEntry.h"

#include <memory>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace dirscribe {

// Owns one open directory stream. Children are opened relative to it, and the parent
// through "..", so a walk of any depth needs neither long paths nor a handle per level.
// Symbolic links are never followed below the folder that was opened.
class Directory {
public:
    // What the folder's own listing says a name is, without examining it. Unknown when the
    // file system does not say; Stat() then tells. A link is Other, whatever it points to.
    enum class NameKind { Unknown, Folder, Other };

    // Opens a folder by path, following the path if it is a link. Empty when the path is
    // not a folder or cannot be opened.
    static std::optional<Directory> Open(const std::string& path);
    // Opens a folder named in this one, without following links. Empty, with errno set,
    // when it cannot be opened.
    [[nodiscard]] std::optional<Directory> OpenChild(const std::string& name) const;
    // Opens the folder this one is in (its ".."); empty, with errno set, when it cannot.
    [[nodiscard]] std::optional<Directory> OpenParent() const;

    // The next name, "." and ".." skipped; false at the end of the folder or on an error
    // (Failed() tells which).
    bool NextName(std::string& name);
    // As NextName, also giving the kind the listing reports for the name (no lstat).
    bool NextName(std::string& name, NameKind& kind);
    [[nodiscard]] bool Failed() const { return m_failed; }

    // lstat of a name in this folder; empty when it vanished or cannot be examined.
    // A folder on another device than `device` is marked otherDevice.
    [[nodiscard]] std::optional<DirectoryEntry> Stat(const std::string& name, dev_t device) const;

    // The device of this folder itself.
    [[nodiscard]] dev_t Device() const { return m_device; }
    // With Device(), which folder this is, however it was reached.
    [[nodiscard]] ino_t Inode() const { return m_inode; }

private:
    struct Closer {
        void operator()(void* stream) const;
    };
    Directory(void* stream, dev_t device, ino_t inode);
    // Takes ownership of fd; empty (and fd closed) when it is not an open folder.
    static std::optional<Directory> FromDescriptor(int fd);

    std::unique_ptr<void, Closer> m_stream; // DIR*
    dev_t m_device = 0;
    ino_t m_inode = 0;
    bool m_failed = false;
};

} // namespace dirscribe
