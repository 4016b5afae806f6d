// SPDX-License-Identifier: MIT
// Telling the temporary file of a running save from one a killed save left behind.
#pragma once

#include <string>

namespace dirscribe {

// A save holds an exclusive lock (flock) on its temporary file from the moment the file is
// made until it has been renamed into place. The kernel drops the lock when the process ends
// however it ends, so a temporary file whose lock can be taken belongs to no running save.

// Takes the lock on the file just made at path, open as fd. False when a cleanup of another
// save removed the name before the lock was taken: the caller makes a new file. Where the
// file system knows no locks the file is kept unlocked, and no cleanup will remove it.
bool LockNewTemporaryFile(int fd, const std::string& path);

// Removes, from folder, every temporary file named prefix + six letters or digits whose lock
// can be taken: those left by saves that were killed. Best effort: what cannot be examined
// or removed stays.
void RemoveStaleTemporaryFiles(const std::string& folder, const std::string& prefix);

} // namespace dirscribe
