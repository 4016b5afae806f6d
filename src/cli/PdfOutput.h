// SPDX-License-Identifier: MIT
// The command line's PDF output.
#pragma once

#include "core/ops/ListingSession.h"
#include "core/platform/Notice.h"

#include <string>

namespace dirscribe {

// Prints the session's listing into a PDF file in its layout, as the window would print
// it. Starts Qt's GUI machinery for the fonts when the process has none, on the
// "offscreen" platform unless QT_QPA_PLATFORM names another, so no display is needed. An
// empty listing prints its title and summary. A pipe or a device is written into; a regular
// file is replaced atomically. False, with a message, when the file could not be written; an
// existing file is then left as it was.
bool WritePdfOutput(const ListingSession& session, const std::string& path, Notice& notice);

} // namespace dirscribe
