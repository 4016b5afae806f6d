// SPDX-License-Identifier: MIT
// Prints a job's pages onto a paged device.
#include "render/PagePrinter.h"

#include "render/QPainterCanvas.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <algorithm>

namespace dirscribe {

void SetLetterPage(QPagedPaintDevice& device) {
    const QMarginsF margins(kPrintMarginInches, kPrintMarginInches, kPrintMarginInches,
                            kPrintMarginInches);
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, margins,
                                     QPageLayout::Inch));
}

bool PrintPages(PrintJob& job, QPagedPaintDevice& device, int from, int to) {
    from = std::max(from, 1);
    to = std::min(to, job.PageCount());
    if (from > to)
        return true; // nothing asked for; a printer gets no empty sheet
    SetLetterPage(device);
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QPainterCanvas canvas(painter);
    for (int page = from; page <= to; ++page) {
        if (page > from && !device.newPage())
            return false;
        job.DrawPage(canvas, page);
    }
    return painter.end();
}

} // namespace dirscribe
