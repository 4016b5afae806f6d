// SPDX-License-Identifier: MIT
// The titles of the listing's columns: shown over them, printed and exported, and the keys
// under which the window stores their widths. The program knows a column by its kind
// (`ColumnKind`, core/table/TableColumn.h), never by its title.
#pragma once

namespace dirscribe {

inline constexpr const char* kFileNameTitle = "FileName";
inline constexpr const char* kCommentsTitle = "Comments";
inline constexpr const char* kSizeTitle = "Size";
inline constexpr const char* kAttrTitle = "Attr.";
inline constexpr const char* kLastModifiedTitle = "Last Modified";

} // namespace dirscribe
