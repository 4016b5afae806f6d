// SPDX-License-Identifier: MIT
// A print job saved as a PDF file.
#include "gui/render/PdfExport.h"

#include "core/Error.h"
#include "core/platform/AtomicFile.h"
#include "gui/render/PagePrinter.h"

#include <QBuffer>
#include <QByteArray>
#include <QPdfWriter>
#include <QString>
#include <string_view>

namespace dirscribe {

namespace {

// Fine enough that 0.01 inch is a whole number of device units.
constexpr int kPdfResolution = 1200;

} // namespace

bool WritePdf(PrintJob& job, const std::string& path, Notice& notice) {
    // The document is made in memory, so nothing touches the target until it is complete.
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(kPdfResolution);
        writer.setCreator(QStringLiteral("Dirscribe"));
        writer.setTitle(QString::fromStdString(job.FolderPath()));
        if (!PrintPages(job, writer, 1, job.PageCount())) {
            notice.Show(kCaption, "Cannot save \"" + path + "\": the PDF could not be drawn");
            return false;
        }
    }
    try {
        WriteFileAtomically(
            path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    } catch (const Error& error) {
        notice.Show(kCaption, error.what());
        return false;
    }
    return true;
}

} // namespace dirscribe
