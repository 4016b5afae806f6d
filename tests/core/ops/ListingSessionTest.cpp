// SPDX-License-Identifier: MIT
// The listing session over a real folder: reading, refusals, row commands and sorting.
#include "core/ops/ListingSession.h"

#include "support/RecordingNotice.h"
#include "support/SessionReport.h"
#include "support/StandardListing.h"
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

// A flat Standard listing of music/: [Live] on top (the one head folder), then a.mp3 and b.mp3.
class ListingSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        tree.File("music/b.mp3", std::string(3000, 'b'));
        tree.File("music/a.mp3", std::string(2000, 'a'));
        tree.File("music/Live/c.mp3", std::string(1000, 'c'));
        test::UseFlatStandardWithComments(session.Options());
        folder = tree.Path("music") + "/";
    }
    bool Refresh() { return session.ReadFolder(folder, notice, progress, stop); }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (int row = 0; row < session.Listing().table.RowCount(); ++row)
            names.emplace_back(session.Listing().table.Cell(row, 0));
        return names;
    }

    TempTree tree;
    std::string folder; // as the path box holds it
    ListingSession session;
    RecordingNotice notice;
    NullProgress progress;
    StopFlag stop;
};

TEST_F(ListingSessionTest, RefreshFillsTheTableAndAFailedReadLeavesTheListingWhole) {
    ASSERT_TRUE(Refresh());
    EXPECT_EQ(session.Listing().path, tree.Path("music")) << "the path is normalized";
    ASSERT_EQ(session.Listing().table.RowCount(), 3);
    EXPECT_EQ(session.Listing().table.Row(0),
              (RowRecord{"[Live]", "", "         1,000  b", "", ""}));
    EXPECT_TRUE(session.Listing().Sortable());
    EXPECT_TRUE(session.Listing().EditNotify());
    const std::string fresh = test::ReportOf(session, 0);
    EXPECT_NE(Records(fresh).find("a.mp3"), std::string::npos);

    for (const std::string& path : {std::string("bad|path"), tree.Path("missing")}) {
        folder = path;
        EXPECT_FALSE(Refresh());
        EXPECT_EQ(test::ReportOf(session, 0), fresh) << "path, summary and rows are the listing's";
    }

    stop.Request(); // as Stop pressed the moment a read has started
    folder = tree.Path("music");
    EXPECT_FALSE(Refresh());
    EXPECT_EQ(test::ReportOf(session, 0), fresh);
}

TEST_F(ListingSessionTest, ARefusedDocumentChangesNothingAndATreeIgnoresColumnClicks) {
    session.Options().addComments = 0;
    ASSERT_TRUE(Refresh());
    const std::string report = tree.Path("listing.txt");
    ASSERT_TRUE(session.Save(report, SaveFormatFor(report), notice, 0));
    const ListingOptions before = session.Options();
    const RowRecord firstRow = session.Listing().table.Row(0);
    const std::string path = session.Listing().path;
    EXPECT_FALSE(session.OpenDocument(report, notice, progress));
    ASSERT_EQ(notice.shown.size(), 1u);
    EXPECT_NE(notice.shown[0].text.find(report), std::string::npos) << notice.shown[0].text;
    EXPECT_EQ(session.Options(), before);
    EXPECT_EQ(session.Listing().path, path);
    EXPECT_EQ(session.Listing().table.Row(0), firstRow);
    EXPECT_EQ(session.Listing().table.RowCount(), 3);

    session.Options().lastDepth = 1;
    ASSERT_TRUE(Refresh());
    const std::vector<std::string> shown = Names();
    EXPECT_FALSE(session.ClickColumn(1));
    EXPECT_FALSE(session.ClickColumn(1));
    EXPECT_EQ(Names(), shown) << "a tree listing keeps its order, by size or any column";
}

TEST_F(ListingSessionTest, InsertAndDeleteRowsMarkTheListingModified) {
    ASSERT_TRUE(Refresh());
    EXPECT_FALSE(session.Listing().modified);
    EXPECT_EQ(session.InsertBlankRow(-1), 0) << "no focused row: at the top";
    EXPECT_EQ(session.Listing().table.Row(0), RowRecord{});
    EXPECT_TRUE(session.Listing().modified);

    session.SetModified(false);
    EXPECT_EQ(session.InsertBlankRow(2), 3) << "below the focused row";
    EXPECT_EQ(Names(), (std::vector<std::string>{"", "[Live]", "a.mp3", "", "b.mp3"}));
    EXPECT_EQ(session.Listing().table.ItemData(3), 0);

    EXPECT_EQ(session.InsertCommentRow(2), 3);
    EXPECT_EQ(session.Listing().table.Row(3), (RowRecord{"comments:", "", "", "", ""}));
    EXPECT_TRUE(session.Listing().table.IsCommentRow(3));
    EXPECT_FALSE(session.Listing().table.IsCommentRow(2));
    EXPECT_EQ(session.InsertBlankRow(3), 4) << "below the comment's rows, from one of them";
    EXPECT_EQ(session.InsertBlankRow(2), 4) << "and from its entry";
    ASSERT_TRUE(session.DeleteRow(4) && session.DeleteRow(4));

    session.SetModified(false);
    EXPECT_FALSE(session.DeleteRow(-1)) << "no focused row: nothing happens";
    EXPECT_FALSE(session.DeleteRow(session.Listing().table.RowCount()));
    EXPECT_EQ(session.Listing().table.RowCount(), 6);
    EXPECT_FALSE(session.Listing().modified);
    EXPECT_TRUE(session.DeleteRow(3)) << "a comment row goes like any other";
    EXPECT_EQ(Names(), (std::vector<std::string>{"", "[Live]", "a.mp3", "", "b.mp3"}));
    EXPECT_TRUE(session.Listing().modified);

    ASSERT_TRUE(Refresh());
    EXPECT_EQ(Names(), (std::vector<std::string>{"", "[Live]", "a.mp3", "", "b.mp3"}))
        << "reading the folder again keeps the rows inserted, each after its entry";
    EXPECT_TRUE(session.Listing().modified) << "and they are still to be saved";
    folder = tree.Path("music/Live");
    ASSERT_TRUE(Refresh());
    EXPECT_FALSE(session.Listing().modified) << "another folder's listing has nothing to save";
}

