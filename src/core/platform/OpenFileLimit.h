// SPDX-License-Identifier: MIT
// How many more files this process may open.
#pragma once

#include <cstddef>

namespace dirscribe {

// The soft limit on open files less the descriptors open now (as /proc/self/fd lists
// them; without /proc, a guess of a few). A moment's answer: other threads may open more.
std::size_t FreeDescriptorCount();

} // namespace dirscribe
