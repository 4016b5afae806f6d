// SPDX-License-Identifier: MIT
// The check of a folder path the user typed or picked.
#pragma once

#include "core/platform/Notice.h"

#include <string>

namespace dirscribe {

inline constexpr const char* kEnterPathMessage =
    "Please enter Folder name and Path\r\n or select it from the tree.";
inline constexpr const char* kCheckPathMessage = "Please check Folder name and Path";
// Only the characters refused here are named: "\" and ":" are ordinary on Linux, and "/"
// separates folders.
inline constexpr const char* kBadCharacterMessage =
    "A folder/file Name cannot contain any of the following characters:\n* ? \" < > |";
inline constexpr std::size_t kMaxPathBytes = 4095;

// Whether c may not stand in a path: inside it (inside = true) the characters * ? " | < >;
// at its end (inside = false) also "/", which is removed there.
bool IsBadPathChar(char c, bool inside);

// Normalizes the path in place (blanks at both ends and trailing "/" removed, the root "/"
// kept) and tells whether it may be read. A refused path gets its message through notice:
// empty, a control character or over 4095 bytes, or a character IsBadPathChar refuses.
bool ValidatePath(std::string& path, Notice& notice);

} // namespace dirscribe
