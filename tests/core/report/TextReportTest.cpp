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

ListingOptions Settings(int comments, int size, int attribute, int date, int filesAndFolders) {
    ListingOptions options;
    options.addComments = comments;
    options.addSize = size;
    options.addAttribute = attribute;
    options.addDate = date;
    options.filesAndFolders = static_cast<ListingContent>(filesAndFolders);
    return options;
}

// A Size cell as the table holds it: right-aligned in 17 characters.
std::string SizeCell(const std::string& text) {
    return std::string(17 - text.size(), ' ') + text;
}

constexpr ListingSummary kSummary{1536, 12, 3}; // bytes, files, folders

// Each report is written into a file, as a save would, read back and compared with its
// golden file. Widths count characters, not bytes ("\xC3\x89t\xC3\xA9.mp3"); a field is as wide
// as the one before it leaves room for; columns are taken by position.
TEST(TextReport, EachSetOfColumnsWritesTheReportOfItsGoldenFile) {
    struct Case {
        const char* golden;
        ListingOptions options;
        std::vector<RowRecord> rows;
        std::vector<TableColumn> columns = {}; // when not the settings' own
        ListingSummary summary = kSummary;
        const char* path = "/home/ann/Projects";
    };
    ListingOptions bytes = Settings(0, 0, 0, 0, 0);
    bytes.addSizeInBytes = 1;
    bytes.numberFileLines = 1; // has no effect on the report
    const std::string date1 = " 12/18/2002 14:05:09";
    const std::string date2 = " 18 Dec 2002 14:05:09";
    const std::vector<Case> cases = {
        {"all_columns.txt",
         Settings(1, 1, 1, 1, 2),
         {{"[Docs]", "", SizeCell("1.5 Kb"), "", date1},
          {"notes.txt", "shopping list", SizeCell("999  b"), "A", date1},
          {"comments:", "bring milk", "", "", ""},
          {"  ***Company Name", "Acme Corp.", "", "", ""},
          {"\xC3\x89t\xC3\xA9.mp3", "caf\xC3\xA9", SizeCell("2.0 Mb"), "AH", date1},
          {"", "", "", "", ""}, // an inserted blank row
          {"old.log", "keep", "", "R", date1}}},
        {"comments_off.txt",
         Settings(0, 1, 1, 1, 1),
         {{"a.txt", SizeCell("1.0 Kb"), "A", date2, ""},
          {"[Sub]", "", "", date2, ""},
          {"b.bin", "", "H", "", ""},
          {"comments:", "note", "", "", ""},
          {"  ***File Version", "1.2.3", "", "", ""}}},
        {"no_columns.txt",
         bytes,
         {{"[Alpha]"}, {"[Beta]"}, {"comments:"}, {"  ***Title"}},
         {},
         {1536, 2'147'483'647, 0},
         "/srv/archive"},
        {"size_date.txt",
         Settings(0, 1, 0, 1, 2),
         {{"x.dat", SizeCell("5.0 Gb"), " 18/12, 2002 14:05:09"},
          {"y.dat", "", " 18/12, 2002 14:05:09"},
          {"z.dat", SizeCell("0  b"), ""}}},
        {"comments_size_date.txt",
         Settings(1, 1, 0, 1, 2),
         {{"song.mp3", "", SizeCell("3.4 Mb"), " Dec 18, 2002 14:05:09"},
          {"readme", "first read", "", " Dec 18, 2002 14:05:09"},
          {"comments:", "a comment longer than the fifty-nine character field is written whole"}}},
        {"comments_attr_date.txt",
         Settings(1, 0, 1, 1, 2),
         {{"f1", "c", "", " 18/12/2002 14:05:09"}, {"f2", "", "RS", " 18/12/2002 14:05:09"}}},
        // The settings ask for an Attr. column the table does not have.
        {"missing_column.txt",
         Settings(1, 1, 1, 0, 2),
         {{"g.txt", "hello", SizeCell("1.0 Kb")}, {"h.txt"}},
         {ListingColumn(ColumnKind::FileName), ListingColumn(ColumnKind::Comments),
          ListingColumn(ColumnKind::Size)}},
        {"no_banner.txt", Settings(1, 0, 0, 0, 7), {}}, // a content setting it does not know
    };
    const test::TempTree tree;
    const std::string file = tree.Path("listing.txt");
    for (const Case& c : cases) {
        ListingTable table;
        table.SetColumns(c.columns.empty() ? ListingColumns(c.options) : c.columns);
        for (const RowRecord& row : c.rows)
            test::AppendInferred(table, row);
        test::WriteFile(file, WriteTextReport(c.summary, c.path, c.options, table, kCreatedOn));
        EXPECT_EQ(test::ReadFile(file), test::ReadTestData(std::string("report/") + c.golden))
            << c.golden;
    }
}

TEST(TextReport, NamesKeepTheirBytes) {
    // Names are bytes from the file system: invalid UTF-8 and control characters pass
    // through unchanged, and a stray byte counts as one character of a field.
    const ListingOptions options = Settings(1, 0, 0, 0, 2);
    ListingTable table;
    table.SetColumns(ListingColumns(options));
    test::AppendInferred(table, {"bad\xFF\tname", "\xE9t\xE9", "", "", ""});
    const std::string report = WriteTextReport(kSummary, "/tmp/x\xFF", options, table, kCreatedOn);
    EXPECT_TRUE(report.starts_with("Dirscribe: Listing of   </tmp/x\xFF> \r\n"));
    const std::string record = "bad\xFF\tname \r\n " + std::string(45, ' ') + "\xE9t\xE9\r\n";
    ASSERT_GE(report.size(), record.size());
    EXPECT_EQ(report.substr(report.size() - record.size()), record);
}

} // namespace
} // namespace dirscribe
