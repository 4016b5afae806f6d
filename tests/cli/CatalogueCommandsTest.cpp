// SPDX-License-Identifier: MIT
// Exports read back by other programs, search and update.
#include "core/ops/ListingSession.h"
#include "support/ChildProcess.h"
#include "support/RecordingNotice.h"
#include "support/RunProgram.h"
#include "support/StandardListing.h"
#include "support/TempTree.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

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
        std::filesystem::current_path(tree.Root());
        ASSERT_TRUE(session.ReadFolder("disk", notice, progress, stop)); // relative, as typed
        ASSERT_EQ(session.Listing().table.Cell(1, 0), "| -[Docs]");
        session.SetCellText(1, 1, "papers, \"old\"");
        ASSERT_EQ(session.Listing().table.Cell(5, 0), "|       song.mp3");
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
    const std::string disk = std::filesystem::canonical(tree.Path("disk"));
    EXPECT_EQ(csv.out,
              disk + "\n4\n7\npapers, \"old\"\n6\n" // a document's entry rows know their entries
                     "8 ['FileName', 'Comments', 'Size', 'Bytes'] ['| -[Docs]', 'papers, \"old\"', "
                     "'2  b', '2'] ['comments:', 'second pressing', '', '']\n");
    tree.SetModified("disk/Music/song.mp3", 1040220309);
    const ProgramResult read =
        Run({"list", "disk", "--layout", "standard", "--depth", "all", "--json", "-"},
            R"("$0" "$@" | python3 -m json.tool >/dev/null && "$0" "$@" |
               jq -r '.rows[] | select(.cells[0] | endswith("song.mp3")) | .bytes, .modified, .path')");
    EXPECT_EQ(read.out, "2048\n2002-12-18T14:05:09Z\n" + disk + "/Music/song.mp3\n") << read.err;

    for (const char* target : {"missing/out.csv", "disk"}) {
        const ProgramResult failed = Run({"convert", "disk.dsc", "--csv", target});
        EXPECT_EQ(failed.exitCode, 1) << target;
        EXPECT_NE(failed.err.find(std::string("Cannot save \"") + target + "\""),
                  std::string::npos);
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(tree.Root()), {}), 3)
        << "disk, disk.dsc and out.csv, no temporary file";
}

TEST_F(CatalogueCommands, SearchPrintsOneLinePerMatchAndExitsLikeGrep) {
    tree.File("docs/broken\x1b[2J.dsc", "no");
    tree.Folder("docs/a");
    for (const char* copy : {"docs/a/copy.dsc", "docs/a/a\tb\nc.dsc", "docs/secret.dsc"})
        ASSERT_EQ(Run({"convert", "disk.dsc", "--dsc", copy}).exitCode, 0);
    tree.Chmod("", 0755);
    tree.Chmod("docs/secret.dsc", 0);
    // Unprivileged, so the document it may not read is not read: the others are searched, and
    // as for grep a path that could not be read makes the status 2.
    const std::optional<std::string> found = test::RunUnprivileged([&] {
        const ProgramResult r = Run({"search", "*.MP3", "disk.dsc", "docs"});
        return std::to_string(r.exitCode) + "\n" + r.out + r.err;
    });
    EXPECT_EQ(found, "2\ndisk.dsc\t6\tsong.mp3\t2.0 Kb\t\tsecond pressing\n"
                     "docs/a/a?b?c.dsc\t6\tsong.mp3\t2.0 Kb\t\tsecond pressing\n"
                     "docs/a/copy.dsc\t6\tsong.mp3\t2.0 Kb\t\tsecond pressing\n"
                     "\"docs/broken\x1b[2J.dsc\" is not a Dirscribe document: the file ends inside "
                     "the total size.\nCannot read \"docs/secret.dsc\": permission denied.\n");
    // A terminal is sent no escape sequence.
    const ProgramResult shown = Run({}, R"(script -qec "$0 search x docs/broken*" /dev/null)");
    EXPECT_EQ(shown.exitCode, 2);
    EXPECT_EQ(shown.out, "\"docs/broken?[2J.dsc\" is not a Dirscribe document: the file ends "
                         "inside the total size.\r\n");
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
    EXPECT_EQ(missing.err, "There are problem reading folder  " +
                               std::filesystem::canonical(tree.Root()).string() + "/disk\n");
    EXPECT_EQ(test::ReadFile(tree.Path("disk.dsc")), before);
}

