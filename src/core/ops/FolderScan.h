// SPDX-License-Identifier: MIT
// Reading a folder for a listing, apart from any listing on show.
#pragma once

#include "core/listing/CDirscribeDoc.h"
#include "core/options/ListingOptions.h"
#include "core/platform/Notice.h"
#include "core/platform/Progress.h"
#include "core/platform/StopFlag.h"

#include <optional>
#include <string>

namespace dirscribe {

// What a read of a folder found, before it is shown.
struct FolderScan {
    CDirscribeDoc doc;
    std::string path;   // as given, checked and normalized (ValidatePath)
    std::string folder; // path made absolute against the current folder (AbsolutePath)
};

// The shape a read under these settings gives: only the letter page descends.
ListingShape ShapeToRead(const ListingOptions& options);

// Checks and normalizes path (a relative one is read against the current folder; a window
// works in the home folder), reads the folder (in the Standard layout to `LastDepth`
// levels, with the content setting) and the volume it is on. Nothing, after a message, when
// the path was refused, the folder could not be read or memory ran out (" There are not
// enough memory! "); nothing when the read was stopped. It reads only the content, layout
// and depth of options, and touches nothing else, so it may run on a thread of its own. The
// caller clears the stop flag before the read starts: a Stop given as soon as a read on
// another thread has started must not be lost.
std::optional<FolderScan> ScanFolder(std::string path, const ListingOptions& options,
                                     Notice& notice, Progress& progress, StopFlag& stop);

} // namespace dirscribe
