// SPDX-License-Identifier: MIT
// The check of a folder path the user typed or picked.
#pragma once

#include "core/platform/Notice.h"

#include <string>
#include <string_view>

namespace dirscribe {

inline constexpr const char* kEnterPathMessage =
    "Please enter Folder name and Path\r\n or select it from the tree.";
inline constexpr const char* kCheckPathMessage = "Please check Folder name and Path";
inline constexpr std::size_t kMaxPathBytes = 4095;

// Normalizes the path in place (blanks at both ends and trailing "/" removed, the root "/"
// kept) and tells whether it may be read. A refused path gets its message through notice:
// empty, a control character or over 4095 bytes. Every other byte may stand in a Linux
// name, "\", ":" and * ? " < > | too, so a real folder named "What?" is listed.
bool ValidatePath(std::string& path, Notice& notice);

// A checked path as a listing stores it: absolute, read against base (an absolute folder)
// when it is relative, with its "." parts left out. No link is resolved and ".." stays, since
// after a link it steps back from the link's target, not from the link. Without a base a
// relative path stays as it is.
std::string AbsolutePath(std::string_view path, std::string_view base);

} // namespace dirscribe
