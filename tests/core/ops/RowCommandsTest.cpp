// SPDX-License-Identifier: MIT
#include "core/ops/ListingSession.h"
#include "support/RecordingNotice.h"
#include "support/StandardListing.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>

namespace dirscribe {
namespace {

using test::RecordingNotice;
using test::TempTree;

// A single-folder listing: [Live] on top (the one head folder), then a.mp3 and b.mp3.
class RowCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        tree.File("music/b.mp3", std::string(3000, 'b'));
        tree.File("music/a.mp3", std::string(2000, 'a'));
        tree.Folder("music/Live");
        test::UseFlatStandardWithComments(session.Options());
        session.SetPath(tree.Path("music"));
        ASSERT_TRUE(session.ReadSelectedFolder(notice, progress, stop));
        ASSERT_EQ(Names(), (std::vector<std::string>{"[Live]", "a.mp3", "b.mp3"}));
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (int row = 0; row < session.Table().RowCount(); ++row)
            names.emplace_back(session.Table().Cell(row, 0));
        return names;
    }

    TempTree tree;
    ListingSession session;
    RecordingNotice notice;
    NullProgress progress;
    StopFlag stop;
};

TEST_F(RowCommandsTest, InsertAndDeleteRowsMarkTheListingModified) {
    EXPECT_FALSE(session.Modified());
    EXPECT_EQ(session.InsertBlankRow(-1), 0) << "no focused row: at the top";
    EXPECT_EQ(session.Table().Row(0), RowRecord{});
    EXPECT_TRUE(session.Modified());

    session.SetModified(false);
    EXPECT_EQ(session.InsertBlankRow(2), 3) << "below the focused row";
    EXPECT_EQ(Names(), (std::vector<std::string>{"", "[Live]", "a.mp3", "", "b.mp3"}));
    EXPECT_EQ(session.Table().ItemData(3), 0);

    EXPECT_EQ(session.InsertCommentRow(2), 3);
    EXPECT_EQ(session.Table().Row(3), (RowRecord{"comments:", "", "", "", ""}));
    EXPECT_TRUE(session.Table().IsCommentRow(3));
    EXPECT_FALSE(session.Table().IsCommentRow(2));

    session.SetModified(false);
    EXPECT_FALSE(session.DeleteRow(-1)) << "no focused row: nothing happens";
    EXPECT_FALSE(session.DeleteRow(session.Table().RowCount()));
    EXPECT_EQ(session.Table().RowCount(), 6);
    EXPECT_FALSE(session.Modified());
    EXPECT_TRUE(session.DeleteRow(3)) << "a comment row goes like any other";
    EXPECT_EQ(Names(), (std::vector<std::string>{"", "[Live]", "a.mp3", "", "b.mp3"}));
    EXPECT_TRUE(session.Modified());

    ASSERT_TRUE(session.ReadSelectedFolder(notice, progress, stop));
    EXPECT_FALSE(session.Modified()) << "a fresh listing has nothing to save";
    EXPECT_EQ(Names(), (std::vector<std::string>{"[Live]", "a.mp3", "b.mp3"}));
}

TEST_F(RowCommandsTest, StoringACellMarksOnlyARealChange) {
    EXPECT_FALSE(session.SetCellText(1, 1, "")) << "the same text again";
    EXPECT_FALSE(session.Modified());
    EXPECT_TRUE(session.SetCellText(1, 1, "lead vocals"));
    EXPECT_EQ(session.Table().Cell(1, 1), "lead vocals");
    EXPECT_TRUE(session.Modified());
    EXPECT_FALSE(session.SetCellText(1, 5, "beyond the columns"));
    EXPECT_FALSE(session.SetCellText(3, 1, "beyond the rows"));
    EXPECT_EQ(session.Table().RowCount(), 3);
}

// Sorting keeps the folder rows of the top group above the files; the group follows the
// rows that are deleted or inserted among it.
TEST_F(RowCommandsTest, TheFolderGroupFollowsDeletedAndInsertedRows) {
    const int size = session.Table().ColumnIndex("Size");
    ASSERT_TRUE(session.DeleteRow(0));
    session.ClickColumn(size);
    EXPECT_EQ(Names(), (std::vector<std::string>{"a.mp3", "b.mp3"}));
    session.ClickColumn(size);
    EXPECT_EQ(Names(), (std::vector<std::string>{"b.mp3", "a.mp3"}))
        << "the first file row is not held on top as a folder";

    ASSERT_TRUE(session.ReadSelectedFolder(notice, progress, stop));
    session.InsertBlankRow(-1);
    for (int click = 0; click < 2; ++click) {
        session.ClickColumn(0);
        const std::vector<std::string> names = Names();
        EXPECT_TRUE(names[0] == "[Live]" || names[1] == "[Live]")
            << "the folder stays in the top group after click " << click;
    }
}

} // namespace
} // namespace dirscribe
