// SPDX-License-Identifier: MIT
// The locks of a save: one that tells the temporary file of a running save from one a killed
// save left behind, and one that makes two saves of the same file take turns.
#pragma once

#include "core/platform/FileDescriptor.h"

#include <string>
#include <sys/stat.h>

namespace dirscribe {

// A save holds an exclusive lock (flock) on its temporary file from the moment the file is
// made until it has been renamed into place. The kernel drops the lock when the process ends
// however it ends, so a temporary file whose lock can be taken belongs to no running save.

// Takes the lock on the file just made as name in folder (a descriptor), open as fd. False
// when a cleanup of another save removed the name before the lock was taken: the caller makes
// a new file. Where the file system knows no locks the file is kept unlocked, and no cleanup
// will remove it.
bool LockNewTemporaryFile(int fd, int folder, const std::string& name);

// Removes, from folder (a descriptor), every temporary file named prefix + six letters or
// digits whose lock can be taken: those left by saves that were killed. Best effort: what
// cannot be examined or removed stays.
void RemoveStaleTemporaryFiles(int folder, const std::string& prefix);

// The file a save is about to replace, locked: a save holds the lock (flock, on the file at
// the name) from before it looks at the file until its rename has put the new one there, so
// saves of one file by any number of processes take turns, and one that read the file can
// tell under the lock whether another save replaced it meanwhile.
struct TargetLock {
    enum class Outcome {
        Locked,  // a regular file, locked; info describes it
        Missing, // nothing at the name
        Other,   // not a regular file, or one this process may not open; info describes it
        Busy,    // another save held it for as long as a save waits
    };
    Outcome outcome = Outcome::Missing;
    struct stat info {};
    FileDescriptor file; // holds the lock
};

// Locks the regular file at name in folder (a descriptor), never following a link, waiting
// while another save holds it (up to half a minute).
TargetLock LockTarget(int folder, const std::string& name);

} // namespace dirscribe
