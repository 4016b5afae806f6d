// SPDX-License-Identifier: MIT
// The titles of the listing's columns, which the settings and the table both name.
#pragma once

namespace dirscribe {

// The exact column titles; the program recognises a column by its title in several places.
inline constexpr const char* kFileNameTitle = "FileName";
inline constexpr const char* kCommentsTitle = "Comments";
inline constexpr const char* kSizeTitle = "Size";
inline constexpr const char* kAttrTitle = "Attr.";
inline constexpr const char* kLastModifiedTitle = "Last Modified";

} // namespace dirscribe
