// SPDX-License-Identifier: MIT
// Saving that never damages the file already there.
#pragma once

#include "core/platform/ByteSink.h"

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
// A target that is a symbolic link is followed (the file it names is replaced, the link
// stays) only where the kernel's protected-symlinks rule would follow it: in a folder such
// as /tmp, a link of another user is refused ("it is a link owned by another user"). A
// target the user may not write is refused too, as a shell would refuse it.
void WriteFileAtomically(const std::string& path, std::string_view bytes,
                         SpecialFiles special = SpecialFiles::Refuse);

// The same for bytes that `produce` writes into the sink as it makes them, so an output
// larger than memory can be saved. An exception that `produce` throws leaves the old file
// as it was and goes on to the caller.
void WriteFileAtomically(const std::string& path, const std::function<void(ByteSink&)>& produce,
                         SpecialFiles special = SpecialFiles::Refuse);

} // namespace dirscribe