TEST_F(ListingSessionTest, StoringACellMarksOnlyARealChange) {
    ASSERT_TRUE(Refresh());
    EXPECT_FALSE(session.SetCellText(1, 1, "")) << "the same text again";
    EXPECT_FALSE(session.Listing().modified);
    EXPECT_TRUE(session.SetCellText(1, 1, "lead vocals"));
    EXPECT_EQ(session.Listing().table.Cell(1, 1), "lead vocals");
    EXPECT_TRUE(session.Listing().modified);
    EXPECT_FALSE(session.SetCellText(1, 5, "beyond the columns"));
    EXPECT_FALSE(session.SetCellText(3, 1, "beyond the rows"));
    EXPECT_EQ(session.Listing().table.RowCount(), 3);
}

// Sorting moves each entry with its comment and details rows and the rows inserted below it,
// folders above files, whatever was typed.
TEST_F(ListingSessionTest, SortingKeepsEveryRowWithItsEntry) {
    ASSERT_TRUE(Refresh());
    session.SetCellText(1, 1, "first");
    session.SetCellText(session.InsertCommentRow(1), 1, "and more");
    session.InsertFileDetails(1, FileDetails{"first", {{"**Frames:", "10"}}});
    session.InsertBlankRow(3);
    session.InsertBlankRow(-1);
    const int size = session.Listing().table.ColumnIndex(ColumnKind::Size);
    session.ClickColumn(size);
    session.ClickColumn(size);
    EXPECT_EQ(Names(), (std::vector<std::string>{"", "[Live]", "b.mp3", "a.mp3",
                                                 "comments:", "**Frames:", ""}));
    session.ClickColumn(0);
    EXPECT_EQ(Names(), (std::vector<std::string>{"", "[Live]", "a.mp3",
                                                 "comments:", "**Frames:", "", "b.mp3"}));
}

// What undo builds on: rows taken out come back where they were with all they held (the
// entry each was made from, its kind, its item data, its place in the folder group), whether
// their texts were made yet or not.
TEST_F(ListingSessionTest, RowsTakenOutComeBackAsTheyWere) {
    ASSERT_TRUE(Refresh());
    const ListingTable& table = session.Listing().table;
    const auto state = [&] {
        std::string all = std::to_string(session.Listing().doc.headFolderCount);
        for (int row = 0; row < table.RowCount(); ++row) {
            all += "\n" + std::to_string(table.EntryIndex(row)) + " " +
                   std::to_string(table.ItemData(row)) + " " +
                   std::to_string(static_cast<int>(table.Kind(row)));
            for (const std::string& cell : table.Row(row))
                all += "|" + cell;
        }
        return all;
    };
    std::vector<std::uint32_t> entries;
    for (int row = 0; row < 3; ++row)
        entries.push_back(table.EntryIndex(row));
    session.PutRows(0, session.TakeRows(0, 3)); // rows whose texts are not made yet
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(table.EntryIndex(row), entries[static_cast<std::size_t>(row)]) << row;
    ASSERT_NE(entries[0], kNoEntry);
    session.SetCellText(1, 1, "typed");
    session.InsertCommentRow(0);
    session.ClickColumn(table.ColumnIndex(ColumnKind::Size)); // entry rows get their sort keys
    const std::string before = state();
    EXPECT_EQ(session.Listing().doc.headFolderCount, 1);
    for (const auto& [first, count] : {std::pair{0, 1}, {0, 4}, {1, 2}, {3, 1}, {2, 0}, {3, 9}}) {
        const ListingSession::RowSlice taken = session.TakeRows(first, count);
        EXPECT_EQ(table.RowCount(), 4 - taken.rows.Size());
        session.PutRows(first, taken);
        EXPECT_EQ(state(), before) << first << "+" << count;
    }
}

} // namespace
} // namespace dirscribe
