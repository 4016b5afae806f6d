// SPDX-License-Identifier: MIT
// Saving that never damages the file already there.
#pragma once

#include "core/Error.h"
#include "core/platform/ByteSink.h"
#include "core/platform/FileVersion.h"

#include <functional>
#include <string>
#include <string_view>

namespace dirscribe {

// What a save does with a target that exists and is not a regular file or a folder.
enum class SpecialFiles {
    Refuse,       // fail: "it is not a regular file"
    WriteThrough, // write into it as it is: a pipe, a terminal, /dev/null
};

// Writes bytes to a temporary file in the target's folder, flushes it to disk and renames
// it over the target. On failure the old file is untouched, the temporary file is removed
// and Error is thrown with a message that names the file and the reason. SIGINT, SIGTERM,
// SIGHUP or SIGQUIT during the save removes the temporary file too (see InterruptCleanup.h);
// one left by a killed save to the same target is removed by the next (see SaveLock.h).
// Symbolic links anywhere in the path are followed (a link at its end names the file that
// is replaced; the link stays) only where the kernel's protected-symlinks rule would follow
// them: in a folder such as /tmp, a link of another user is refused ("it is a link owned by
// another user"). Every step after that goes through the descriptor of the target's folder,
// and a special file is written into only once it is open (never following a link) and its
// descriptor says what it is. A target the user may not write is refused too, as a shell
// would refuse it. Saves of one file take turns (see TargetLock in SaveLock.h).
void WriteFileAtomically(const std::string& path, std::string_view bytes,
                         SpecialFiles special = SpecialFiles::Refuse);

// The same for bytes that `produce` writes into the sink as it makes them, so an output
// larger than memory can be saved. An exception that `produce` throws leaves the old file
// as it was and goes on to the caller.
void WriteFileAtomically(const std::string& path, const std::function<void(ByteSink&)>& produce,
                         SpecialFiles special = SpecialFiles::Refuse);

// Thrown instead of saving over a file that is no longer the one read: another program
// has saved it since. Nothing is written.
class ChangedSinceRead : public Error {
public:
    using Error::Error;
};

// The same for a save that may replace a file this program read as readAs (when not null):
// where the target is that file (the same folder and name) and another save has replaced
// or changed it since, ChangedSinceRead is thrown and nothing is written, so what the other
// save wrote is not lost. Where saved is not null it receives the version written, for the
// next save of the same file. A special file written into has no version (saved unchanged).
void WriteFileAtomically(const std::string& path, const std::function<void(ByteSink&)>& produce,
                         SpecialFiles special, const FileVersion* readAs, FileVersion* saved);

} // namespace dirscribe
