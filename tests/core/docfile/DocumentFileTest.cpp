// SPDX-License-Identifier: MIT
// Document files written byte for byte, read back, and refused when they are not whole.
#include "core/docfile/DocumentFile.h"

#include "core/Error.h"
#include "core/table/TablePopulation.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace dirscribe {
namespace {

using namespace std::string_literals;

// Why the bytes are refused, after the start every refusal shares.
std::string RefusalOf(std::string_view bytes) {
    const std::string start = "This is not a Dirscribe document: ";
    try {
        (void)ReadDocumentFile(bytes);
    } catch (const Error& error) {
        const std::string what = error.what();
        EXPECT_TRUE(what.starts_with(start)) << what;
        return what.substr(std::min(what.size(), start.size()));
    }
    return "(read without complaint)";
}

// The head of a document: summary 0, the path as given (length byte first), settings
// 0 1 1 1 1 1 1 (Print as, Print Title, Summary, Add Comments, Add Size, Add Attribute, Add Date).
std::string Head(const std::string& path) {
    return std::string(16, '\0') + path +
           "\x00\x00\x00\x00\x01\x00\x00\x00\x01\x00\x00\x00\x01\x00\x00\x00"
           "\x01\x00\x00\x00\x01\x00\x00\x00\x01\x00\x00\x00"s;
}
const std::string kHead = Head("\x02/p");

TEST(DocumentFile, EmptyListingIs48BytesAndThePath) {
    ListingOptions options; // the settings of kHead
    options.printAs = 0;
    options.addComments = options.addAttribute = options.addDate = 1;
    ListingTable table;
    table.SetColumns(ListingColumns(options));
    const std::string bytes = WriteDocumentFile({}, "/p", options, table);
    EXPECT_EQ(bytes, kHead + "\x00\x00\x00\x00"s);

    const DocumentContents contents = ReadDocumentFile(bytes);
    EXPECT_EQ(contents.folderPath, "/p");
    EXPECT_EQ(contents.summary, ListingSummary{});
    EXPECT_EQ(contents.settings, DocumentSettings::From(options));
    EXPECT_TRUE(contents.rows.Empty());
}

// Summary 5 000 000 000 bytes (0x12A05F200), 300 files, 7 folders; path "/data/cd";
// Standard layout with comments, sizes and dates; a folder row and a comment row.
const std::string kSmall = "\x00\xF2\x05\x2A\x01\x00\x00\x00" // total bytes
                           "\x2C\x01\x00\x00"                 // 300 files
                           "\x07\x00\x00\x00"                 // 7 folders
                           "\x08/data/cd"                     // path
                           "\x00\x00\x00\x00"                 // Print as: Standard
                           "\x01\x00\x00\x00"                 // Print Title
                           "\x00\x00\x00\x00"                 // Summary
                           "\x01\x00\x00\x00"                 // Add Comments
                           "\x01\x00\x00\x00"                 // Add Size
                           "\x00\x00\x00\x00"                 // Add Attribute
                           "\x01\x00\x00\x00"                 // Add Date
                           "\x02\x00\x00\x00"                 // 2 rows
                           "\x07[music]"
                           "\x00"
                           "\x04"
                           "1 Kb"
                           "\x0B 12/18/2002"
                           "\x00"
                           "\x09"
                           "comments:"
                           "\x07to keep"
                           "\x00\x00\x00"s;

ListingOptions SmallOptions() {
    ListingOptions options;
    options.printAs = 0;
    options.printTitle = 1;
    options.summary = 0;
    options.addComments = 1;
    options.addSize = 1;
    options.addAttribute = 0;
    options.addDate = 1;
    return options;
}

TEST(DocumentFile, SmallListingByteForByte) {
    const ListingOptions options = SmallOptions();
    ListingTable table;
    table.SetColumns(ListingColumns(options)); // FileName, Comments, Size, Last Modified
    table.AppendRow({"[music]", "", "1 Kb", " 12/18/2002", "ignored: no fifth column"});
    table.AppendRow({"comments:", "to keep", "", "", ""});
    const ListingSummary summary{5000000000u, 300, 7};

    const std::string bytes = WriteDocumentFile(summary, "/data/cd", options, table);
    ASSERT_EQ(bytes.size(), 105u);
    EXPECT_EQ(bytes, kSmall);

    const DocumentContents contents = ReadDocumentFile(kSmall);
    EXPECT_EQ(contents.summary, summary);
    EXPECT_EQ(contents.folderPath, "/data/cd");
    EXPECT_EQ(contents.settings, DocumentSettings::From(options));
    ASSERT_EQ(contents.rows.Size(), 2);
    EXPECT_EQ(contents.rows.Record(0), (RowRecord{"[music]", "", "1 Kb", " 12/18/2002", ""}));
    EXPECT_EQ(contents.rows.Record(1), (RowRecord{"comments:", "to keep", "", "", ""}));
}

TEST(DocumentFile, EveryColumnCombinationRoundTripsPositionally) {
    for (int mask = 0; mask < 16; ++mask) {
        SCOPED_TRACE(mask);
        ListingOptions options;
        options.printAs = mask % 4;
        options.printTitle = mask & 1;
        options.summary = (mask >> 1) & 1;
        options.addComments = mask & 1;
        options.addSize = (mask >> 1) & 1;
        options.addAttribute = (mask >> 2) & 1;
        options.addDate = (mask >> 3) & 1;
        ListingTable table;
        table.SetColumns(ListingColumns(options));

        RowRecord record; // a text in each column the table has, in their order
        for (int c = 0; c < table.ColumnCount(); ++c)
            record[static_cast<std::size_t>(c)] = "cell " + std::to_string(c);
        table.AppendRow(record);

        const std::string bytes = WriteDocumentFile({12800, 1, 1}, "/srv", options, table);
        const DocumentContents contents = ReadDocumentFile(bytes);
        ASSERT_EQ(contents.rows.Size(), 1);
        EXPECT_EQ(contents.rows.Record(0), record);

        // The settings come back, so the same columns can be rebuilt over the same strings.
        ListingOptions reopened;
        reopened.printAs = 3;
        contents.settings.ApplyTo(reopened);
        EXPECT_EQ(ListingColumns(reopened), table.Columns());
        EXPECT_EQ(DocumentSettings::From(reopened), DocumentSettings::From(options));

        ListingTable again;
        again.SetColumns(ListingColumns(reopened));
        again.AdoptRows(contents.rows);
        EXPECT_EQ(WriteDocumentFile(contents.summary, contents.folderPath, reopened, again), bytes);
    }

    // Size on and Comments off: the size text is the second string of the record.
    ListingOptions options;
    options.addComments = 0;
    options.addSize = 1;
    ListingTable table;
    table.SetColumns(ListingColumns(options));
    table.AppendRow({"a.txt", "  1 Kb", "", "", ""});
    const std::string bytes = WriteDocumentFile({}, "", options, table);
    EXPECT_EQ(bytes.substr(45), "\x01\x00\x00\x00\x05"
                                "a.txt"
                                "\x06  1 Kb"
                                "\x00\x00\x00"s);
}

TEST(DocumentFile, TruncatedAtEveryByteIsRefused) {
    for (std::size_t n = 0; n < kSmall.size(); ++n) {
        SCOPED_TRACE(n);
        EXPECT_THROW((void)ReadDocumentFile(std::string_view(kSmall).substr(0, n)), Error);
    }
    const std::string_view file(kSmall);
    EXPECT_EQ(RefusalOf(file.substr(0, 0)), "the file is empty.");
    EXPECT_EQ(RefusalOf(file.substr(0, 20)), "the file ends inside the folder path.");
    EXPECT_EQ(RefusalOf(file.substr(0, 51)), "the file ends inside the setting \"Add Date\".");
    EXPECT_EQ(RefusalOf(file.substr(0, 55)), "the file ends inside the row count.");
    // 9 bytes left cannot hold two rows of at least five bytes each.
    EXPECT_EQ(RefusalOf(file.substr(0, 66)),
              "it announces 2 rows, but the rest of the file can hold at most 1.");
    EXPECT_EQ(RefusalOf(file.substr(0, 90)), "the file ends inside row 2 of 2.");
}

TEST(DocumentFile, CountsSettingsAndTrailingBytesAreChecked) {
    // The largest row count over a few bytes is refused before anything is reserved.
    EXPECT_EQ(RefusalOf(kHead + "\xFF\xFF\xFF\x7F"
                                "\x00\x00\x00\x00\x00"s),
              "it announces 2147483647 rows, but the rest of the file can hold at most 1.");
    EXPECT_EQ(RefusalOf(kHead + "\xFF\xFF\xFF\xFF"s), "the row count is -1.");
    EXPECT_EQ(ReadDocumentFile(kHead + "\x01\x00\x00\x00"
                                       "\x00\x00\x00\x00\x00"s)
                  .rows.Size(),
              1u);

    EXPECT_EQ(RefusalOf(kSmall + "\x00"s), "1 byte follows the last row.");
    EXPECT_EQ(RefusalOf(kHead + "\x00\x00\x00\x00"
                                "\r\n"s),
              "2 bytes follow the last row.");

    std::string layout = kSmall;
    layout[25] = '\x04'; // Print as
    EXPECT_EQ(RefusalOf(layout), "the setting \"Print as \" is 4, not 0 to 3.");
    layout[25] = '\xFF'; // -1 once the other three bytes are 0xFF too
    layout[26] = layout[27] = layout[28] = '\xFF';
    EXPECT_EQ(RefusalOf(layout), "the setting \"Print as \" is -1, not 0 to 3.");
    std::string flag = kSmall;
    flag[49] = '\x02'; // Add Date
    EXPECT_EQ(RefusalOf(flag), "the setting \"Add Date\" is 2, not 0 or 1.");
    flag = kSmall;
    flag[30] = '\x01'; // Print Title becomes 0x101
    EXPECT_EQ(RefusalOf(flag), "the setting \"Print Title\" is 257, not 0 or 1.");

    // What cannot be read back is not written either.
    ListingOptions options;
    options.addSize = 2;
    EXPECT_THROW((void)WriteDocumentFile({}, "/", options, ListingTable{}), Error);
}

TEST(DocumentFile, StringsFromAWindowsCodePageBecomeUtf8) {
    // Path "/m\xFCsic" (u umlaut in Windows-1252) makes the whole file Windows-1252, so even
    // the row text that happens to be valid UTF-8 is read byte by byte.
    const DocumentContents contents =
        ReadDocumentFile(Head("\x06/m\xFCsic") + "\x01\x00\x00\x00\x04"
                                                 "caf\xE9\x02\xC3\xA9\x04"
                                                 "5 \x80 \x00\x00"s);
    EXPECT_EQ(contents.folderPath, "/m\xC3\xBCsic");
    ASSERT_EQ(contents.rows.Size(), 1);
    EXPECT_EQ(contents.rows.Record(0),
              (RowRecord{"caf\xC3\xA9", "\xC3\x83\xC2\xA9", "5 \xE2\x82\xAC ", "", ""}));

    // A row string alone decides it as well; when every string is UTF-8, nothing is converted.
    const std::string rows = "\x01\x00\x00\x00\x02\xC3\xA9\x00\x00\x00\x00"s;
    EXPECT_EQ(ReadDocumentFile(Head("\x07/m\xC3\xBCsic") + rows).folderPath, "/m\xC3\xBCsic");
    EXPECT_EQ(
        ReadDocumentFile(Head("\x07/m\xC3\xBCsic") + rows.substr(0, 5) + "\xE9" + rows.substr(6))
            .folderPath,
        "/m\xC3\x83\xC2\xBCsic");
}

} // namespace
} // namespace dirscribe
