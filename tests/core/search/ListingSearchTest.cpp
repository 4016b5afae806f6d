// SPDX-License-Identifier: MIT
// Searching saved listings: shell patterns on names, plain text on names and comments.
#include "core/search/ListingSearch.h"

#include "core/ops/ListingSession.h"
#include "support/RecordingNotice.h"
#include "support/StandardListing.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>

namespace dirscribe {
namespace {

TEST(SearchQuery, MatchesWholeNamesByPatternAndTextAnywhere) {
    struct Case {
        const char* query;
        const char* name;
        bool match;
    };
    for (const Case& c : std::vector<Case>{
             {"*.MP3", "Song.mp3", true},
             {"*.mp3", "song.mp3.txt", false},
             {"s?ng*", "SONG.mp3", true},
             {"?", "é", true},
             {"[a-c]*", "Bach.flac", true},
             {"[!a-c]*", "Bach.flac", false},
             {"[]x]", "]", true},
             {"a*b*c", "aXXbYYbZc", true},
             {"a*b*c", "aXXbYYbZ", false},
             {"\\*", "*", true},
             {"\\*", "x", false},
             {"[abc", "[abc", true},
             {"ong", "SONG.mp3", true},
             {"ong", "sang", false},
             {"ÉTÉ", "photos d'été", true},
             {"*ÉTÉ", "Été", true},
             {"[é-ë]*", "Êtes", true},
             {"[[:digit:]][[:digit:]]*", "2002 backup", true},
             {"[[:digit:]]*", "backup 2002", false},
             {"[[:upper:]]*", "Émile", true},
             {"[[:upper:]]*", "émile", false},
             {"[[:alpha:]][[:alpha:]]", "漢字", true},
             {"*[[:punct:]]", "what?", true},
             {"[![:alnum:][:space:]]*", "_x", true},
             {"[[:bogus:]]", "b", false},
             {"?", "\xff", true},
         })
        EXPECT_EQ(SearchQuery(c.query).MatchesName(c.name), c.match) << c.query << " " << c.name;
    // One remembered star keeps a match to the name's length times the pattern's.
    const std::string longName(10'000, 'a');
    EXPECT_FALSE(SearchQuery("*a*a*a*a*a*a*b").MatchesName(longName));
    EXPECT_TRUE(SearchQuery("*a*a*a*a*a*a*").MatchesName(longName));
    EXPECT_TRUE(SearchQuery("blue").MatchesComment("Kind of Blue"));
    EXPECT_FALSE(SearchQuery("*blue*").MatchesComment("Kind of Blue")) << "patterns are for names";
}

// Two documents in a folder tree, a damaged one between them, and a text file.
TEST(ListingSearch, FindsNamesAndCommentsInEveryDocumentAndGoesPastADamagedOne) {
    test::TempTree tree;
    tree.File("disk/Blue Train.flac", "x");
    tree.File("disk/So What.flac", "x");
    tree.Folder("disk/Live");
    test::RecordingNotice notice;
    NullProgress progress;
    StopFlag stop;
    ListingSession session;
    test::UseFlatStandardWithComments(session.Options());
    ASSERT_TRUE(session.ReadFolder(tree.Path("disk"), notice, progress, stop));
    session.SetCellText(2, 1, "first pressing ");
    session.SetCellText(session.InsertCommentRow(2), 1, "blue label");
    // A comment an older editor cut inside a word reads as typed too.
    session.SetCellText(1, 1, "pla");
    session.SetCellText(session.InsertCommentRow(1), 1, "nning");
    tree.Folder("docs/a");
    tree.Folder("docs/c");
    ASSERT_TRUE(session.Save(tree.Path("docs/a/one.DSC"), SaveFormat::DocumentFile, notice, 0));
    tree.File("docs/b/broken.dsc", "not a listing");
    ASSERT_TRUE(session.Save(tree.Path("docs/c/two.dsc"), SaveFormat::DocumentFile, notice, 0));
    tree.File("docs/notes.txt", "blue");

    std::vector<std::string> lines;
    const auto collect = [&](const std::string& document, const SearchHit& hit) {
        lines.push_back(document.substr(tree.Root().size()) + " " + std::to_string(hit.row) + " " +
                        hit.name + "|" + hit.size + "|" + hit.comment);
    };
    EXPECT_EQ(SearchDocuments(SearchQuery("BLUE"), {tree.Path("docs")}, notice, progress, collect),
              4u);
    // A comment is its cell and its comment rows as one text, found at its entry.
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "/docs/a/one.DSC 1 Blue Train.flac|1  b|planning",
                         "/docs/a/one.DSC 3 So What.flac|1  b|first pressing blue label",
                         "/docs/c/two.dsc 1 Blue Train.flac|1  b|planning",
                         "/docs/c/two.dsc 3 So What.flac|1  b|first pressing blue label",
                     }));
    ASSERT_EQ(notice.shown.size(), 1u);
    EXPECT_NE(notice.shown[0].text.find(tree.Path("docs/b/broken.dsc")), std::string::npos);

    lines.clear();
    EXPECT_EQ(SearchDocuments(SearchQuery("pressing blue"), {tree.Path("docs/c")}, notice, progress,
                              collect),
              1u)
        << "across the comment's rows";
    EXPECT_EQ(
        SearchDocuments(SearchQuery("PLANNING"), {tree.Path("docs/c")}, notice, progress, collect),
        1u)
        << "across a word the old editor cut";
    lines.clear();
    EXPECT_EQ(SearchDocuments(SearchQuery("[l]*"), {tree.Path("docs/c/two.dsc")}, notice, progress,
                              collect),
              1u)
        << "the name inside the brackets";
    EXPECT_EQ(lines, std::vector<std::string>{"/docs/c/two.dsc 0 Live|0  b|"});

    stop.Request(); // the window's Stop
    EXPECT_EQ(
        SearchDocuments(SearchQuery("BLUE"), {tree.Path("docs")}, notice, progress, collect, &stop),
        0u);
    EXPECT_EQ(lines.size() + notice.shown.size(), 2u);
}

} // namespace
} // namespace dirscribe
