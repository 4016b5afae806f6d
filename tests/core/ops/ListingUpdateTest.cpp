// SPDX-License-Identifier: MIT
// Reading a folder again, by update or by a refresh of the same folder, carries everything
// typed to the same entries, whatever happened on disk and whatever the rows are named.
#include "core/ops/ListingUpdate.h"

#include "core/docfile/DocumentFile.h"
#include "core/format/Utf8.h"
#include "core/ops/ListingExport.h"
#include "core/ops/ListingMerge.h"
#include "core/search/ListingSearch.h"
#include "core/table/NameCell.h"
#include "core/table/TablePopulation.h"
#include "support/RecordingNotice.h"
#include "support/StandardListing.h"
#include "support/TempTree.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <random>

namespace dirscribe {
namespace {

namespace fs = std::filesystem;

struct Reading {
    test::RecordingNotice notice;
    NullProgress progress;
    StopFlag stop;
};

// Each row as one line: kind, gone mark, cells.
std::vector<std::string> Lines(const ListingTable& table) {
    std::vector<std::string> lines;
    for (int row = 0; row < table.RowCount(); ++row) {
        std::string line =
            std::to_string(static_cast<int>(table.Kind(row))) + (table.Gone(row) ? "g" : "") + "|";
        for (const std::string& cell : table.Row(row))
            line += cell + "|";
        lines.push_back(line);
    }
    return lines;
}

std::string PathOf(const ListingTable& table, int row) {
    return table.Entries()->RelativePath(table.EntryIndex(row));
}

// Comments typed as "c PATH" with a row "more PATH" below: each must be on its own entry's row
// (gone exactly when nothing is at PATH), in its folder (the entry row above it at a lower level
// is its folder's), once.
void ExpectCommentsInPlace(const ListingTable& table, const std::string& root,
                           const std::map<std::string, bool>& typed) {
    std::map<std::string, bool> found;
    std::vector<std::pair<int, std::string>> above; // open entries by level: level, path
    std::string owner;
    for (int row = 0; row < table.RowCount(); ++row) {
        const std::string comment(table.Cell(row, 1));
        if (table.Kind(row) == RowKind::Continuation) {
            EXPECT_EQ(comment, "more " + owner);
            found[owner] = true;
            continue;
        }
        ASSERT_EQ(table.Kind(row), RowKind::Entry);
        ASSERT_NE(table.EntryIndex(row), kNoEntry) << "row " << row;
        owner = PathOf(table, row);
        const int level = table.Entries()->Entries().Level(table.EntryIndex(row));
        while (!above.empty() && above.back().first >= level)
            above.pop_back();
        const std::size_t slash = owner.rfind('/');
        EXPECT_EQ(above.empty() ? "" : above.back().second,
                  slash == std::string::npos ? "" : owner.substr(0, slash))
            << owner << " stands in another folder";
        above.emplace_back(level, owner);
        EXPECT_EQ(table.Gone(row), !fs::exists(fs::symlink_status(root + "/" + owner))) << owner;
        if (comment.empty())
            continue;
        EXPECT_EQ(comment, "c " + owner);
        EXPECT_TRUE(found.emplace(owner, false).second) << owner << " twice";
    }
    EXPECT_EQ(found, typed);
}

// Random trees of names plain and odd, listed at random depths and contents, commented,
// saved and opened again, changed on disk, then updated or read again in another shape.
TEST(ListingUpdate, RandomTreesKeepEveryCommentOnItsEntryAndASecondRunChangesNothing) {
    const std::vector<std::string> names = {"a",       "B",       "c.txt", "comments:", "**x",
                                            "   lead", "[brack]", "a\tb",  "a?b"};
    // One folder for every case: a file system makes files slowly where many were just deleted.
    test::TempTree cases;
    for (unsigned seed = 1; seed <= 200; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        const auto pick = [&](std::size_t n) {
            return static_cast<std::size_t>(random() % n);
        };
        const std::string base = std::to_string(seed) + "/";
        const std::string root = cases.Path(base + "t");
        const auto grow = [&](int count) {
            for (int i = 0; i < count; ++i) {
                std::string path = "t";
                for (std::size_t depth = pick(4); depth > 0; --depth)
                    path += "/" + names[pick(names.size())];
                path += "/" + names[pick(names.size())];
                std::error_code error; // where a file already stands for a folder: skipped
                fs::create_directories(fs::path(cases.Path(base + path)).parent_path(), error);
                if (!error && !fs::exists(cases.Path(base + path)))
                    cases.File(base + path, std::string(pick(3000), 'x'));
            }
        };
        cases.Folder(base + "t");
        grow(8);
        Reading reading;
        ListingSession session;
        test::UseFlatStandardWithComments(session.Options());
        const std::array depths = {0, 1, 2, 3, -1};
        session.Options().lastDepth = depths[pick(depths.size())];
        session.Options().filesAndFolders = static_cast<ListingContent>(pick(3));
        ASSERT_TRUE(session.ReadFolder(root, reading.notice, reading.progress, reading.stop));
        std::map<std::string, bool> typed;
        for (int row = session.Listing().table.RowCount() - 1; row >= 0; --row) {
            if (pick(3) != 0)
                continue;
            const std::string path = PathOf(session.Listing().table, row);
            session.SetCellText(row, 1, "c " + path);
            typed[path] = pick(2) == 0;
            if (typed[path])
                session.SetCellText(session.InsertCommentRow(row), 1, "more " + path);
        }
        if (pick(2) == 0) { // saved without a flush to the disk, which would take the time
            test::WriteFile(cases.Path(base + "t.dsc"),
                            WriteDocumentFile(session.Listing().doc.summary, session.Listing().path,
                                              session.Options(), session.Listing().table,
                                              session.Listing().Shape()));
            ASSERT_TRUE(
                session.OpenDocument(cases.Path(base + "t.dsc"), reading.notice, reading.progress));
        }
        std::vector<fs::path> all(fs::recursive_directory_iterator(root), {});
        for (const fs::path& path : all)
            if (pick(6) == 0)
                fs::remove_all(path);
        grow(3);

        if (pick(2) == 0) {
            std::optional<ListingUpdate> update =
                UpdateListing(session, reading.notice, reading.progress, reading.stop);
            ASSERT_TRUE(update);
            session.ShowUpdate(std::move(update->listing));
        } else { // a refresh of the same folder after the depth or content changed
            session.Options().lastDepth = depths[pick(depths.size())];
            session.Options().filesAndFolders = static_cast<ListingContent>(pick(3));
            ASSERT_TRUE(session.ReadFolder(session.Listing().path, reading.notice, reading.progress,
                                           reading.stop));
        }
        ExpectCommentsInPlace(session.Listing().table, root, typed);
        const std::optional<ListingUpdate> again =
            UpdateListing(session, reading.notice, reading.progress, reading.stop);
        ASSERT_TRUE(again);
        EXPECT_EQ(Lines(again->listing.table), Lines(session.Listing().table));
        EXPECT_EQ(again->counts.added + again->counts.gone, 0);
        EXPECT_TRUE(reading.notice.shown.empty());
    }
}

// A document written before the block, of a listing in All in UpperCase: update finds each
// row's file by its name with every letter's case ignored, and its comment stays on it.
TEST(ListingUpdate, AnOldUpperCasedDocumentKeepsItsCommentsOnTheirFiles) {
    test::TempTree tree;
    tree.File("disk/Song.mp3", "s");
    tree.File("disk/\xC3\xA9t\xC3\xA9.txt", "e"); // été.txt
    Reading reading;
    ListingSession listed;
    test::UseFlatStandardWithComments(listed.Options());
    listed.Options().allInUpperCase = 1;
    ASSERT_TRUE(
        listed.ReadFolder(tree.Path("disk"), reading.notice, reading.progress, reading.stop));
    for (int row = 0; row < listed.Listing().table.RowCount(); ++row)
        listed.SetCellText(row, 1, "note " + std::string(listed.Listing().table.Cell(row, 0)));
    std::string bytes =
        WriteDocumentFile(listed.Listing().doc.summary, listed.Listing().path, listed.Options(),
                          listed.Listing().table, listed.Listing().Shape());
    bytes.resize(bytes.rfind("DSCX"));
    test::WriteFile(tree.Path("old.dsc"), bytes);
    ListingSession session;
    ASSERT_TRUE(session.OpenDocument(tree.Path("old.dsc"), reading.notice, reading.progress));

    const std::optional<ListingUpdate> update =
        UpdateListing(session, reading.notice, reading.progress, reading.stop);
    ASSERT_TRUE(update);
    EXPECT_EQ(update->counts.kept, 2);
    EXPECT_EQ(update->counts.added + update->counts.gone, 0);
    for (int row = 0; row < 2; ++row)
        EXPECT_EQ(update->listing.table.Cell(row, 1),
                  "note " + Utf8Upper(update->listing.table.Cell(row, 0)));
}

// The same without All in UpperCase: a name is matched exactly, so the comment of a gone
// A.txt stays with it and never moves to the a.txt that has its own.
TEST(ListingUpdate, AGoneNameNeverHandsItsCommentToItsCaseTwin) {
    test::TempTree tree;
    tree.File("disk/A.txt", "1");
    tree.File("disk/a.txt", "2");
    tree.File("disk/B.txt", "3");
    Reading reading;
    ListingSession listed;
    test::UseFlatStandardWithComments(listed.Options());
    ASSERT_TRUE(
        listed.ReadFolder(tree.Path("disk"), reading.notice, reading.progress, reading.stop));
    for (int row = 0; row < listed.Listing().table.RowCount(); ++row)
        listed.SetCellText(row, 1, "note " + std::string(listed.Listing().table.Cell(row, 0)));
    std::string bytes =
        WriteDocumentFile(listed.Listing().doc.summary, listed.Listing().path, listed.Options(),
                          listed.Listing().table, listed.Listing().Shape());
    bytes.resize(bytes.rfind("DSCX"));
    test::WriteFile(tree.Path("old.dsc"), bytes);
    ASSERT_EQ(std::remove(tree.Path("disk/A.txt").c_str()), 0);
    ASSERT_EQ(std::rename(tree.Path("disk/B.txt").c_str(), tree.Path("disk/b.txt").c_str()), 0);
    ListingSession session;
    ASSERT_TRUE(session.OpenDocument(tree.Path("old.dsc"), reading.notice, reading.progress));

    const std::optional<ListingUpdate> update =
        UpdateListing(session, reading.notice, reading.progress, reading.stop);
    ASSERT_TRUE(update);
    std::vector<std::string> rows;
    for (int row = 0; row < update->listing.table.RowCount(); ++row)
        rows.push_back(std::string(update->listing.table.Cell(row, 0)) + "|" +
                       std::string(update->listing.table.Cell(row, 1)));
    EXPECT_EQ(rows, (std::vector<std::string>{
                        "A.txt" + std::string(kGoneMark) + "|note A.txt", "a.txt|note a.txt",
                        "B.txt" + std::string(kGoneMark) + "|note B.txt", "b.txt|"}));
}

std::string Export(const ListingSession& session, ExportFormat format) {
    StringSink sink;
    WriteExport(session, format, 0, sink);
    return sink.Take();
}

// Names that look like other rows' texts, or show alike, stay entries of their own through
// list, save, reopen, update, search and the exports.
TEST(ListingUpdate, NamesThatLookLikeOtherRowsStayTheirOwnEntries) {
    test::TempTree tree;
    const std::vector<std::string> names = {"comments:", "**x",  "   lead",
                                            "[brack]",   "a\tb", "a?b"};
    for (const std::string& name : names)
        tree.File("odd/" + name, name);
    Reading reading;
    ListingSession listed;
    test::UseFlatStandardWithComments(listed.Options());
    ASSERT_TRUE(
        listed.ReadFolder(tree.Path("odd"), reading.notice, reading.progress, reading.stop));
    for (int row = 0; row < listed.Listing().table.RowCount(); ++row)
        listed.SetCellText(row, 1, "note " + std::to_string(row));
    ASSERT_TRUE(
        listed.Save(tree.Path("odd.dsc"), SaveFormatFor(tree.Path("odd.dsc")), reading.notice, 0));
    ListingSession session;
    ASSERT_TRUE(session.OpenDocument(tree.Path("odd.dsc"), reading.notice, reading.progress));
    EXPECT_EQ(Lines(session.Listing().table), Lines(listed.Listing().table));
    EXPECT_FALSE(session.Listing().Shape().Tree());

    std::optional<ListingUpdate> update =
        UpdateListing(session, reading.notice, reading.progress, reading.stop);
    ASSERT_TRUE(update);
    for (int run = 0; run < 2; ++run) {
        EXPECT_EQ(update->counts.kept, 6);
        EXPECT_EQ(update->counts.added + update->counts.gone, 0);
        EXPECT_EQ(Lines(update->listing.table), Lines(listed.Listing().table));
        session.ShowUpdate(std::move(update->listing));
        update = UpdateListing(session, reading.notice, reading.progress, reading.stop);
        ASSERT_TRUE(update);
    }

    std::vector<std::string> hits;
    const auto collect = [&](const std::string&, const SearchHit& hit) {
        hits.push_back(hit.name + "|" + hit.comment);
    };
    EXPECT_EQ(SearchDocuments(SearchQuery("*x"), {tree.Path("odd.dsc")}, reading.notice,
                              reading.progress, collect),
              1u);
    EXPECT_EQ(SearchDocuments(SearchQuery("note"), {tree.Path("odd.dsc")}, reading.notice,
                              reading.progress, collect),
              6u);
    EXPECT_EQ(hits[0], "**x|note 1");
    EXPECT_EQ(hits[1], "   lead|note 0") << "its blanks are its name's";

    const std::string json = Export(session, ExportFormat::Json);
    for (const char* path :
         {"/odd/a\\u0009b\"", "/odd/a?b\"", "/odd/comments:\"", "/odd/   lead\""})
        EXPECT_NE(json.find(path), std::string::npos) << path;
    const std::string csv = Export(session, ExportFormat::Csv);
    EXPECT_NE(csv.find("\r\ncomments:,note 4,"), std::string::npos) << csv;
    EXPECT_NE(csv.find("\r\n[brack],note 5,"), std::string::npos) << csv;
    EXPECT_TRUE(reading.notice.shown.empty());
}

// Does its work once, when the first read of the disk begins: the moment between an update's
// read of its document and its save.
class MeanwhileProgress final : public Progress {
public:
    explicit MeanwhileProgress(std::function<void()> work) : m_work(std::move(work)) {}
    void Begin() override {
        if (m_work)
            std::exchange(m_work, {})();
    }
    void SetRange(std::int64_t) override {}
    void Step() override {}
    void SetMessage(std::string_view) override {}
    void End() override {}

private:
    std::function<void()> m_work;
};

// The comments of a document's rows, by name.
std::map<std::string, std::string> CommentsOf(const std::string& document) {
    Reading reading;
    ListingSession session;
    EXPECT_TRUE(session.OpenDocument(document, reading.notice, reading.progress));
    std::map<std::string, std::string> comments;
    for (int row = 0; row < session.Listing().table.RowCount(); ++row)
        comments[std::string(session.Listing().table.Cell(row, 0))] =
            session.Listing().table.Cell(row, 1);
    return comments;
}

// Opens the document, types text as the comment of its row named name and saves it.
bool TypeAndSave(ListingSession& session, const std::string& document, const std::string& name,
                 const std::string& text, Notice& notice) {
    NullProgress progress;
    if (!session.Listing().shown && !session.OpenDocument(document, notice, progress))
        return false;
    for (int row = 0; row < session.Listing().table.RowCount(); ++row)
        if (session.Listing().table.Cell(row, 0) == name)
            session.SetCellText(row, 1, text);
    return session.Save(document, SaveFormatFor(document), notice, 0);
}

// No writer drops what another wrote: an update that finds its document saved by another
// since it read it starts again from what that one wrote, and a window's save refuses.
// A row holding texts of its own keeps each under the column of the same kind when the
// columns change, whatever place that column takes.
TEST(RefilledTable, EachTextStaysUnderTheColumnOfItsKind) {
    ListingOptions before;
    before.addComments = before.addSize = before.addDate = 1;
    before.addAttribute = 0;
    ListingTable table;
    table.SetColumns(ListingColumns(before));
    table.InsertRow(0, {"**Frames:", "note", "10 b", "12/18/2002"}, RowKind::Details);
    ListingOptions after = before;
    after.addSize = 0;
    after.addAttribute = 1;
    const ListingTable refilled = RefilledTable(table, after, {});
    EXPECT_EQ(refilled.Row(0), (RowRecord{"**Frames:", "note", "", "12/18/2002", ""}));
}

TEST(UpdateDocument, ASaveBetweenItsReadAndItsSaveIsNotLost) {
    test::TempTree tree;
    tree.File("d/a.txt", "a");
    tree.File("d/b.txt", "b");
    const std::string document = tree.Path("d.dsc");
    Reading reading;
    ListingOptions options;
    test::UseFlatStandardWithComments(options);
    {
        ListingSession listed(options);
        ASSERT_TRUE(
            listed.ReadFolder(tree.Path("d"), reading.notice, reading.progress, reading.stop));
        ASSERT_TRUE(listed.Save(document, SaveFormatFor(document), reading.notice, 0));
    }
    tree.File("d/new.txt", "n");
    MeanwhileProgress typing([&] {
        ListingSession other(options);
        EXPECT_TRUE(TypeAndSave(other, document, "a.txt", "typed meanwhile", reading.notice));
    });
    ASSERT_TRUE(UpdateDocument(document, document, options, reading.notice, typing, reading.stop, 0,
                               SpecialFiles::Refuse));
    EXPECT_EQ(CommentsOf(document),
              (std::map<std::string, std::string>{
                  {"a.txt", "typed meanwhile"}, {"b.txt", ""}, {"new.txt", ""}}));

    // Two updates at once give what one after the other gives.
    tree.File("d/newer.txt", "n");
    MeanwhileProgress updating([&] {
        NullProgress quiet;
        EXPECT_TRUE(UpdateDocument(document, document, options, reading.notice, quiet, reading.stop,
                                   0, SpecialFiles::Refuse));
    });
    const std::optional<UpdateCounts> second =
        UpdateDocument(document, document, options, reading.notice, updating, reading.stop, 0,
                       SpecialFiles::Refuse);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->added, 0) << "the other update listed newer.txt already";
    EXPECT_EQ(CommentsOf(document).size(), 4u);
    EXPECT_TRUE(reading.notice.shown.empty());

