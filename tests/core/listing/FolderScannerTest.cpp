// SPDX-License-Identifier: MIT
#include "core/listing/FolderScanner.h"

#include "support/ChildProcess.h"
#include "support/RecordingNotice.h"
#include "support/TempTree.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace dirscribe {
namespace {

using test::RecordingNotice;
using test::TempTree;

// The entries in display order.
std::vector<ListingEntry> Rows(const CDirscribeDoc& doc) {
    std::vector<ListingEntry> rows;
    for (std::size_t r = 0; r < doc.RowCount(); ++r)
        rows.push_back(doc.entries.At(doc.EntryOfRow(r)));
    return rows;
}

// One line per row: name, size and attribute bits in hex.
std::string Dump(const CDirscribeDoc& doc) {
    std::ostringstream out;
    for (const ListingEntry& e : Rows(doc))
        out << ShownName(e) << '|' << e.size << '|' << std::hex << e.attributes << std::dec << '\n';
    return out.str();
}

std::vector<std::string> Names(const CDirscribeDoc& doc) {
    std::vector<std::string> names;
    for (const ListingEntry& e : Rows(doc))
        names.push_back(ShownName(e));
    return names;
}

class FolderScannerTest : public ::testing::Test {
protected:
    // root: A/{a1 (10 bytes), Deep/{d1 (100 bytes)}}, B/ (empty), x (1 byte), y (2 bytes)
    void SetUp() override {
        tree.File("A/a1", std::string(10, 'a'));
        tree.File("A/Deep/d1", std::string(100, 'd'));
        tree.Folder("B");
        tree.File("x", "x");
        tree.File("y", "yy");
    }

    ReadOutcome Read(int mode, int depth) {
        doc = {};
        FolderScanner scanner(notice, progress, stop);
        return scanner.ReadFolderTree(doc, tree.Root(), mode, depth);
    }

