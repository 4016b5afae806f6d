// SPDX-License-Identifier: MIT
// The toolbar's pictures, drawn rather than loaded so they stay sharp at any scale.
#pragma once

#include <QIcon>

namespace dirscribe {

// The picture of a toolbar command; a null icon for an id without one.
QIcon ToolbarIcon(int commandId);
// The program's own picture: a disk case insert with a listing on it.
QIcon ProgramIcon();

} // namespace dirscribe
