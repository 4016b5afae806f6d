// SPDX-License-Identifier: MIT
#include "core/ops/ListingSession.h"

#include "support/RecordingNotice.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>

namespace dirscribe {
namespace {

using test::RecordingNotice;
using test::TempTree;

// Records are the lines after the closing rule of the header block.
std::string Records(const std::string& report) {
    const std::string rule = "=\r\n";
    const std::size_t first = report.find(rule);
    const std::size_t second = report.find(rule, first + rule.size());
    return report.substr(second + rule.size());
}

class ListingSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        tree.File("music/b.mp3", std::string(3000, 'b'));
        tree.File("music/a.mp3", std::string(2000, 'a'));
        tree.File("music/Live/c.mp3", std::string(1000, 'c'));
        ListingOptions& options = session.Options();
        options.printAs = static_cast<int>(PageLayout::Standard);
        options.addComments = 1;
        session.SetPath(tree.Path("music") + "/");
    }
    bool Refresh() { return session.ReadSelectedFolder(notice, progress, stop); }

    TempTree tree;
    ListingSession session;
    RecordingNotice notice;
    NullProgress progress;
    StopFlag stop;
};

TEST_F(ListingSessionTest, RefreshFillsTheTableAndARefusedPathLeavesItStale) {
    ASSERT_TRUE(Refresh());
    EXPECT_EQ(session.Path(), tree.Path("music")) << "the path is normalized";
    ASSERT_EQ(session.Table().RowCount(), 3);
    EXPECT_EQ(session.Table().Row(0), (RowRecord{"[Live]", "", "         1,000  b", "", ""}));
    EXPECT_TRUE(session.SortEnabled());
    EXPECT_TRUE(session.EditNotify());
    const std::string fresh = Records(session.TextReport(0));
    EXPECT_NE(fresh.find("a.mp3"), std::string::npos);

    session.SetPath("bad|path");
    EXPECT_FALSE(Refresh());
    EXPECT_EQ(session.Table().RowCount(), 3) << "the table keeps its rows";
    EXPECT_TRUE(session.Doc().entries.empty());
    EXPECT_EQ(Records(session.TextReport(0)), "") << "stale rows are not reported";

    stop.Request();
    session.SetPath(tree.Path("music"));
    EXPECT_TRUE(Refresh()) << "a new read clears an old stop request";
}

TEST_F(ListingSessionTest, ARefusedDocumentChangesNothingAndColumnClicksSortFlatListingsOnly) {
    session.Options().addComments = 0;
    ASSERT_TRUE(Refresh());
    const std::string report = tree.Path("listing.txt");
    ASSERT_TRUE(session.Save(report, notice, 0));
    const ListingOptions before = session.Options();
    const RowRecord firstRow = session.Table().Row(0);
    const std::string path = session.Path();
    EXPECT_FALSE(session.OpenDocument(report, notice, progress));
    ASSERT_EQ(notice.shown.size(), 1u);
    EXPECT_NE(notice.shown[0].text.find(report), std::string::npos) << notice.shown[0].text;
    EXPECT_EQ(session.Options(), before);
    EXPECT_EQ(session.Path(), path);
    EXPECT_EQ(session.Table().Row(0), firstRow);
    EXPECT_EQ(session.Table().RowCount(), 3);

    session.ClickColumn(1); // Size
    session.ClickColumn(1);
    EXPECT_EQ(session.Table().Cell(0, 0), "[Live]") << "the folder row stays on top";
    EXPECT_EQ(session.Table().Cell(1, 0), "b.mp3");
    session.Options().lastDepth = 1;
    ASSERT_TRUE(Refresh());
    const RowRecord first = session.Table().Row(0);
    session.ClickColumn(0);
    EXPECT_EQ(session.Table().Row(0), first) << "a tree listing ignores clicks";
}

} // namespace
} // namespace dirscribe
