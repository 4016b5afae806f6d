// SPDX-License-Identifier: MIT
// "Working..." and the progress bar in the status bar, fed from the interface thread and
// from a reader's.
#include "gui/app/WorkingProgress.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLineEdit>
#include <QProgressBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <QThread>
#include <functional>
#include <gtest/gtest.h>

namespace dirscribe {
namespace {

// The bar, while there is one.
QProgressBar* Bar(const QStatusBar& statusBar) {
    return statusBar.findChild<QProgressBar*>(QStringLiteral("progressBar"));
}

TEST(WorkingProgressTest, BarStandsRightOfWorkingWhichStaysUntilTheEndWhicheverThreadDrivesIt) {
    QStatusBar statusBar;
    statusBar.resize(800, 24);
    statusBar.show();
    WorkingProgress progress(statusBar);
    progress.Begin();
    EXPECT_EQ(statusBar.currentMessage(), "Working...");
    ASSERT_NE(Bar(statusBar), nullptr);
    EXPECT_EQ(Bar(statusBar)->maximum(), 0) << "Qt's busy indicator until the amount is known";
    const int textWidth = QFontMetrics(statusBar.font()).horizontalAdvance("Working...");
    EXPECT_EQ(Bar(statusBar)->geometry().left(), statusBar.contentsRect().left() + textWidth + 200);

    progress.SetRange(4);
    progress.Step();
    progress.Advance(2);
    progress.SetMessage("song.mp3"); // it would stand under the bar
    QTest::qWait(250);               // the bar follows a few times a second
    EXPECT_EQ(Bar(statusBar)->maximum(), 4);
    EXPECT_EQ(Bar(statusBar)->value(), 3);
    EXPECT_EQ(statusBar.currentMessage(), "Working...");
    progress.End();
    EXPECT_EQ(Bar(statusBar), nullptr);
    EXPECT_EQ(statusBar.currentMessage(), "Ready");

    // A reader's thread drives the bar through the event loop.
    std::unique_ptr<QThread> reader(QThread::create([&progress] {
        for (int folder = 0; folder < 1000; ++folder) {
            progress.Begin();
            progress.Step();
            progress.End();
        }
        progress.Begin();
    }));
    reader->start();
    reader->wait();
    QTest::qWait(250);
    ASSERT_NE(Bar(statusBar), nullptr);
    progress.End();
    EXPECT_EQ(Bar(statusBar), nullptr);
}

} // namespace
} // namespace dirscribe
