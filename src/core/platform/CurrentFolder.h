// SPDX-License-Identifier: MIT
// The current folder by the name the user knows it by.
#pragma once

#include <string>

namespace dirscribe {

// The absolute path of the current folder without its links resolved, as the shell's `pwd`
// says it: $PWD when that names the current folder, else the path the kernel gives. Empty
// when there is none (the folder was removed).
std::string CurrentFolder();

} // namespace dirscribe
