// SPDX-License-Identifier: MIT
// Whether a path names anything on disk.
#pragma once

#include <string>

namespace dirscribe {

// 0 when something (of any kind; a link is not followed) is at path, else the errno value
// that says why not (ENOENT: nothing is there).
int PathStatusError(const std::string& path);

} // namespace dirscribe