// The lines of output, each split at its tabs.
std::vector<std::vector<std::string>> Fields(const std::string& text) {
    std::vector<std::vector<std::string>> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        auto& fields = lines.emplace_back();
        std::istringstream parts(line);
        for (std::string field; std::getline(parts, field, '\t');)
            fields.push_back(field);
    }
    return lines;
}

TEST_F(CatalogueCommands, VolumesDuplicatesAndFiltersAnswerFromTheCatalogue) {
    ASSERT_EQ(Run({"list", "disk", "--layout", "standard", "--depth", "all", "--dsc", "copy.dsc",
                   "--note", "blue box"})
                  .exitCode,
              0);
    const ProgramResult volumes = Run({"volumes", "disk.dsc", "copy.dsc"});
    ASSERT_EQ(volumes.exitCode, 0) << volumes.err;
    const auto lines = Fields(volumes.out);
    ASSERT_EQ(lines.size(), 2u) << volumes.out;
    EXPECT_FALSE(lines[1][2].empty()) << "the file system is known";
    EXPECT_EQ(std::vector<std::string>(lines[1].begin() + 6, lines[1].end()),
              (std::vector<std::string>{"6", "blue box", "copy.dsc"}));
    EXPECT_EQ(Run({"convert", "copy.dsc", "--json", "-"}, R"("$0" "$@" | jq -r .volume.note)").out,
              "blue box\n");
    // An update keeps the note, or gives it another.
    const auto note = [&] {
        return Fields(Run({"volumes", "copy.dsc"}).out).at(0).at(7);
    };
    ASSERT_EQ(Run({"update", "copy.dsc"}).exitCode, 0);
    EXPECT_EQ(note(), "blue box");
    ASSERT_EQ(Run({"update", "copy.dsc", "--note", "red box"}).exitCode, 0);
    EXPECT_EQ(note(), "red box");

    const std::string disk = std::filesystem::canonical(tree.Path("disk"));
    const ProgramResult copies = Run({"duplicates", "disk.dsc", "copy.dsc"});
    EXPECT_EQ(copies.exitCode, 0) << copies.err;
    EXPECT_TRUE(copies.out.starts_with("2 copies\t2048 bytes each\t2048 bytes again\tsong.mp3\n"
                                       "\tdisk.dsc\t6\t" +
                                       disk +
                                       "/Music/song.mp3\n"
                                       "\tcopy.dsc\t6\t" +
                                       disk +
                                       "/Music/song.mp3\n"
                                       "2 copies\t1 bytes each\t1 bytes again\t<b>bold.txt\n"))
        << copies.out;
    EXPECT_EQ(Fields(Run({"duplicates", "--by", "size", "disk.dsc", "copy.dsc"}).out).size(),
              1u + 2 + 1 + 6);
    EXPECT_EQ(Run({"duplicates", "disk.dsc"}).exitCode, 1) << "nothing stored twice";
    EXPECT_EQ(Run({"duplicates", "--by", "name", "disk.dsc"}).exitCode, 2);

    EXPECT_EQ(Run({"search", "--kind", "audio", "--size=+2047", "*", "disk.dsc"}).out,
              "disk.dsc\t6\tsong.mp3\t2.0 Kb\t\tsecond pressing\n");
    EXPECT_EQ(Run({"search", "--volume", "no such disk", "--no-index", "*", "copy.dsc"}).exitCode,
              1);
    const ProgramResult wrong = Run({"search", "--newer", "2002-13-01", "x", "disk.dsc"});
    EXPECT_EQ(wrong.exitCode, 2);
    EXPECT_TRUE(wrong.err.starts_with("dirscribe: invalid value for --newer: 2002-13-01\n"));
}

