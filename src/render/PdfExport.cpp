// SPDX-License-Identifier: MIT
// A print job saved as a PDF file.
#include "render/PdfExport.h"

#include "core/Error.h"
#include "core/platform/AtomicFile.h"
#include "core/platform/Clock.h"
#include "render/PagePrinter.h"

#include <QBuffer>
#include <QByteArray>
#include <QPdfWriter>
#include <QString>
#include <ctime>
#include <string_view>

namespace dirscribe {

namespace {

// Fine enough that 0.01 inch is a whole number of device units.
constexpr int kPdfResolution = 1200;

// Qt stamps the document with the wall clock; the program's own "now" (which
// SOURCE_DATE_EPOCH fixes) takes its place, in the same number of bytes so that the
// file's cross-reference offsets stay right.
void StampCreationDate(QByteArray& bytes) {
    static constexpr std::string_view kKey = "/CreationDate (D:";
    constexpr qsizetype kDigits = 14;
    const qsizetype at = bytes.indexOf(kKey.data());
    if (at < 0 || at + static_cast<qsizetype>(kKey.size()) + kDigits > bytes.size())
        return;
    const std::time_t now = Now();
    std::tm utc{};
    ::gmtime_r(&now, &utc);
    char digits[kDigits + 1];
    if (std::strftime(digits, sizeof digits, "%Y%m%d%H%M%S", &utc) != kDigits)
        return;
    bytes.replace(at + static_cast<qsizetype>(kKey.size()), kDigits, digits, kDigits);
}

} // namespace

bool WritePdf(PrintJob& job, const std::string& path, Notice& notice, SpecialFiles special) {
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
    StampCreationDate(bytes);
    try {
        WriteFileAtomically(
            path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
            special);
    } catch (const Error& error) {
        notice.Show(kCaption, error.what());
        return false;
    }
    return true;
}

} // namespace dirscribe
