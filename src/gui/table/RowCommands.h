// SPDX-License-Identifier: MIT
// Command ids of the table's row commands, in its context menu and the window's Edit menu.
#pragma once

namespace dirscribe::command {

inline constexpr int kInsertRowUnnamed = 32777; // the context menu's first item, with no text
inline constexpr int kInsertRow = 32805;
inline constexpr int kDeleteRow = 32778;

} // namespace dirscribe::command
