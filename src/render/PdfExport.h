// SPDX-License-Identifier: MIT
// A print job saved as a PDF file.
#pragma once

#include "core/platform/AtomicFile.h"
#include "core/platform/Notice.h"
#include "core/print/PrintJob.h"

#include <string>

namespace dirscribe {

// Writes every page of the job as a PDF on Letter paper (see PagePrinter.h), titled with
// the listed folder's path. The file is replaced atomically (a pipe or a device is written
// into or refused as `special` says): a failure shows a message naming the file and the
// reason through notice, returns false and leaves any existing file as it was. Needs a
// QGuiApplication for the fonts.
bool WritePdf(PrintJob& job, const std::string& path, Notice& notice,
              SpecialFiles special = SpecialFiles::Refuse);

} // namespace dirscribe
