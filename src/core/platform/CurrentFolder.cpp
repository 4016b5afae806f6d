// SPDX-License-Identifier: MIT
#include "core/platform/CurrentFolder.h"

#include <cstdlib>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace dirscribe {

std::string CurrentFolder() {
    // $PWD may be stale or set by anybody: it is used only when it is the same folder.
    if (const char* pwd = std::getenv("PWD"); pwd != nullptr && pwd[0] == '/') {
        struct stat named {};
        struct stat current {};
        if (::stat(pwd, &named) == 0 && ::stat(".", &current) == 0 &&
            named.st_dev == current.st_dev && named.st_ino == current.st_ino)
            return pwd;
    }
    const std::unique_ptr<char, decltype(&std::free)> path(::getcwd(nullptr, 0), &std::free);
    return path ? std::string(path.get()) : std::string();
}

} // namespace dirscribe