    // A window that opened the document before another saved it cannot save over that.
    ListingSession window(options);
    ListingSession other(options);
    ASSERT_TRUE(TypeAndSave(other, document, "b.txt", "the other's", reading.notice));
    EXPECT_TRUE(window.OpenDocument(document, reading.notice, reading.progress));
    ASSERT_TRUE(TypeAndSave(other, document, "b.txt", "the other's, again", reading.notice));
    EXPECT_FALSE(TypeAndSave(window, document, "b.txt", "the window's", reading.notice));
    ASSERT_EQ(reading.notice.shown.size(), 1u);
    EXPECT_EQ(reading.notice.shown[0].text,
              "Cannot save \"" + document +
                  "\": another program has saved it since it was read here, and what it wrote "
                  "would be lost");
    EXPECT_EQ(CommentsOf(document)["b.txt"], "the other's, again");
    EXPECT_TRUE(window.Save(tree.Path("mine.dsc"), SaveFormatFor(tree.Path("mine.dsc")),
                            reading.notice, 0));
    EXPECT_TRUE(TypeAndSave(other, document, "b.txt", "saved twice", reading.notice));

    // A listing of another folder, or a new one, is not the document's: saved there, it
    // replaces the file.
    ListingSession elsewhere(options);
    for (const bool read : {true, false}) {
        ASSERT_TRUE(elsewhere.OpenDocument(document, reading.notice, reading.progress));
        ListingSession meanwhile(options);
        ASSERT_TRUE(TypeAndSave(meanwhile, document, "b.txt", "saved again", reading.notice));
        if (read)
            ASSERT_TRUE(
                elsewhere.ReadFolder(tree.Root(), reading.notice, reading.progress, reading.stop));
        else
            elsewhere.NewDocument();
        EXPECT_TRUE(elsewhere.Save(document, SaveFormat::DocumentFile, reading.notice, 0)) << read;
    }
}

// A crafted document whose block names one folder on two rows, the second with nothing typed
// on it and a gone file with a comment below it: that file's comment stands under the folder
// found, the second row goes, and updating again changes nothing.
TEST(UpdateDocument, AFolderNamedOnTwoRowsStaysAsItIs) {
    test::TempTree tree;
    tree.File("d/a/x", "x");
    tree.File("d/a/y", "y");
    Reading reading;
    ListingOptions options;
    test::UseFlatStandardWithComments(options);
    options.lastDepth = -1;
    ListingSession listed(options);
    ASSERT_TRUE(listed.ReadFolder(tree.Path("d"), reading.notice, reading.progress, reading.stop));
    ListingTable table = listed.Listing().table; // made into rows no read makes
    ASSERT_EQ(table.RowCount(), 3);
    const std::uint32_t a = table.EntryIndex(0);
    const std::uint32_t y = table.EntryIndex(table.Cell(1, 0) == "|       y" ? 1 : 2);
    table.RemoveRows(0, table.RowCount());
    for (const std::uint32_t entry : {a, a, y})
        table.AppendEntryRow(entry);
    table.SetCell(0, 1, "the folder");
    table.SetCell(2, 1, "the file");
    const std::string document = tree.Path("d.dsc");
    const ShownListing& shown = listed.Listing();
    test::WriteFile(document, WriteDocumentFile(shown.doc.summary, shown.folder, options, table,
                                                shown.Shape(), shown.doc.volume));
    fs::remove(tree.Path("d/a/y"));
    // What the documents say, but for the volume's free space, which others change meanwhile.
    std::vector<DocumentContents> runs;
    for (int run = 0; run < 3; ++run) {
        ASSERT_TRUE(UpdateDocument(document, document, options, reading.notice, reading.progress,
                                   reading.stop, 0, SpecialFiles::Refuse));
        runs.push_back(ReadDocumentFile(test::ReadFile(document)));
        runs.back().volume.facts.free = 0;
    }
    EXPECT_TRUE(runs[1] == runs[0]);
    EXPECT_TRUE(runs[2] == runs[0]);
    EXPECT_EQ(CommentsOf(document),
              (std::map<std::string, std::string>{
                  {"| -[a]", "the folder"}, {"|       x", ""}, {"|       y (gone)", "the file"}}));
}

} // namespace
} // namespace dirscribe
