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
// and Error is thrown with a message that names the file and the reason. SIGINT or SIGTERM
// during the save removes the temporary file too (see InterruptCleanup.h).
void WriteFileAtomically(const std::string& path, std::string_view bytes,
                         SpecialFiles special = SpecialFiles::Refuse);

// The same for bytes that `produce` writes into the sink as it makes them, so an output
// larger than memory can be saved. An exception that `produce` throws leaves the old file
// as it was and goes on to the caller.
void WriteFileAtomically(const std::string& path, const std::function<void(ByteSink&)>& produce,
                         SpecialFiles special = SpecialFiles::Refuse);

} // namespace dirscribe
