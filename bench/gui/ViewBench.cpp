// SPDX-License-Identifier: MIT
// Showing a million-row listing in the window: opening the document into the table view,
// painting the first screen and scrolling, and the memory the rows cost. Given a folder,
// it reads that folder at depth All in the window instead, until the table is painted.
#include "../ProcessMemory.h"
#include "core/docfile/DocumentFile.h"
#include "core/ops/ListingSession.h"
#include "core/platform/AtomicFile.h"
#include "core/table/TablePopulation.h"
#include "gui/app/ListingView.h"
#include "gui/app/MainWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableView>
#include <cstdio>
#include <string>

namespace {

using namespace dirscribe;
using bench::PeakBytes;
using bench::ResidentBytes;

constexpr int kRows = 1'000'000;

class SilentNotice final : public Notice {
public:
    void Show(std::string_view, std::string_view text, NoticeIcon) override {
        std::fprintf(stderr, "message: %.*s\n", static_cast<int>(text.size()), text.data());
    }
};

// A document as a large music archive gives it: every column filled.
std::string MakeDocument() {
    ListingOptions options;
    options.printAs = PageLayout::Standard;
    options.addComments = options.addSize = options.addAttribute = options.addDate = 1;
    ListingTable table;
    table.SetColumns({ListingColumn(ColumnKind::FileName), ListingColumn(ColumnKind::Comments),
                      ListingColumn(ColumnKind::Size), ListingColumn(ColumnKind::Attributes),
                      ListingColumn(ColumnKind::Date)});
    table.ReserveRows(kRows);
    char name[64];
    char size[32];
    for (int r = 0; r < kRows; ++r) {
        std::snprintf(name, sizeof name, "%03d - Artist Name - Track Title %d.mp3", r % 1000, r);
        std::snprintf(size, sizeof size, "%12.1f Kb", (r % 9000) * 1.5);
        table.AppendCells({name, "", size, "A", " 12/18/2002 14:05:09"}, RowKind::Entry);
    }
    return WriteDocumentFile({}, "/music", options, table);
}

double Milliseconds(QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// Each of 200 jumps to a far row and the repaint after it, on average.
double ScrollMilliseconds(QTableView& table) {
    QScrollBar* bar = table.verticalScrollBar();
    QElapsedTimer timer;
    timer.start();
    constexpr int kScrolls = 200;
    for (int step = 0; step < kScrolls; ++step) {
        bar->setValue(bar->maximum() / kScrolls * step);
        table.viewport()->grab();
    }
    return Milliseconds(timer) / kScrolls;
}

// A Standard listing of the folder at depth All with every column, as a user asks for
// it in the window: from the refresh until the table is painted.
int ReadFolder(const QString& folder) {
    SilentNotice notice;
    ListingOptions options;
    options.printAs = PageLayout::Standard;
    options.lastDepth = -1;
    options.addComments = options.addSize = options.addAttribute = options.addDate = 1;
    ListingSession session(options);
    MainWindow window(session, notice, {});
    window.resize(1000, 700);
    window.show();
    QApplication::processEvents();
    const double before = PeakBytes();

    QElapsedTimer timer;
    timer.start();
    QEventLoop loop;
    window.View().PathBox().setText(folder);
    window.View().ReadSelectedFolder([&loop](bool) { loop.quit(); });
    loop.exec();
    window.View().Table().grab();
    const double seconds = Milliseconds(timer) / 1e3;
    const double peak = PeakBytes();

    const int rows = session.Listing().table.RowCount();
    const double scroll = ScrollMilliseconds(window.View().Table());
    std::printf("%-44s %10.3f s\n", "window: read at depth all until painted", seconds);
    std::printf("%-44s %10d\n", "rows", rows);
    std::printf("%-44s %10.1f MiB\n", "peak resident memory of the process", peak / 1048576);
    std::printf("%-44s %10.0f bytes\n", "peak per row", peak / rows);
    std::printf("%-44s %10.0f bytes\n", "of which the read, per row", (peak - before) / rows);
    std::printf("%-44s %10.2f ms\n", "scroll to a far row and repaint (each)", scroll);
    return rows > 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc > 1)
        return ReadFolder(QString::fromLocal8Bit(argv[1]));
    const std::string file = "/tmp/dirscribe-view-bench.dsc";
    WriteFileAtomically(file, MakeDocument());

    SilentNotice notice;
    ListingSession session;
    MainWindow window(session, notice, {});
    window.resize(1000, 700);
    window.show();
    QApplication::processEvents();

    const double before = ResidentBytes();
    QElapsedTimer timer;
    timer.start();
    window.OpenDocument(QString::fromStdString(file));
    const double open = Milliseconds(timer);
    timer.restart();
    window.View().Table().grab();
    const double firstPaint = Milliseconds(timer);
    const double after = ResidentBytes();

    const double scroll = ScrollMilliseconds(window.View().Table());
    std::remove(file.c_str());

    // A click on the Size head sorts the rows; the sort is a step Undo takes back.
    QHeaderView& head = *window.View().Table().horizontalHeader();
    timer.restart();
    emit head.sectionClicked(2);
    window.View().Table().grab();
    const double sort = Milliseconds(timer);
    const double sorted = ResidentBytes();
    timer.restart();
    window.View().Undo();
    window.View().Table().grab();
    const double undo = Milliseconds(timer);

    std::printf("\nWindow, %d rows of five columns\n", session.Listing().table.RowCount());
    std::printf("%-44s %10.1f ms\n", "open document and fill the view", open);
    std::printf("%-44s %10.1f ms\n", "first paint of the table", firstPaint);
    std::printf("%-44s %10.2f ms\n", "scroll to a far row and repaint (each)", scroll);
    std::printf("%-44s %10.1f bytes\n", "resident memory per row", (after - before) / kRows);
    std::printf("%-44s %10.1f ms\n", "sort by a click on Size, and repaint", sort);
    std::printf("%-44s %10.1f bytes\n", "memory the sort added, per row", (sorted - after) / kRows);
    std::printf("%-44s %10.1f ms\n", "undo the sort, and repaint", undo);
    return 0;
}
