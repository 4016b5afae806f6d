// SPDX-License-Identifier: MIT
#include "gui/print/ListingPrinter.h"

#include "core/ops/ListingSession.h"
#include "core/print/PrintJob.h"
#include "render/DeviceTextWidths.h"
#include "render/PagePrinter.h"
#include "render/PrintJobOf.h"
#include "render/QtText.h"

#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinterInfo>

namespace dirscribe {

namespace {

const QString kEmptyQuestion =
    QStringLiteral("Selected Folder is empty! \nDo you want to proceed anyway?");

bool AskWithMessageBox(QWidget& parent, const QString& caption, const QString& text) {
    return QMessageBox::question(&parent, caption, text, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

} // namespace

ListingPrinter::ListingPrinter(ListingSession& session, Notice& notice, QWidget& window)
    : m_session(session), m_notice(notice), m_window(window) {
    SetLetterPage(m_printer);
}

ListingPrinter::~ListingPrinter() = default;

std::unique_ptr<PrintJob> ListingPrinter::PrepareJob() {
    // Print and preview draw on this printer, so its widths are the job's.
    auto job = std::make_unique<PrintJob>(PrintJobOf(m_session, DeviceTextWidths(m_printer)));
    if (job->IsEmpty() && !AskWithMessageBox(m_window, ToQString(kCaption), kEmptyQuestion))
        return nullptr;
    return job;
}

void ListingPrinter::FinishJob(const PrintJob& job) {
    if (job.BodyFontFailed())
        m_session.Options().addSizeInBytes = 0;
}

void ListingPrinter::Print() {
    const std::unique_ptr<PrintJob> job = PrepareJob();
    if (!job)
        return;
    QPrintDialog dialog(&m_printer, &m_window);
    dialog.setMinMax(1, job->PageCount());
    dialog.setFromTo(1, job->PageCount());
    if (dialog.exec() != QDialog::Accepted)
        return;
    const bool range = m_printer.printRange() == QPrinter::PageRange;
    if (!PrintPages(*job, m_printer, range ? m_printer.fromPage() : 1,
                    range ? m_printer.toPage() : job->PageCount()))
        m_notice.Show(kCaption, "The printer could not be opened.");
    FinishJob(*job);
}

void ListingPrinter::Preview() {
    const std::unique_ptr<PrintJob> job = PrepareJob();
    if (!job)
        return;
    QPrintPreviewDialog preview(&m_printer, &m_window);
    preview.setObjectName(QStringLiteral("printPreview"));
    QObject::connect(
        &preview, &QPrintPreviewDialog::paintRequested, &preview,
        [&job](QPrinter* printer) { PrintPages(*job, *printer, 1, job->PageCount()); });
    // As large as the window, the page as wide as it: the rows can be read, not only seen.
    preview.resize(m_window.size().expandedTo(preview.sizeHint()));
    if (auto* pages = preview.findChild<QPrintPreviewWidget*>())
        pages->fitToWidth();
    preview.exec();
    FinishJob(*job);
}

void ListingPrinter::Setup() {
    QPageSetupDialog dialog(&m_printer, &m_window);
    dialog.exec();
}

bool ListingPrinter::PrintDirect(const QString& printerName) {
    const QPrinterInfo info = printerName.isEmpty() ? QPrinterInfo::defaultPrinter()
                                                    : QPrinterInfo::printerInfo(printerName);
    if (info.isNull()) {
        m_notice.Show(kCaption, printerName.isEmpty() ? std::string("There is no default printer.")
                                                      : "There is no printer named " +
                                                            printerName.toStdString() + ".");
        return false;
    }
    QPrinter printer(info, QPrinter::HighResolution);
    PrintJob job = PrintJobOf(m_session, DeviceTextWidths(printer));
    if (!PrintPages(job, printer, 1, job.PageCount())) {
        m_notice.Show(kCaption, "The printer could not be opened.");
        return false;
    }
    FinishJob(job);
    return true;
}

} // namespace dirscribe
