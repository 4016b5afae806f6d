// SPDX-License-Identifier: MIT
// Rows made from entries know them, so what goes back to the disk reads the row's own file.
#include "core/ops/ListingSession.h"
#include "support/Mp3Bytes.h"
#include "support/RecordingNotice.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>

namespace dirscribe {
namespace {

using test::TempTree;

void Fetch(ListingSession& session, int row) {
    if (const auto request = session.RequestFileDetails(row))
        session.InsertFileDetails(row, request->Read());
}

int RowNamed(const ListingTable& table, std::string_view name) {
    for (int r = 0; r < table.RowCount(); ++r)
        if (table.Cell(r, 0) == name)
            return r;
    return -1;
}

TEST(EntryLink, FileDataReadsTheRowsOwnFileThroughUpperCaseSortingAndRowCommands) {
    TempTree tree;
    test::Id3v1Fields fields;
    fields.title = "Song";
    tree.File("music/song.mp3", std::string(4000, 'x') + test::Id3v1Tag(fields));
    fields.title = "Cafe";
    tree.File("music/caf\xE9.mp3", std::string(100, 'x') + test::Id3v1Tag(fields));
    tree.File("music/a.txt", "1");
    ListingSession session;
    ListingOptions& options = session.Options();
    options.printAs = PageLayout::FileData;
    options.lastDepth = 0;
    options.addComments = options.addSize = options.allInUpperCase = 1;
    test::RecordingNotice notice;
    NullProgress progress;
    StopFlag stop;
    ASSERT_TRUE(session.ReadFolder(tree.Path("music"), notice, progress, stop));

    ASSERT_TRUE(session.ClickColumn(2));
    ASSERT_TRUE(session.ClickColumn(2)); // largest first
    session.InsertBlankRow(-1);
    ASSERT_TRUE(session.DeleteRow(RowNamed(session.Listing().table, "A.TXT")));
    const int song = RowNamed(session.Listing().table, "SONG.MP3");
    ASSERT_EQ(song, 1);
    Fetch(session, song);
    EXPECT_EQ(session.Listing().table.Row(song)[1], "Id3v1 Tag:");
    EXPECT_EQ(session.Listing().table.Row(song + 1)[1], "Song");

    const int cafe = RowNamed(session.Listing().table, "CAF\xC3\x89.MP3");
    ASSERT_GT(cafe, song);
    Fetch(session, cafe);
    EXPECT_EQ(session.Listing().table.Row(cafe)[1], "Id3v1 Tag:") << "found by its own bytes";
    EXPECT_EQ(session.Listing().table.Row(cafe + 1)[1], "Cafe");
    Fetch(session, 0);
    EXPECT_EQ(session.Listing().table.Row(0)[1], "") << "a blank row has no file";

    // Saved and opened again, its rows know their files by their raw names; a second fetch
    // replaces the details rows.
    const int rows = session.Listing().table.RowCount();
    ASSERT_TRUE(
        session.Save(tree.Path("music.dsc"), SaveFormatFor(tree.Path("music.dsc")), notice, 0));
    ListingSession reopened;
    ASSERT_TRUE(reopened.OpenDocument(tree.Path("music.dsc"), notice, progress));
    Fetch(reopened, cafe + 1);
    EXPECT_EQ(reopened.Listing().table.RowCount(), rows);
    EXPECT_EQ(reopened.Listing().table.Row(cafe + 1)[1], "Cafe");
}

} // namespace
} // namespace dirscribe
