// SPDX-License-Identifier: MIT
// The window program's entry point.
#pragma once

#include "core/options/Profile.h"

namespace dirscribe {

// Starts the window (opening a document named by the arguments) and runs until it closes;
// returns the exit status. When a window of the program is already open in the session, the
// document (or, without one, the window itself) is handed to it instead, and the start ends.
int RunGui(int argc, char** argv);

// The window's settings from the profile; on its first start (no profile file yet) the
// letter page with its Comments column, so a new user can list a folder and type at once.
// The command line keeps the defaults it always had.
LoadedProfile LoadWindowProfile(Notice& notice);

} // namespace dirscribe
