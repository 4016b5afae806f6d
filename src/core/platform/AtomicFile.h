// SPDX-License-Identifier: MIT
// Saving that never damages the file already there.
#pragma once

#include <string>
#include <string_view>

namespace dirscribe {

// Writes bytes to a temporary file in the target's folder, flushes it to disk and renames
// it over the target. On failure the old file is untouched, the temporary file is removed
// and Error is thrown with a message that names the file and the reason.
void WriteFileAtomically(const std::string& path, std::string_view bytes);

} // namespace dirscribe
