// SPDX-License-Identifier: MIT
// A print job saved as a PDF file.
#pragma once

#include "core/platform/AtomicFile.h"
#include "core/platform/Notice.h"
#include "core/print/PrintJob.h"
#include "render/DeviceTextWidths.h"

#include <QBuffer>
#include <QPdfWriter>
#include <string>

namespace dirscribe {

// Writes every page of the job as a PDF on Letter paper (see PagePrinter.h), titled with
// the listed folder's path. The file is replaced atomically (a pipe or a device is written
// into or refused as `special` says): a failure shows a message naming the file and the
// reason through notice, returns false and leaves any existing file as it was. Needs a
// QGuiApplication for the fonts.
// Widths as the pages WritePdf writes measure them, for the job it is given. Needs a
// QGuiApplication.
class PdfTextWidths final : public TextWidths {
public:
    PdfTextWidths();
    [[nodiscard]] double Width(std::string_view text, const FontRequest& font) const override {
        return m_widths.Width(text, font);
    }

private:
    QBuffer m_unused; // the writer's output; nothing is drawn
    QPdfWriter m_writer;
    DeviceTextWidths m_widths;
};

bool WritePdf(PrintJob& job, const std::string& path, Notice& notice,
              SpecialFiles special = SpecialFiles::Refuse);

} // namespace dirscribe
