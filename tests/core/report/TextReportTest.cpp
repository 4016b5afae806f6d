// SPDX-License-Identifier: MIT
// Whole text reports compared byte for byte with reports written out by hand.
#include "core/report/TextReport.h"

#include "core/table/TablePopulation.h"
#include "support/TableRows.h"
#include "support/TempTree.h"

#include <ctime>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace dirscribe {
namespace {

constexpr std::time_t kCreatedOn = 1'040'220'309; // Wed Dec 18 14:05:09 2002 UTC

std::string Expected(const std::string& name) {
    return test::ReadTestData("report/" + name);
}

ListingOptions Settings(int comments, int size, int attribute, int date, int filesAndFolders) {
    ListingOptions options;
    options.addComments = comments;
    options.addSize = size;
    options.addAttribute = attribute;
    options.addDate = date;
    options.filesAndFolders = static_cast<ListingContent>(filesAndFolders);
    return options;
}

// The columns a filled table has for these settings.
ListingTable TableFor(const ListingOptions& options) {
    ListingTable table;
    table.SetColumns(ListingColumns(options));
    return table;
}

// A Size cell as the table holds it: right-aligned in 17 characters.
std::string SizeCell(const std::string& text) {
    return std::string(17 - text.size(), ' ') + text;
}

constexpr ListingSummary kSummary{1536, 12, 3}; // bytes, files, folders

// Writes the report into a file, as a save would, and reads it back.
std::string WrittenReport(const ListingSummary& summary, std::string_view path,
                          const ListingOptions& options, const ListingTable& table) {
    const test::TempTree tree;
    const std::string file = tree.Path("listing.txt");
    test::WriteFile(file, WriteTextReport(summary, path, options, table, kCreatedOn));
    return test::ReadFile(file);
}

TEST(TextReport, AllColumnsWithCommentRowsDetailRowsAndEmptyFields) {
    const ListingOptions options = Settings(1, 1, 1, 1, 2);
    ListingTable table = TableFor(options);
    const std::string date = " 12/18/2002 14:05:09";
    test::AppendInferred(table, {"[Docs]", "", SizeCell("1.5 Kb"), "", date});
    test::AppendInferred(table, {"notes.txt", "shopping list", SizeCell("999  b"), "A", date});
    test::AppendInferred(table, {"comments:", "bring milk", "", "", ""});
    test::AppendInferred(table, {"  ***Company Name", "Acme Corp.", "", "", ""});
    // "Été.mp3" and "café": widths count characters, not bytes.
    test::AppendInferred(table,
                         {"\xC3\x89t\xC3\xA9.mp3", "caf\xC3\xA9", SizeCell("2.0 Mb"), "AH", date});
    test::AppendInferred(table, {"", "", "", "", ""}); // an inserted blank row
    test::AppendInferred(table, {"old.log", "keep", "", "R", date});

    EXPECT_EQ(WrittenReport(kSummary, "/home/ann/Projects", options, table),
              Expected("all_columns.txt"));
}

TEST(TextReport, CommentAndDetailRowsWithoutTheCommentsColumn) {
    const ListingOptions options = Settings(0, 1, 1, 1, 1);
    ListingTable table = TableFor(options);
    const std::string date = " 18 Dec 2002 14:05:09";
    test::AppendInferred(table, {"a.txt", SizeCell("1.0 Kb"), "A", date, ""});
    test::AppendInferred(table, {"[Sub]", "", "", date, ""});
    test::AppendInferred(table, {"b.bin", "", "H", "", ""});
    test::AppendInferred(table, {"comments:", "note", "", "", ""});
    test::AppendInferred(table, {"  ***File Version", "1.2.3", "", "", ""});

    EXPECT_EQ(WrittenReport(kSummary, "/home/ann/Projects", options, table),
              Expected("comments_off.txt"));
}

TEST(TextReport, NoOptionalColumnFoldersOnlyAndByteSizes) {
    ListingOptions options = Settings(0, 0, 0, 0, 0);
    options.addSizeInBytes = 1;
    options.numberFileLines = 1; // has no effect on the report
    ListingTable table = TableFor(options);
    test::AppendInferred(table, {"[Alpha]", "", "", "", ""});
    test::AppendInferred(table, {"[Beta]", "", "", "", ""});
    test::AppendInferred(table, {"comments:", "", "", "", ""});
    test::AppendInferred(table, {"  ***Title", "", "", "", ""});
    ListingSummary summary;
    summary.totalBytes = 1536;
    summary.folderCount = 0;
    summary.fileCount = 2'147'483'647;

    EXPECT_EQ(WrittenReport(summary, "/srv/archive", options, table), Expected("no_columns.txt"));
}

TEST(TextReport, FieldWidthsFollowTheEmptinessOfTheFieldBefore) {
    {
        SCOPED_TRACE("size and date");
        const ListingOptions options = Settings(0, 1, 0, 1, 2);
        ListingTable table = TableFor(options);
        const std::string date = " 18/12, 2002 14:05:09";
        test::AppendInferred(table, {"x.dat", SizeCell("5.0 Gb"), date, "", ""});
        test::AppendInferred(table, {"y.dat", "", date, "", ""});
        test::AppendInferred(table, {"z.dat", SizeCell("0  b"), "", "", ""});
        EXPECT_EQ(WrittenReport(kSummary, "/home/ann/Projects", options, table),
                  Expected("size_date.txt"));
    }
    {
        SCOPED_TRACE("comments, size and date");
        const ListingOptions options = Settings(1, 1, 0, 1, 2);
        ListingTable table = TableFor(options);
        const std::string date = " Dec 18, 2002 14:05:09";
        test::AppendInferred(table, {"song.mp3", "", SizeCell("3.4 Mb"), date, ""});
        test::AppendInferred(table, {"readme", "first read", "", date, ""});
        test::AppendInferred(
            table,
            {"comments:", "a comment longer than the fifty-nine character field is written whole",
             "", "", ""});
        EXPECT_EQ(WrittenReport(kSummary, "/home/ann/Projects", options, table),
                  Expected("comments_size_date.txt"));
    }
    {
        SCOPED_TRACE("comments, attributes and date");
        const ListingOptions options = Settings(1, 0, 1, 1, 2);
        ListingTable table = TableFor(options);
        const std::string date = " 18/12/2002 14:05:09";
        test::AppendInferred(table, {"f1", "c", "", date, ""});
        test::AppendInferred(table, {"f2", "", "RS", date, ""});
        EXPECT_EQ(WrittenReport(kSummary, "/home/ann/Projects", options, table),
                  Expected("comments_attr_date.txt"));
    }
}

TEST(TextReport, ColumnsAreTakenByPositionAndMissingOnesReadEmpty) {
    // The settings ask for an Attr. column the table does not have.
    const ListingOptions options = Settings(1, 1, 1, 0, 2);
    ListingTable table;
    table.SetColumns({{kFileNameTitle}, {kCommentsTitle}, {kSizeTitle}});
    test::AppendInferred(table, {"g.txt", "hello", SizeCell("1.0 Kb"), "", ""});
    test::AppendInferred(table, {"h.txt", "", "", "", ""});

    EXPECT_EQ(WrittenReport(kSummary, "/home/ann/Projects", options, table),
              Expected("missing_column.txt"));
}

TEST(TextReport, UnknownModesWriteNoBanner) {
    const ListingOptions options = Settings(1, 0, 0, 0, 7);
    const ListingTable table = TableFor(options);

    EXPECT_EQ(WrittenReport(kSummary, "/home/ann/Projects", options, table),
              Expected("no_banner.txt"));
}

TEST(TextReport, NamesKeepTheirBytes) {
    // Names are bytes from the file system: invalid UTF-8 and control characters pass
    // through unchanged, and a stray byte counts as one character of a field.
    const ListingOptions options = Settings(1, 0, 0, 0, 2);
    ListingTable table = TableFor(options);
    test::AppendInferred(table, {"bad\xFF\tname", "\xE9t\xE9", "", "", ""});
    const std::string report = WriteTextReport(kSummary, "/tmp/x\xFF", options, table, kCreatedOn);
    EXPECT_TRUE(report.starts_with("Dirscribe: Listing of   </tmp/x\xFF> \r\n"));
    const std::string record = "bad\xFF\tname \r\n " + std::string(45, ' ') + "\xE9t\xE9\r\n";
    ASSERT_GE(report.size(), record.size());
    EXPECT_EQ(report.substr(report.size() - record.size()), record);
}

} // namespace
} // namespace dirscribe
