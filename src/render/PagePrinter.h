// SPDX-License-Identifier: MIT
// Prints a job's pages onto a printer, a preview or a PDF writer.
#pragma once

#include "core/print/PrintJob.h"

#include <QPagedPaintDevice>

namespace dirscribe {

// The page drawing measures from the top left of a printer's printable area, which on the
// usual office printers lies a quarter inch in from the paper's edges; every page is
// therefore Letter with a 0.25 inch margin on each side, and the drawing's origin is the
// margin's corner. The drawing reaches 7.5 inches across and 10.22 inches down, inside the
// 8 by 10.5 inches the margins leave.
inline constexpr qreal kPrintMarginInches = 0.25;

// Sets Letter paper in portrait with the margins above.
void SetLetterPage(QPagedPaintDevice& device);

// Sets the page as SetLetterPage does and prints pages from..to of the job (clamped to
// 1..PageCount()), each on a sheet of its own; no page at all when none is in that range,
// and the device is then left alone. False when the device could not be opened
// for painting (an unwritable output, an unavailable printer).
bool PrintPages(PrintJob& job, QPagedPaintDevice& device, int from, int to);

} // namespace dirscribe
