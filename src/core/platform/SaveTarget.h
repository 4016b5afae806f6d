// SPDX-License-Identifier: MIT
// Where a save lands: the folder and the name a path comes to once its links are followed.
#pragma once

#include "core/platform/FileDescriptor.h"

#include <string>

namespace dirscribe {

// A name in an open folder, which every step of a save then uses, so that no link planted
// in the path after it was followed can move the save elsewhere.
struct SaveTarget {
    FileDescriptor folder; // opened with O_PATH
    std::string name;      // not "." or "..", and no symbolic link when found
    // A link of /proc (such as /dev/stdout's /proc/self/fd/1), which names an open file,
    // not a path: only opening it follows it.
    bool procLink = false;
};

// Walks path one name at a time from "/" or the current folder, through folder descriptors,
// following symbolic links (its last name's too, so a save replaces the file a link names
// and keeps the link) as the kernel's protected-symlinks rule would follow them, whether
// the kernel applies that rule or not: in a folder that everybody may write to and that has
// the sticky bit (such as /tmp), only a link of this user or of the folder's owner is
// followed, wherever in the path it stands. Throws Error("Cannot save \"" + path + "\": " +
// reason) where it stops: "it is a link owned by another user", "it is a folder", or the
// system's reason (a missing folder, a name that is no folder, too many links). The last
// name need not exist.
SaveTarget ResolveSaveTarget(const std::string& path);

} // namespace dirscribe
