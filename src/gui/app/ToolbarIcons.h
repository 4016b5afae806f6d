// SPDX-License-Identifier: MIT
// The toolbar's pictures: the desktop's icon theme where it has one, else our own SVGs.
#pragma once

#include <QIcon>

namespace dirscribe {

struct WindowCommand;

// The picture of a command; a null icon for a command without one. The commands every
// desktop knows (open, save, print, refresh, stop, browse, list) come from the icon theme
// when it has them; the layouts, the columns and the font size are the program's own.
// All are scalable, so they stay sharp at any size and on a 2x screen.
QIcon CommandIcon(const WindowCommand& command);
// The program's own picture.
QIcon ProgramIcon();

} // namespace dirscribe