    TempTree tree;
    CDirscribeDoc doc;
    RecordingNotice notice;
    NullProgress progress;
    StopFlag stop;
};

// The rows of real trees at every depth and content are checked with whole reports of the
// list command; here, what a report does not show.
TEST_F(FolderScannerTest, SingleFolderReadPlacesFoldersReversedThenFilesWithRecursiveTotals) {
    ASSERT_EQ(Read(kFilesAndFolders, 0), ReadOutcome::Read);
    EXPECT_EQ(Dump(doc), "B|0|10\nA|110|10\nx|1|20\ny|2|20\n");
    EXPECT_EQ(doc.headFolderCount, 2);
    EXPECT_EQ(doc.summary, (ListingSummary{113, 4, 3}));
    ASSERT_EQ(Read(kFoldersOnly, 1), ReadOutcome::Read);
    EXPECT_EQ(doc.headFolderCount, 0);
    EXPECT_EQ(doc.summary, (ListingSummary{113, 4, 3})) << "counts ignore the mode and depth";
    EXPECT_TRUE(doc.collected.empty());
    EXPECT_TRUE(notice.shown.empty());
}

TEST_F(FolderScannerTest, NamesAreOrderedAlikeOnEveryFileSystem) {
    TempTree names;
    for (const char* name : {"b", "B2", "a", "A", "_u", "Z", "[x", "\xC3\xA9"})
        names.File(name);
    FolderScanner scanner(notice, progress, stop);
    ASSERT_EQ(scanner.ReadFolder(doc, names.Root(), kFilesOnly), ReadOutcome::Read);
    // Upper-cased bytes first ('[' 0x5B and '_' 0x5F after 'Z'), raw bytes break ties.
    EXPECT_EQ(Names(doc),
              (std::vector<std::string>{"A", "a", "b", "B2", "Z", "[x", "_u", "\xC3\xA9"}));
}

TEST_F(FolderScannerTest, OddEntriesAreListedNeverFollowed) {
    TempTree odd;
    odd.SizedFile("sparse", 5ull << 30);
    odd.Symlink("loop", ".");
    odd.Symlink("dangling", "nowhere/at/all");
    odd.File("line\nbreak\ttab");
    odd.File(std::string("bad\xFF\xFE"), "12345");
    odd.File(".hidden");
    odd.File("readonly");
    odd.Chmod("readonly", 0444);
    odd.Folder("sub");
    odd.Symlink("sub/up", "..");
    odd.SetModified("sparse", 1040220309);
    FolderScanner scanner(notice, progress, stop);
    ASSERT_EQ(scanner.ReadFolderTree(doc, odd.Root(), kFilesAndFolders, -1), ReadOutcome::Read);
    ASSERT_EQ(scanner.ReadFolder(doc, odd.Root(), kFilesAndFolders), ReadOutcome::Read);
    EXPECT_EQ(Dump(doc), "sub|2|10\n"
                         ".hidden|0|22\n"
                         "bad\xC3\xBF\xC3\xBE|5|20\n"
                         "dangling|14|400\n"
                         "line?break?tab|0|20\n"
                         "loop|1|400\n"
                         "readonly|0|21\n"
                         "sparse|5368709120|20\n");
    EXPECT_EQ(doc.entries.Name(2), "bad\xFF\xFE") << "the raw name is kept for the disk";
    EXPECT_EQ(doc.entries.Modified(7), 126'846'939'090'000'000u);
    EXPECT_EQ(doc.summary, (ListingSummary{5368709120ull + 5 + 14 + 1 + 2, 8, 1}));
}

TEST_F(FolderScannerTest, WhatCannotBeReadIsReported) {
    FolderScanner scanner(notice, progress, stop);
    for (const char* path : {"missing", "x"}) {
        EXPECT_EQ(scanner.ReadFolder(doc, tree.Path(path), kFilesAndFolders), ReadOutcome::Failed);
        ASSERT_FALSE(notice.shown.empty());
        EXPECT_EQ(notice.shown.back().text, "There are problem reading folder  " + tree.Path(path));
    }
    EXPECT_TRUE(doc.entries.Empty());
    EXPECT_EQ(doc.summary, ListingSummary{});
    notice.shown.clear();
    EXPECT_EQ(scanner.ReadFolder(doc, tree.Path("System Volume Information"), kFilesAndFolders),
              ReadOutcome::Failed);
    EXPECT_TRUE(notice.shown.empty()) << "that folder fails silently";
}

// As the unprivileged user: "locked" and "System Volume Information" cannot be opened.
TEST_F(FolderScannerTest, UnreadableSubfoldersCountButShowNoContents) {
    tree.File("locked/inside", "12345");
    tree.File("System Volume Information/tracking", "123");
    tree.Chmod("", 0755);
    tree.Chmod("locked", 0);
    tree.Chmod("System Volume Information", 0);
    const auto result = test::RunUnprivileged([&] {
        std::ostringstream out;
        for (int depth : {0, 1}) {
            RecordingNotice childNotice;
            CDirscribeDoc childDoc;
            FolderScanner scanner(childNotice, progress, stop);
            scanner.ReadFolderTree(childDoc, tree.Root(), kFilesAndFolders, depth);
            out << Dump(childDoc) << childDoc.summary.totalBytes << ' '
                << childDoc.summary.fileCount << ' ' << childDoc.summary.folderCount << '\n';
            for (const auto& shown : childNotice.shown)
                out << "notice: " << shown.text << '\n';
        }
        return out.str();
    });
    ASSERT_TRUE(result.has_value());
    const std::string restricted = "System Volume Information *restricted";
    EXPECT_EQ(*result, restricted +
                           "|0|11\nlocked|0|11\nB|0|10\nA|110|10\nx|1|20\ny|2|20\n"
                           "113 4 5\n"
                           "   y|2|20\n   x|1|20\n| -[A]|110|10\n| -[B]|0|10\n"
                           "| -[locked]|0|11\n| -[" +
                           restricted +
                           "]|0|11\n113 4 5\nnotice: There are problem reading folder  " +
                           tree.Path("locked") + "\n");
}

TEST_F(FolderScannerTest, StopEndsTheReadAndLeavesNothing) {
    stop.Request();
    EXPECT_EQ(Read(kFilesAndFolders, -1), ReadOutcome::Stopped);
    EXPECT_TRUE(doc.entries.Empty());
    EXPECT_EQ(doc.summary, ListingSummary{});
}

TEST_F(FolderScannerTest, OtherFileSystemsAreNotEntered) {
    if (!tree.MountTmpfs("mnt"))
        GTEST_SKIP() << "cannot mount a file system here";
    tree.File("mnt/big", std::string(1000, 'b'));
    ASSERT_EQ(Read(kFilesAndFolders, -1), ReadOutcome::Read);
    EXPECT_EQ(Names(doc),
              (std::vector<std::string>{"   y", "   x", "| -[A]", "|       a1", "| | --[Deep]",
                                        "| |          d1", "| -[B]", "| -[mnt]"}));
    EXPECT_EQ(Rows(doc).back().size, 0u);
    EXPECT_EQ(doc.summary, (ListingSummary{113, 4, 4}));
    EXPECT_TRUE(notice.shown.empty());
}

TEST_F(FolderScannerTest, ReadsAFolderOfAHundredThousandEntries) {
    tree.Folder("w");
    for (int i = 0; i < 100000; ++i) {
        const std::string path = tree.Path("w/f" + std::to_string(i));
        ::close(::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644));
    }
    ASSERT_EQ(FolderScanner(notice, progress, stop).ReadFolder(doc, tree.Path("w"), kFilesOnly),
              ReadOutcome::Read);
    ASSERT_EQ(doc.entries.Size(), 100000u);
    EXPECT_EQ(Names(doc)[2], "f10");
}

} // namespace
} // namespace dirscribe
