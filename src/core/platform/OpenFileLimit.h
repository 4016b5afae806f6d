// SPDX-License-Identifier: MIT
// How many files this process may open.
#pragma once

#include <cstddef>

namespace dirscribe {

// The soft limit on open files less the descriptors open now (as /proc/self/fd lists
// them; without /proc, a guess of a few). A moment's answer: other threads may open more.
std::size_t FreeDescriptorCount();

// Raises the soft limit on open files to the hard limit. A walk needs only a few open
// folders, but with more it reopens fewer; both front ends call this as they start.
void RaiseOpenFileLimit();

} // namespace dirscribe
