// SPDX-License-Identifier: MIT
// The catalogue's index answers every search with the lines the documents give.
#include "core/catalogue/CatalogueSearch.h"

#include "core/catalogue/Catalogue.h"
#include "core/catalogue/Duplicates.h"
#include "core/docfile/DocumentFile.h"
#include "core/ops/ListingSession.h"
#include "core/ops/ListingUpdate.h"
#include "core/table/TablePopulation.h"
#include "support/ChildProcess.h"
#include "support/RecordingNotice.h"
#include "support/ScopedEnvironment.h"
#include "support/TempTree.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace dirscribe {
namespace {

// Names the other tests found odd, names that are not UTF-8, and the longest name.
const std::vector<std::string> kNames{"comments:",        "**x",
                                      "   three blanks",  "[brack]",
                                      "<b>bold.txt",      "a\tb.txt",
                                      "line\nend.mp3",    "\xff\xfe raw.mp3",
                                      "\xe9t\xe9.flac",   "été.flac",
                                      "ÉTÉ.FLAC",         "漢字 blue.txt",
                                      "What? <*> |\"x\"", "\xe2\x84\xaa.ogg",
                                      "big.mkv",          std::string(251, 'n') + ".txt"};

class CatalogueSearch : public ::testing::Test {
protected:
    void SetUp() override {
        for (std::size_t i = 0; i < kNames.size(); ++i) {
            tree.SizedFile("disk/Music/" + kNames[i], (i + 1) * 700);
            tree.SetModified("disk/Music/" + kNames[i],
                             1'040'220'309 + static_cast<int>(i) * 86'400);
        }
        tree.SizedFile("disk/big.mkv", 3'000'000'000);
        tree.File("disk/Docs/notes.txt", "n");
        Save("docs/tree.dsc", -1, false, true);
        Save("docs/a/flat.dsc", 0, false, false);
        Save("docs/a/UPPER.DSC", -1, true, false);
        // As documents were before their extension block.
        std::string old = test::ReadFile(tree.Path("docs/tree.dsc"));
        old.resize(old.rfind("DSCX"));
        tree.File("docs/b/old.dsc", old);
        tree.File("docs/b/broken.dsc", "not a listing");
    }

    // The disk listed to `depth`, with comments, comment rows, a details row and a free row.
    void Save(const std::string& document, int depth, bool upper, bool typed) {
        test::RecordingNotice notice;
        NullProgress progress;
        StopFlag stop;
        ListingSession session;
        ListingOptions& options = session.Options();
        options.printAs = PageLayout::Standard;
        options.lastDepth = depth;
        options.addComments = options.addSize = options.addDate = 1;
        options.allInUpperCase = upper ? 1 : 0;
        ASSERT_TRUE(session.ReadFolder(tree.Path("disk"), notice, progress, stop));
        session.SetCellText(1, 1, "Blue box, shelf 3");
        session.SetCellText(session.InsertCommentRow(1), 1, "été à Paris");
        if (typed) {
            session.InsertFileDetails(4,
                                      FileDetails{std::string(session.Listing().table.Cell(4, 1)),
                                                  {{"**Title", "Kind of Blue"}}});
            session.SetCellText(session.InsertBlankRow(8), 1, "a row of my own: blue");
        }
        session.SetVolume(session.Listing().doc.volume.facts.label, "attic");
        tree.Folder(document.substr(0, document.rfind('/')));
        ASSERT_TRUE(session.Save(tree.Path(document), SaveFormat::DocumentFile, notice, 0));
    }

    // The lines and messages of a search, as the command line would print them.
    std::string Search(const std::string& pattern, const SearchFilter& filter, bool useIndex) {
        test::RecordingNotice problems;
        test::RecordingNotice remarks;
        NullProgress progress;
        std::string lines;
        const std::size_t matches = SearchCatalogue(
            SearchQuery(pattern), filter, {tree.Path("docs")}, useIndex, problems, remarks,
            progress, [&](const std::string& document, const SearchHit& hit) {
                lines += document.substr(tree.Root().size()) + " " + std::to_string(hit.row) + "|" +
                         hit.name + "|" + hit.size + "|" + hit.date + "|" + hit.comment + "\n";
            });
        for (const auto& shown : problems.shown)
            lines += "problem: " + shown.text + "\n";
        for (const auto& shown : remarks.shown)
            lines += "remark: " + shown.text.substr(0, shown.text.find(" (")) + "\n";
        return std::to_string(matches) + "\n" + lines;
    }

    // The copies duplicates finds, one line each.
    std::string Copies(CopyKey key, bool useIndex) {
        test::RecordingNotice notice;
        NullProgress progress;
        std::string lines;
        FindDuplicates({tree.Path("docs")}, key, useIndex, notice, notice, progress,
                       [&](const CopyGroup& group) {
                           for (const FileCopy& copy : group.copies)
                               lines += std::to_string(group.bytes) + " " + copy.document + " " +
                                        std::to_string(copy.row) + " " + copy.path + "\n";
                       });
        return lines;
    }

    // Every query with every filter, and duplicates by every key, through the index and
    // without it.
    void ExpectTheSameAnswers(const std::string& when) {
        for (const CopyKey key : {CopyKey::NameAndSize, CopyKey::NameSizeAndDate, CopyKey::Size})
            EXPECT_EQ(Copies(key, true), Copies(key, false)) << when;
        SearchFilter bigger;
        bigger.size = ParseSizeBound("+5k");
        SearchFilter audio;
        audio.kind = EntryKind::Audio;
        SearchFilter newer;
        newer.newer = ParseLocalDate("2002-12-25");
        SearchFilter older;
        older.older = ParseLocalDate("2002-12-25");
        SearchFilter exactly;
        exactly.size = ParseSizeBound("1400");
        SearchFilter volume;
        volume.volume = "no such label";
        SearchFilter none;
        for (const SearchFilter* filter :
             {&none, &bigger, &audio, &newer, &older, &exactly, &volume})
            for (const char* pattern : {"*",          "?",
                                        "é",          "ÉTÉ",
                                        "*.flac",     "[[:upper:]]*",
                                        "comments:",  "**x",
                                        "three",      "blue",
                                        "box, shelf", "été à",
                                        "kind of",    "\xe2\x84\xaa",
                                        "k",          "*\xff*",
                                        "\xff",       "nnnnnnnnnn",
                                        "a\tb",       "<*>",
                                        "[!a-z]*",    "Music",
                                        "xyz-none"}) {
                const std::string answer = Search(pattern, *filter, false);
                EXPECT_EQ(Search(pattern, *filter, true), answer) << when << ": " << pattern;
            }
    }

    // A flat listing of `rows` entries, each named "file ROW" and what `more` adds.
    void SaveRows(const std::string& document, int rows,
                  const std::function<const char*(int)>& more) {
        ListingOptions options;
        options.addComments = 1;
        ListingTable table;
        table.SetColumns(ListingColumns(options));
        for (int row = 0; row < rows; ++row)
            table.InsertRow(table.RowCount(),
                            {"file " + std::to_string(row) + more(row), "", "", "", ""},
                            RowKind::Entry);
        tree.File(document, WriteDocumentFile({}, "/x", options, table));
    }

    test::TempTree tree;
    test::ScopedEnvironment cache{"XDG_CACHE_HOME", tree.Path("cache").c_str()};
    static inline const SearchFilter kNone{};
};

TEST_F(CatalogueSearch, TheIndexGivesTheLinesTheDocumentsGiveAsTheyChange) {
    ExpectTheSameAnswers("built by the first search");
    ASSERT_TRUE(std::filesystem::exists(CatalogueIndexFile()));
    ExpectTheSameAnswers("from the index");
    EXPECT_TRUE(Search("big", kNone, true).starts_with("7\n/docs/a/flat.dsc 3|big.mkv|2.7 Gb|"));

    // One document updated, one gone, one new: each search sees the documents as they are.
    tree.File("disk/Music/new blue.mp3", "n");
    test::RecordingNotice notice;
    NullProgress progress;
    StopFlag stop;
    ListingSession listing;
    ASSERT_TRUE(listing.OpenDocument(tree.Path("docs/tree.dsc"), notice, progress));
    std::optional<ListingUpdate> update = UpdateListing(listing, notice, progress, stop);
    ASSERT_TRUE(update);
    listing.ShowUpdate(std::move(update->listing));
    ASSERT_TRUE(listing.Save(tree.Path("docs/tree.dsc"), SaveFormat::DocumentFile, notice, 0));
    std::filesystem::remove(tree.Path("docs/a/flat.dsc"));
    Save("docs/c/new.dsc", 1, false, false);
    ExpectTheSameAnswers("after changes");
}

TEST_F(CatalogueSearch, AnIndexThatCannotBeKeptChangesNoAnswer) {
    const std::string answer = Search("blue", kNone, false);
    const auto without = [&](const std::string& why) {
        const std::string text = Search("blue", kNone, true);
        EXPECT_TRUE(text.starts_with(answer)) << why;
        return text.substr(answer.size());
    };
    // Made, then damaged, then of another version: made again each time, saying nothing.
    EXPECT_EQ(without("made"), "");
    test::WriteFile(CatalogueIndexFile(), std::string(8192, 'x'));
    EXPECT_EQ(without("damaged"), "");
    EXPECT_EQ(test::ReadFile(CatalogueIndexFile()).substr(0, 15), "SQLite format 3");
    // A cache folder that is a file: the documents are read, and that is said once.
    test::ScopedEnvironment file("XDG_CACHE_HOME", tree.Path("docs/b/broken.dsc").c_str());
    EXPECT_EQ(without("no folder"), "remark: The index of saved listings\n");
    // A read-only cache folder, for a user who may not write it.
    test::ScopedEnvironment readOnly("XDG_CACHE_HOME", tree.Path("locked").c_str());
    tree.Folder("locked/Dirscribe");
    tree.Chmod("", 0755);
    tree.Chmod("locked/Dirscribe", 0555);
    tree.Chmod("locked", 0555);
    const std::optional<std::string> unprivileged =
        test::RunUnprivileged([&] { return Search("blue", kNone, true); });
    ASSERT_TRUE(unprivileged);
    EXPECT_TRUE(unprivileged->ends_with("remark: The index of saved listings\n")) << *unprivileged;
}

// Documents gone leave their texts in the text index until they are as many as the others;
// then it is built again, and answers as before.
TEST_F(CatalogueSearch, TheTextIndexIsBuiltAgainOnceMostOfItIsOfGoneDocuments) {
    for (int i = 0; i < 6; ++i)
        SaveRows("docs/many/" + std::to_string(i) + ".dsc", 30'000,
                 [](int row) { return row % 7 == 0 ? " blue" : ""; });
    const std::string all = Search("blue", kNone, false);
    EXPECT_EQ(Search("blue", kNone, true), all);
    for (int i = 1; i < 6; ++i)
        std::filesystem::remove(tree.Path("docs/many/" + std::to_string(i) + ".dsc"));
    const std::string fewer = Search("blue", kNone, false);
    EXPECT_EQ(Search("blue", kNone, true), fewer) << "the gone ones forgotten, the index rebuilt";
    EXPECT_EQ(Search("blue", kNone, true), fewer);
}

// A listing that changed is read from its file while the index answers for the others (here
// reading every chunk of theirs, each holding "blu" and "lue" but no "blue"); its lines still
// come in its turn, whether it matches little or more than can be kept until then.
TEST_F(CatalogueSearch, AChangedListingReadWhileTheIndexAnswersKeepsItsTurn) {
    for (int i = 0; i < 3; ++i)
        SaveRows("docs/many/" + std::to_string(i) + ".dsc", 30'000, [](int) { return " blu lue"; });
    for (const int rows : {100, 70'000, 50}) {
        SaveRows("docs/many/1b.dsc", rows, [](int) { return " blue"; });
        const std::string answer = Search("blue", kNone, false);
        EXPECT_EQ(Search("blue", kNone, true), answer) << rows << " read";
        EXPECT_EQ(Search("blue", kNone, true), answer) << rows << " from the index";
    }
    // Nothing left to read: the index answers on the search's own thread.
    std::filesystem::remove(tree.Path("docs/b/broken.dsc"));
    const std::string held = Search("blue", kNone, false);
    EXPECT_EQ(Search("blue", kNone, true), held);
}

// A listing indexed again is encoded on the writer's thread from copies of its groups, which
// carry only the names their paths do not share with the group before: every copy found
// still has its whole path, in chunks that start deep in a folder.
TEST_F(CatalogueSearch, AListingIndexedAgainKeepsThePathsOfItsEntries) {
    for (int i = 0; i < 1500; ++i)
        tree.File("disk/Deep/" + std::to_string(i % 7) + "/" + std::to_string(i % 11) + "/f" +
                      std::to_string(i),
                  "x");
    Save("docs/d/one.dsc", -1, false, false);
    Save("docs/d/two.dsc", -1, false, false);
    const std::string copies = Copies(CopyKey::NameAndSize, false);
    EXPECT_EQ(Copies(CopyKey::NameAndSize, true), copies);
    tree.File("disk/Deep/3/3/f0 again", "x");
    Save("docs/d/one.dsc", -1, false, false);
    EXPECT_EQ(Copies(CopyKey::NameAndSize, true), Copies(CopyKey::NameAndSize, false));
}

TEST(SearchFilter, ReadsSizesDatesAndKindsAsTheyAreWritten) {
    test::ScopedEnvironment zone("TZ", "UTC");
    struct Size {
        const char* text;
        std::optional<std::uint64_t> bytes;
        SizeBound::Relation relation;
    };
    using R = SizeBound::Relation;
    for (const Size& c : std::vector<Size>{{"+100M", 100 << 20, R::More},
                                           {"-1k", 1024, R::Less},
                                           {"4096", 4096, R::Exactly},
                                           {"+2G", 2ULL << 30, R::More},
                                           {"7c", 7, R::Exactly},
                                           {"+16384P", std::nullopt, R::More},
                                           {"1.5M", std::nullopt, R::More},
                                           {"", std::nullopt, R::More},
                                           {"+", std::nullopt, R::More},
                                           {"12x", std::nullopt, R::More}}) {
        const std::optional<SizeBound> bound = ParseSizeBound(c.text);
        EXPECT_EQ(bound ? std::optional(bound->bytes) : std::nullopt, c.bytes) << c.text;
        if (bound) {
            EXPECT_EQ(bound->relation, c.relation) << c.text;
        }
    }
    EXPECT_EQ(ParseLocalDate("2002-12-18"), 126'846'432'000'000'000u);
    EXPECT_EQ(ParseLocalDate("2002-12-18T14:05:09"), ParseLocalDate("2002-12-18 14:05:09"));
    for (const char* wrong : {"2002-13-01", "2002-12-18 25:00", "2002/12/18", "18.12.2002",
                              "2002-12-18 14:05:", "2002-12-1"})
        EXPECT_FALSE(ParseLocalDate(wrong)) << wrong;
    EXPECT_TRUE(IsOfKind(EntryKind::Audio, "Song.FLAC", false));
    EXPECT_FALSE(IsOfKind(EntryKind::Audio, "Song.flac", true)) << "a folder is a folder";
    EXPECT_TRUE(IsOfKind(EntryKind::Folder, "x.zip", true));
    EXPECT_TRUE(IsOfKind(EntryKind::Archive, "backup.tar.gz", false));
    EXPECT_FALSE(IsOfKind(EntryKind::Picture, "jpg", false));
    EXPECT_EQ(EntryKindNamed("video"), EntryKind::Video);
    EXPECT_EQ(EntryKindNamed("Video"), std::nullopt);
}

} // namespace
} // namespace dirscribe
