// SPDX-License-Identifier: MIT
#include "core/platform/OpenFileLimit.h"

#include "core/platform/Directory.h"

#include <algorithm>
#include <sys/resource.h>

namespace dirscribe {

namespace {

// Standard input, output and error, and a few more, where /proc cannot tell.
constexpr std::size_t kGuessedOpen = 8;
// Enough for any walk; a limit of "unlimited" is read as this.
constexpr std::size_t kPlenty = std::size_t{1} << 20;

std::size_t OpenDescriptorCount() {
    std::optional<Directory> listing = Directory::Open("/proc/self/fd");
    if (!listing)
        return kGuessedOpen;
    std::size_t count = 0;
    for (std::string name; listing->NextName(name);)
        ++count;
    return count > 0 ? count - 1 : 0; // the listing's own descriptor
}

} // namespace

std::size_t FreeDescriptorCount() {
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return 0;
    const std::size_t soft =
        limit.rlim_cur == RLIM_INFINITY
            ? kPlenty
            : static_cast<std::size_t>(std::min<rlim_t>(limit.rlim_cur, kPlenty));
    const std::size_t open = OpenDescriptorCount();
    return soft > open ? soft - open : 0;
}

void RaiseOpenFileLimit() {
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &limit);
    }
}

} // namespace dirscribe
