// SPDX-License-Identifier: MIT
// Exports read back by other programs, the web page in a real browser, search and update.
#include "core/ops/ListingSession.h"
#include "support/RecordingNotice.h"
#include "support/RunProgram.h"
#include "support/StandardListing.h"
#include "support/TempTree.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace dirscribe {
namespace {

using test::ProgramResult;
using test::RunDirscribe;

// disk/{Docs/{notes.txt, <b>bold.txt}, Music/song.mp3 (2 KiB), readme.txt}, listed as a
// tree in disk.dsc with a comment on Docs and a comment row below song.mp3.
class CatalogueCommands : public ::testing::Test {
protected:
    void SetUp() override {
        tree.File("disk/Docs/notes.txt", "n");
        tree.File("disk/Docs/<b>bold.txt", "b");
        tree.File("disk/Music/song.mp3", std::string(2048, 'm'));
        tree.File("disk/readme.txt", "r");
        test::RecordingNotice notice;
        NullProgress progress;
        StopFlag stop;
        ListingSession session;
        test::UseFlatStandardWithComments(session.Options());
        session.Options().lastDepth = -1;
        session.SetPath("disk"); // as typed, relative to the test's folder
        std::filesystem::current_path(tree.Root());
        ASSERT_TRUE(session.ReadSelectedFolder(notice, progress, stop));
        ASSERT_EQ(session.Table().Cell(1, 0), "| -[Docs]");
        session.SetCellText(1, 1, "papers, \"old\"");
        ASSERT_EQ(session.Table().Cell(5, 0), "|       song.mp3");
        session.SetCellText(session.InsertCommentRow(5), 1, "second pressing");
        ASSERT_TRUE(session.Save("disk.dsc", SaveFormat::DocumentFile, notice, 0));
    }
    void TearDown() override { std::filesystem::current_path(m_folder); }

    // Runs the program in the test's folder; with a script, `bash -c SCRIPT dirscribe ARGS`.
    ProgramResult Run(const std::vector<std::string>& args, const std::string& script = "") {
        return RunDirscribe(args, {tree.Root(),
                                   script.empty() ? std::vector<std::string>{}
                                                  : std::vector<std::string>{"bash", "-c", script},
                                   {}});
    }

