// SPDX-License-Identifier: MIT
// An update reads the folder again and carries everything typed to the same entries.
#include "core/ops/ListingUpdate.h"

#include "support/RecordingNotice.h"
#include "support/StandardListing.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace dirscribe {
namespace {

using Rows = std::vector<std::pair<std::string, std::string>>; // name cell, comment cell

Rows NamesAndComments(const ListingTable& table) {
    Rows rows;
    for (int row = 0; row < table.RowCount(); ++row)
        rows.emplace_back(table.Cell(row, 0), table.Cell(row, 1));
    return rows;
}

int RowNamed(const ListingSession& session, std::string_view name) {
    for (int row = 0; row < session.Table().RowCount(); ++row)
        if (session.Table().Cell(row, 0) == name)
            return row;
    ADD_FAILURE() << name;
    return 0;
}

class ListingUpdateTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* file :
             {"disk/readme.txt", "disk/old.txt", "disk/plain.txt", "disk/Docs/notes.txt",
              "disk/Docs/Deep/a.bin", "disk/Docs/Deep/vanish.bin", "disk/Music/song.mp3",
              "disk/Music/notes.txt"})
            tree.File(file, "x");
        ListingSession listing;
        test::UseFlatStandardWithComments(listing.Options());
        listing.Options().lastDepth = -1;
        listing.SetPath(tree.Path("disk"));
        ASSERT_TRUE(listing.ReadSelectedFolder(notice, progress, stop));
        // A comment on a file, one flowing onto a comment row, one on a folder, details rows.
        listing.SetCellText(RowNamed(listing, "   readme.txt"), 1, "top file");
        const int old = RowNamed(listing, "   old.txt");
        listing.SetCellText(old, 1, "will vanish");
        listing.SetCellText(listing.InsertCommentRow(old), 1, "and its second line");
        listing.SetCellText(RowNamed(listing, "| -[Docs]"), 1, "papers");
        const int notes = RowNamed(listing, "|       notes.txt");
        listing.SetCellText(notes, 1, "keep");
        listing.SetCellText(listing.InsertCommentRow(notes), 1, "keep more");
        listing.SetCellText(RowNamed(listing, "| |          vanish.bin"), 1, "deep gone");
        const int song = RowNamed(listing, "|       song.mp3");
        listing.SetCellText(song, 1, "There isn't any Tag.");
        listing.Table().InsertRow(song + 1, {"**Frames:", "10 frames", "", "", ""},
                                  RowKind::Details);
        listing.SetCellText(listing.InsertCommentRow(-1), 1, "a note above every entry");
        document = tree.Path("disk.dsc");
        ASSERT_TRUE(listing.Save(document, SaveFormat::DocumentFile, notice, 0));
        ASSERT_TRUE(session.OpenDocument(document, notice, progress));
    }

    test::TempTree tree;
    test::RecordingNotice notice;
    NullProgress progress;
    StopFlag stop;
    std::string document;
    ListingSession session; // the saved listing, opened again
};

TEST_F(ListingUpdateTest, EveryCommentAndDetailsRowStaysWithItsEntryAndGoneEntriesKeepTheirs) {
    tree.File("disk/new.txt", "x");
    tree.File("disk/Docs/fresh.txt", "x");
    for (const char* gone : {"disk/old.txt", "disk/plain.txt", "disk/Docs/Deep/vanish.bin"})
        ASSERT_EQ(std::remove(tree.Path(gone).c_str()), 0);

    std::optional<ListingUpdate> update = UpdateListing(session, notice, progress, stop);
    ASSERT_TRUE(update);
    EXPECT_EQ(update->counts.kept, 8);
    EXPECT_EQ(update->counts.added, 2);
    EXPECT_EQ(update->counts.gone, 3);
    EXPECT_TRUE(update->session.Modified());
    const Rows expected = {
        {"comments:", "a note above every entry"},
        {"   readme.txt", "top file"},
        {"   new.txt", ""},
        {"   old.txt (gone)", "will vanish"}, // plain.txt had nothing typed: no row
        {"comments:", "and its second line"},
        {"| -[Docs]", "papers"},
        {"|       notes.txt", "keep"},
        {"comments:", "keep more"},
        {"|       fresh.txt", ""},
        {"| | --[Deep]", ""},
        {"| |          vanish.bin (gone)", "deep gone"},
        {"| |          a.bin", ""},
        {"| -[Music]", ""},
        {"|       song.mp3", "There isn't any Tag."},
        {"**Frames:", "10 frames"},
        {"|       notes.txt", ""}, // the same name as Docs' own, in another folder
    };
    EXPECT_EQ(NamesAndComments(update->session.Table()), expected);
    EXPECT_TRUE(notice.shown.empty());
    // Each row read again knows its entry on disk; comment, details and gone rows know none.
    const ListingTable& table = update->session.Table();
    for (int row = 0; row < table.RowCount(); ++row) {
        const std::string_view name = table.Cell(row, 0);
        const bool read = name.starts_with(' ') || name.starts_with('|');
        EXPECT_EQ(table.EntryIndex(row) != kNoEntry, read && !name.ends_with("(gone)")) << name;
    }
    EXPECT_EQ(table.Entries()->DiskPath(table.EntryIndex(13)), tree.Path("disk/Music/song.mp3"));

    // Once more with nothing changed: the same rows, the gone ones marked once, not counted.
    const std::optional<ListingUpdate> again =
        UpdateListing(update->session, notice, progress, stop);
    ASSERT_TRUE(again);
    EXPECT_EQ(NamesAndComments(again->session.Table()), expected);
    EXPECT_EQ(again->counts.kept, 10);
    EXPECT_EQ(again->counts.added + again->counts.gone, 0);
}

// The window's column and layout buttons change the settings, not the table on show: a tree
// is read again as a tree in the columns it has.
TEST_F(ListingUpdateTest, TheShapeIsTheTablesWhateverTheSettingsSayNow) {
    session.Options().addComments = 0;
    session.Options().addDate = 1;
    session.Options().printAs = static_cast<std::int32_t>(PageLayout::CdInsert);
    const std::optional<ListingUpdate> update = UpdateListing(session, notice, progress, stop);
    ASSERT_TRUE(update);
    EXPECT_EQ(update->session.Table().Columns(), session.Table().Columns());
    EXPECT_EQ(NamesAndComments(update->session.Table()), NamesAndComments(session.Table()));
    EXPECT_EQ(update->counts.gone, 0);
}

TEST_F(ListingUpdateTest, AFolderThatIsGoneChangesNothing) {
    const Rows before = NamesAndComments(session.Table());
    ASSERT_EQ(std::rename(tree.Path("disk").c_str(), tree.Path("moved").c_str()), 0);
    EXPECT_FALSE(UpdateListing(session, notice, progress, stop));
    ASSERT_EQ(notice.shown.size(), 1u);
    EXPECT_EQ(notice.shown[0].text, "There are problem reading folder  " + tree.Path("disk"));
    EXPECT_EQ(NamesAndComments(session.Table()), before);
    EXPECT_EQ(session.Path(), tree.Path("disk"));
}

} // namespace
} // namespace dirscribe
