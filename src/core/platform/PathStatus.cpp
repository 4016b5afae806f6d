// SPDX-License-Identifier: MIT
#include "core/platform/PathStatus.h"

#include <cerrno>
#include <sys/stat.h>

namespace dirscribe {

int PathStatusError(const std::string& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 ? 0 : errno;
}

} // namespace dirscribe