    test::TempTree tree;

private:
    std::filesystem::path m_folder = std::filesystem::current_path();
};

TEST_F(CatalogueCommands, ExportsReadBackInPythonAndJqAndFailWithoutAHalfWrittenFile) {
    const ProgramResult csv =
        Run({"convert", "disk.dsc", "--csv", "out.csv", "--json", "-"},
            R"("$0" "$@" | jq -r '.folder, .summary.files, (.rows | length), .rows[1].cells[1],
                                  ([.rows[] | select(has("path"))] | length)' &&
           python3 -c 'import csv, sys
rows = list(csv.reader(open("out.csv", newline="", encoding="utf-8")))
print(len(rows), rows[0], rows[2], rows[7])')");
    EXPECT_EQ(csv.exitCode, 0) << csv.err;
    EXPECT_EQ(csv.out,
              "disk\n4\n7\npapers, \"old\"\n6\n" // a document's entry rows know their entries
              "8 ['FileName', 'Comments', 'Size'] ['| -[Docs]', 'papers, \"old\"', '2  b'] "
              "['comments:', 'second pressing', '']\n");
    tree.SetModified("disk/Music/song.mp3", 1040220309);
    const ProgramResult read =
        Run({"list", "disk", "--layout", "standard", "--depth", "all", "--json", "-"},
            R"("$0" "$@" | python3 -m json.tool >/dev/null && "$0" "$@" |
               jq -r '.rows[] | select(.cells[0] | endswith("song.mp3")) | .bytes, .modified, .path')");
    EXPECT_EQ(read.out, "2048\n2002-12-18T14:05:09Z\ndisk/Music/song.mp3\n") << read.err;

    for (const char* target : {"missing/out.csv", "disk"}) {
        const ProgramResult failed = Run({"convert", "disk.dsc", "--csv", target});
        EXPECT_EQ(failed.exitCode, 1) << target;
        EXPECT_NE(failed.err.find(std::string("Cannot save \"") + target + "\""),
                  std::string::npos);
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(tree.Root()), {}), 3)
        << "disk, disk.dsc and out.csv, no temporary file";
}

TEST_F(CatalogueCommands, TheWebPageFiltersAsYouTypeAndSortsInHeadlessChromium) {
    ASSERT_EQ(Run({"convert", "disk.dsc", "--html", "page.html"}).exitCode, 0);
    const std::string shown =
        "[...document.querySelectorAll('.chunk > div:not([hidden]) > span:first-child')]"
        ".map(e => e.textContent + (e.parentNode.classList.contains('context') ? '~' : ''))"
        ".join('|')";
    const ProgramResult page =
        RunDirscribe({"page.html", "eval:" + shown, "type:PRESS", "eval:" + shown,
                      "eval:document.getElementById('shown').textContent",
                      "eval:document.getElementById('filter').value = ''; "
                      "document.getElementById('filter').dispatchEvent(new Event('input'))",
                      "click:.head > span:nth-child(3) button",
                      "click:.head > span:nth-child(3) button", "eval:" + shown},
                     {tree.Root(), {"python3", DIRSCRIBE_BROWSER_DRIVER}, {}});
    if (page.exitCode == 77)
        GTEST_SKIP() << page.err;
    ASSERT_EQ(page.exitCode, 0) << page.err;
    EXPECT_EQ(page.out,
              // Everything, names without decoration; the markup in a name is text.
              "\"readme.txt|Docs|notes.txt|<b>bold.txt|Music|song.mp3|\"\n"
              // A comment row that matches brings its entry and, dimmed, its folder.
              "\"Music~|song.mp3|\"\n\"1 of 6 entries\"\ntrue\n"
              // By size, largest first, among the entries of each folder (files above folders, as
              // in the tree).
              "\"readme.txt|Music|song.mp3||Docs|notes.txt|<b>bold.txt\"\n");
}

TEST_F(CatalogueCommands, SearchPrintsOneLinePerMatchAndExitsLikeGrep) {
    tree.File("docs/broken.dsc", "no");
    tree.Folder("docs/a");
    ASSERT_EQ(Run({"convert", "disk.dsc", "--dsc", "docs/a/copy.dsc"}).exitCode, 0);
    const ProgramResult found = Run({"search", "*.MP3", "disk.dsc", "docs"});
    EXPECT_EQ(found.exitCode, 0);
    EXPECT_EQ(found.out, "disk.dsc\t6\tsong.mp3\t2.0 Kb\t\tsecond pressing\n"
                         "docs/a/copy.dsc\t6\tsong.mp3\t2.0 Kb\t\tsecond pressing\n");
    EXPECT_NE(found.err.find("docs/broken.dsc"), std::string::npos) << found.err;
    const ProgramResult comment = Run({"search", "Pressing", "disk.dsc"});
    EXPECT_EQ(comment.out, "disk.dsc\t6\tsong.mp3\t2.0 Kb\t\tsecond pressing\n")
        << "a match in a comment row is its entry's";
    EXPECT_EQ(Run({"search", "nothing", "disk.dsc"}).exitCode, 1);
    EXPECT_EQ(Run({"search", "-x", "x", "disk.dsc"}).exitCode, 2);
    EXPECT_EQ(Run({"search", "x"}).exitCode, 2);
}

TEST_F(CatalogueCommands, UpdateCountsWhatChangedAndAMissingFolderChangesNothing) {
    const std::string before = test::ReadFile(tree.Path("disk.dsc"));
    tree.File("disk/Music/new.mp3", "n");
    ASSERT_EQ(std::remove(tree.Path("disk/readme.txt").c_str()), 0);
    const ProgramResult updated = Run({"update", "disk.dsc", "--dsc", "new.dsc"});
    EXPECT_EQ(updated.exitCode, 0) << updated.err;
    EXPECT_EQ(updated.err, "dirscribe: updated new.dsc: 5 kept, 1 new, 1 gone\n");
    EXPECT_EQ(test::ReadFile(tree.Path("disk.dsc")), before);
    EXPECT_EQ(Run({"search", "pressing", "new.dsc"}).exitCode, 0) << "the comment row moved along";

    ASSERT_EQ(std::rename(tree.Path("disk").c_str(), tree.Path("moved").c_str()), 0);
    const ProgramResult missing = Run({"update", "disk.dsc"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "There are problem reading folder  disk\n");
    EXPECT_EQ(test::ReadFile(tree.Path("disk.dsc")), before);
}

} // namespace
} // namespace dirscribe
