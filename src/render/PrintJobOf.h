// SPDX-License-Identifier: MIT
// The print job of the listing a session shows.
#pragma once

#include "core/canvas/TextWidths.h"
#include "core/ops/ListingSession.h"
#include "core/print/PrintJob.h"

namespace dirscribe {

// A job of the session's table as it stands, under its settings, with its summary and
// listed folder, measured by widths (those of the device it will be drawn on).
PrintJob PrintJobOf(const ListingSession& session, const TextWidths& widths);

} // namespace dirscribe