TEST_F(CatalogueCommands, DiffSaysWhatChangedLikeDiff) {
    ASSERT_EQ(Run({"convert", "disk.dsc", "--dsc", "same.dsc"}).exitCode, 0);
    const ProgramResult same = Run({"diff", "disk.dsc", "same.dsc"});
    EXPECT_EQ(same.exitCode, 0) << same.err;
    EXPECT_EQ(same.out, "");
    tree.File("disk/Music/new.mp3", "new");
    tree.File("disk/Music/song.mp3", std::string(3072, 'm'));
    tree.SetModified("disk/Docs/notes.txt", 1'041'379'200);
    ASSERT_EQ(std::remove(tree.Path("disk/readme.txt").c_str()), 0);
    const ProgramResult changed = Run({"diff", "disk.dsc", "--disk"});
    EXPECT_EQ(changed.exitCode, 1) << changed.err;
    const std::string notes = Fields(changed.out).at(0).at(2);
    EXPECT_EQ(changed.out,
              "modified\tDocs/notes.txt\t" + notes +
                  "\t2003-01-01 00:00:00\n"
                  "added\tMusic/new.mp3\t3\n"
                  "grown\tMusic/song.mp3\t+1024\n"
                  "gone\treadme.txt\t1\n"
                  "totals\t1 added (3 bytes), 1 gone (1 bytes), 1 grown (+1024 bytes), "
                  "0 shrunk (-0 bytes), 1 modified\n");
    const ProgramResult json =
        Run({"diff", "--json", "disk.dsc", "--disk"},
            R"("$0" "$@" | jq -c '[.changes[].change, .totals.grownBytes]')");
    EXPECT_EQ(json.out, "[\"modified\",\"added\",\"grown\",\"gone\",1024]\n");
    std::string old = test::ReadFile(tree.Path("disk.dsc"));
    old.resize(old.rfind("DSCX"));
    tree.File("old.dsc", old);
    const ProgramResult unknown = Run({"diff", "old.dsc", "disk.dsc"});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_EQ(unknown.err, "\"old.dsc\" records no entries of its own (it was saved before they "
                           "were recorded): update it first.\n");
    EXPECT_EQ(Run({"diff", "disk.dsc"}).exitCode, 2) << "a document alone is a usage error";
}

// Searches running at once in one cache wait for each other's writes and leave the index
// whole, each printing what the documents say.
TEST_F(CatalogueCommands, SearchesAtOnceShareOneIndexUnharmed) {
    tree.Folder("docs");
    for (int i = 0; i < 12; ++i)
        ASSERT_EQ(
            Run({"convert", "disk.dsc", "--dsc", "docs/" + std::to_string(i) + ".dsc"}).exitCode,
            0);
    const std::string answer = Run({"search", "--no-index", "o", "docs"}).out;
    const ProgramResult together = Run({"search", "o", "docs"},
                                       R"SH(export XDG_CACHE_HOME="$PWD/cache"
           for i in 1 2 3 4; do "$0" "$@" > out$i & done; wait
           for i in 1 2 3 4; do cat out$i; done
           python3 - cache/Dirscribe/catalogue.sqlite <<'EOF'
import sqlite3, sys
print(sqlite3.connect(sys.argv[1]).execute("PRAGMA integrity_check").fetchone()[0])
EOF)SH");
    EXPECT_EQ(together.out, answer + answer + answer + answer + "ok\n") << together.err;
    EXPECT_EQ(together.err, "");
}

// Any name Linux allows, read relative to the current folder as the shell names it (through a
// link): the listing stores the whole path, so an update run elsewhere relists that folder.
TEST_F(CatalogueCommands, ARelativePathIsStoredWholeAndAnyFolderNameIsListed) {
    const std::string name = "What? <*> |\"x\"";
    tree.File("work/" + name + "/song.mp3", "s");
    tree.File("elsewhere/" + name + "/other.mp3", "o");
    tree.Symlink("here", "work");
    const std::string none = tree.Path("none.ini");
    tree.File("none.ini");
    const ProgramResult listed =
        RunDirscribe({"list", name, "--profile", none, "--dsc", "l.dsc", "--txt", "l.txt"},
                     {tree.Path("work"), {"env", "PWD=" + tree.Path("here")}, {}});
    ASSERT_EQ(listed.exitCode, 0) << listed.err;
    EXPECT_TRUE(
        test::ReadFile(tree.Path("work/l.txt"))
            .starts_with("Dirscribe: Listing of   <" + tree.Path("here/" + name) + "> \r\n"));
    tree.File("work/" + name + "/new.mp3", "n");
    const ProgramResult updated = RunDirscribe({"update", "../work/l.dsc", "--profile", none},
                                               {tree.Path("elsewhere"), {}, {}});
    EXPECT_EQ(updated.err, "dirscribe: updated ../work/l.dsc: 1 kept, 1 new, 0 gone\n");
}

} // namespace
} // namespace dirscribe
