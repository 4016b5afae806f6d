// SPDX-License-Identifier: MIT
// The view's reader thread: Stop ends a read and the table keeps the listing it had.
#include "gui/app/ListingView.h"

#include "core/ops/ListingSession.h"
#include "support/RecordingNotice.h"
#include "support/TempTree.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTableView>
#include <functional>
#include <gtest/gtest.h>

namespace dirscribe {
namespace {

using test::RecordingNotice;
using test::TempTree;

// Runs an action when the reader starts showing progress, on the reader's own thread,
// as a user pressing Stop while the bar moves would.
class ActingProgress final : public Progress {
public:
    std::function<void()> onBegin;
    void Begin() override {
        if (onBegin)
            onBegin();
    }
    void SetRange(std::int64_t) override {}
    void Step() override {}
    void SetMessage(std::string_view) override {}
    void End() override {}
};

bool Read(ListingView& view, const std::string& path) {
    view.PathBox().setText(QString::fromStdString(path));
    QSignalSpy finished(&view, &ListingView::ReadFinished);
    view.ReadSelectedFolder();
    EXPECT_TRUE(view.Reading());
    EXPECT_TRUE(finished.wait(10000));
    EXPECT_FALSE(view.Reading());
    return !finished.isEmpty() && finished.first().first().toBool();
}

TEST(ListingViewTest, StopEndsTheReadAndKeepsTheTableAsItWas) {
    TempTree folder;
    folder.File("first/a.txt", "1");
    for (int file = 0; file < 50; ++file)
        folder.File("second/f" + std::to_string(file), "x");
    ListingSession session;
    RecordingNotice notice;
    ActingProgress progress;
    ListingView view(session, notice, progress);
    view.show();
    ASSERT_TRUE(Read(view, folder.Path("first")));
    ASSERT_EQ(view.Table().model()->rowCount(), 1);

    progress.onBegin = [&view] {
        view.Stop();
    };
    EXPECT_FALSE(Read(view, folder.Path("second")));
    EXPECT_EQ(view.Table().model()->rowCount(), 1);
    EXPECT_EQ(view.Table().model()->index(0, 0).data().toString(), "a.txt");
    EXPECT_EQ(view.PathBox().text().toStdString(), folder.Path("first"));
    EXPECT_EQ(session.Doc().summary.fileCount, 1) << "the summary is the listing's on show";
    EXPECT_TRUE(notice.shown.empty());

    // The flag is cleared when the next read starts.
    progress.onBegin = nullptr;
    EXPECT_TRUE(Read(view, folder.Path("second")));
    EXPECT_EQ(view.Table().model()->rowCount(), 50);
}

} // namespace
} // namespace dirscribe
