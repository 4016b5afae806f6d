// SPDX-License-Identifier: MIT
#include "core/listing/FolderScanner.h"

#include "core/table/NameCell.h"
#include "support/ChildProcess.h"
#include "support/RecordingNotice.h"
#include "support/SmallTree.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>

namespace dirscribe {
namespace {

using test::RecordingNotice;
using test::TempTree;

// One line per row in display order: name as shown, size and attribute bits in hex.
std::string Dump(const CDirscribeDoc& doc) {
    std::ostringstream out;
    for (std::size_t r = 0; r < doc.RowCount(); ++r) {
        const std::uint32_t e = doc.EntryOfRow(r);
        out << ShownName(doc.entries, e) << '|' << doc.entries.Bytes(e) << '|' << std::hex
            << doc.entries.Attributes(e) << std::dec << '\n';
    }
    return out.str();
}

class FolderScannerTest : public ::testing::Test {
protected:
    void SetUp() override { test::FillSmallTree(tree); }

    ReadOutcome Read(ListingContent content, int depth) {
        doc = {};
        FolderScanner scanner(notice, progress, stop);
        return scanner.ReadFolderTree(doc, tree.Root(), content, depth);
    }

    TempTree tree;
    CDirscribeDoc doc;
    RecordingNotice notice;
    NullProgress progress;
    StopFlag stop;
};

// The walk has its own tests (FolderWalkTest), and the rows of real trees at every depth and
// content are checked with whole reports of the list command; here, what a report does not
// show.
TEST_F(FolderScannerTest, SingleFolderReadPlacesFoldersReversedThenFilesWithRecursiveTotals) {
    ASSERT_EQ(Read(ListingContent::FilesAndFolders, 0), ReadOutcome::Read);
    EXPECT_EQ(Dump(doc), "B|0|10\nA|110|10\nx|1|20\ny|2|20\n");
    EXPECT_EQ(doc.headFolderCount, 2);
    EXPECT_EQ(doc.summary, (ListingSummary{113, 4, 3}));
    ASSERT_EQ(Read(ListingContent::FoldersOnly, 1), ReadOutcome::Read);
    EXPECT_EQ(doc.headFolderCount, 0);
    EXPECT_EQ(doc.summary, (ListingSummary{113, 4, 3})) << "counts ignore the mode and depth";
    EXPECT_TRUE(notice.shown.empty());
}

TEST_F(FolderScannerTest, WhatCannotBeReadIsReported) {
    FolderScanner scanner(notice, progress, stop);
    for (const char* path : {"missing", "x"}) {
        EXPECT_EQ(scanner.ReadFolder(doc, tree.Path(path), ListingContent::FilesAndFolders),
                  ReadOutcome::Failed);
        ASSERT_FALSE(notice.shown.empty());
        EXPECT_EQ(notice.shown.back().text, "There are problem reading folder  " + tree.Path(path));
    }
    EXPECT_TRUE(doc.entries.Empty());
    EXPECT_EQ(doc.summary, ListingSummary{});
    notice.shown.clear();
    EXPECT_EQ(scanner.ReadFolder(doc, tree.Path("System Volume Information"),
                                 ListingContent::FilesAndFolders),
              ReadOutcome::Failed);
    EXPECT_TRUE(notice.shown.empty()) << "that folder fails silently";
}

// As the unprivileged user: "locked" and "System Volume Information" cannot be opened; the
// first is reported at every depth, since its total lacks what it holds.
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
            scanner.ReadFolderTree(childDoc, tree.Root(), ListingContent::FilesAndFolders, depth);
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
                           "113 4 5\nnotice: There are problem reading folder  " +
                           tree.Path("locked") +
                           "\n"
                           "   y|2|20\n   x|1|20\n| -[A]|110|10\n| -[B]|0|10\n"
                           "| -[locked]|0|11\n| -[" +
                           restricted +
                           "]|0|11\n113 4 5\nnotice: There are problem reading folder  " +
                           tree.Path("locked") + "\n");
}

} // namespace
} // namespace dirscribe
