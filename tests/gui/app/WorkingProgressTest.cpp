// SPDX-License-Identifier: MIT
// "Working..." and the progress bar in the status bar.
#include "gui/app/WorkingProgress.h"

#include <QApplication>
#include <QFontMetrics>
#include <QStatusBar>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>

namespace dirscribe {
namespace {

TEST(WorkingProgressTest, BarStandsRightOfWorkingAndThePaneSaysReadyAgain) {
    QStatusBar statusBar;
    statusBar.resize(800, 24);
    statusBar.show();
    WorkingProgress progress(statusBar);
    progress.Begin();
    EXPECT_EQ(statusBar.currentMessage(), "Working...");
    ASSERT_NE(progress.Bar(), nullptr);
    const int textWidth = QFontMetrics(statusBar.font()).horizontalAdvance("Working...");
    EXPECT_EQ(progress.Bar()->geometry().left(), statusBar.contentsRect().left() + textWidth + 200);

    QApplication::processEvents();
    EXPECT_EQ(statusBar.currentMessage(), "Ready");
    progress.SetRange(4);
    progress.Step();
    progress.Step();
    progress.SetMessage("song.mp3");
    QTest::qWait(250); // the bar follows a few times a second
    EXPECT_EQ(progress.Bar()->maximum(), 4);
    EXPECT_EQ(progress.Bar()->value(), 2);
    EXPECT_EQ(statusBar.currentMessage(), "song.mp3");
    progress.End();
    EXPECT_EQ(progress.Bar(), nullptr);
}

TEST(WorkingProgressTest, AReaderThreadDrivesTheBarThroughTheEventLoop) {
    QStatusBar statusBar;
    statusBar.show();
    WorkingProgress progress(statusBar);
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
    ASSERT_NE(progress.Bar(), nullptr);
    progress.End();
    EXPECT_EQ(progress.Bar(), nullptr);
}

} // namespace
} // namespace dirscribe
