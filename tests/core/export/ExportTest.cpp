// SPDX-License-Identifier: MIT
// The CSV and JSON writers byte for byte, and a streamed save that fails half way.
#include "core/Error.h"
#include "core/export/CsvExport.h"
#include "core/export/HtmlExport.h"
#include "core/export/JsonExport.h"
#include "core/platform/AtomicFile.h"
#include "core/table/TablePopulation.h"
#include "support/TableRows.h"
#include "support/TempTree.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace dirscribe {
namespace {

// A tree listing with a comment row, a name that needs quoting and one with a control byte.
ListingTable SampleTable() {
    ListingOptions options;
    options.addComments = options.addSize = options.addDate = 1;
    options.addAttribute = 0;
    ListingTable table;
    table.SetColumns(ListingColumns(options));
    test::AppendInferred(
        table, {"| -[Docs]", "papers, \"old\"", "           1.5 Kb", " Dec 18, 2002 14:05:09"});
    test::AppendInferred(table, {"comments:", "second\nline", "", ""});
    test::AppendInferred(table, {"|       a\x01.txt", "", "              0  b", ""});
    return table;
}

// The third row of SampleTable as the read found it.
struct SampleEntries final : RowEntries {
    std::optional<RowEntryFacts> EntryOf(int row) const override {
        if (row != 2)
            return std::nullopt;
        return RowEntryFacts{18446744073709551615u, 126'846'939'090'000'000u, "/d\xe9/a\x01.txt"};
    }
};

// The exact bytes stand beside Size, where a spreadsheet can add them up.
TEST(Export, CsvQuotesWhatNeedsItDropsThePaddingRunsNoFormulaAndGivesExactBytes) {
    ListingTable table = SampleTable();
    test::AppendInferred(table,
                         {"=HYPERLINK(\"http://x\")", "+cmd|' /C calc'!A0", "-1", "@SUM(A1)"});
    test::AppendInferred(table, {"\t=1", "\r=1", "", "a=1"});
    const SampleEntries entries;
    StringSink sink;
    WriteCsv({table, "/d", {}, false, 0, 0, &entries}, sink);
    EXPECT_EQ(sink.Text(),
              "FileName,Comments,Size,Bytes,Last Modified\r\n"
              "| -[Docs],\"papers, \"\"old\"\"\",1.5 Kb,,\"Dec 18, 2002 14:05:09\"\r\n"
              "comments:,\"second\nline\",,,\r\n"
              "|       a\x01.txt,,0  b,18446744073709551615,\r\n"
              "\"'=HYPERLINK(\"\"http://x\"\")\",'+cmd|' /C calc'!A0,'-1,,'@SUM(A1)\r\n"
              "'\t=1,\"'\r=1\",,,a=1\r\n");
    // Without a Comments column, the column in its place is trimmed as any other.
    ListingTable sizes;
    sizes.SetColumns({ListingColumn(ColumnKind::FileName), ListingColumn(ColumnKind::Size)});
    test::AppendInferred(sizes, {"|       b.txt", "           1.5 Kb"});
    StringSink plain;
    WriteCsv({sizes, "/d", {}, false, 0, 0, nullptr}, plain);
    EXPECT_EQ(plain.Text(), "FileName,Size,Bytes\r\n|       b.txt,1.5 Kb,\r\n");
}

TEST(Export, JsonEscapesTextsAndGivesExactEntries) {
    const SampleEntries entries;
    const ListingTable table = SampleTable();
    ListingVolume volume{{"/media/a b", "Disk \"1\"", "6A3B", "vfat", false, 0, 0}, 0, "attic"};
    StringSink sink;
    WriteJson({table, "/d\xe9", {1536, 1, 2}, false, 6, 0, &entries, &volume}, sink);
    EXPECT_EQ(
        sink.Text(),
        "{\"folder\":\"/"
        "d\xc3\xa9\",\"rawPath\":\"L2Tp\",\"summary\":{\"bytes\":1536,\"files\":1,\"folders\":2},\n"
        "\"volume\":{\"mountPoint\":\"/media/a b\",\"label\":\"Disk \\\"1\\\"\",\"uuid\":\"6A3B\","
        "\"fileSystem\":\"vfat\",\"capacity\":null,\"free\":null,\"listed\":null,\"note\":"
        "\"attic\"},\n"
        "\"columns\":[\"FileName\",\"Comments\",\"Size\",\"Last Modified\"],\n\"rows\":[\n"
        "{\"cells\":[\"| -[Docs]\",\"papers, \\\"old\\\"\",\"1.5 Kb\",\"Dec 18, 2002 "
        "14:05:09\"]},\n"
        "{\"cells\":[\"comments:\",\"second\\u000aline\",\"\",\"\"]},\n"
        "{\"cells\":[\"|       a\\u0001.txt\",\"\",\"0  b\",\"\"],"
        "\"bytes\":18446744073709551615,\"modified\":\"2002-12-18T14:05:09Z\","
        "\"path\":\"/d\xc3\xa9/a\\u0001.txt\",\"rawPath\":\"L2TpL2EBLnR4dA==\"}\n]}\n");
    EXPECT_EQ(FileTimeIso8601(0), "1601-01-01T00:00:00Z");
    EXPECT_EQ(FileTimeIso8601(116'444'736'002'500'000u), "1970-01-01T00:00:00.25Z");
    EXPECT_EQ(FileTimeIso8601(116'444'735'990'000'000u), "1969-12-31T23:59:59Z");
    EXPECT_EQ(FileTimeIso8601(95'667'714'000'000'000u), "1904-02-29T12:30:00Z");
    EXPECT_EQ(FileTimeIso8601(135'000'000'000'000'001u), "2028-10-19T00:00:00.0000001Z");
    EXPECT_EQ(FileTimeIso8601(2'650'467'743'990'000'000u), "9999-12-31T23:59:59Z");
    EXPECT_EQ(FileTimeIso8601(18446744073709551615u), "9999-12-31T23:59:59.9999999Z");
}

// The web page's tree puts a row at most one level below the deepest folder above it,
// whatever level a name cell gives it, so a few bytes cannot ask it for millions of levels.
TEST(Export, ThePagesLevelsAreAtMostOneBelowTheFolderAbove) {
    ListingTable table;
    table.SetColumns({ListingColumn(ColumnKind::FileName)});
    std::string deep;
    for (int level = 0; level < 100000; ++level)
        deep += "| ";
    test::AppendInferred(table, {deep + std::string(100000, '-') + "[x]"});
    for (const char* name : {"| -[a]", "| | --[b]", "| | | | ----[c]", "|       file"})
        test::AppendInferred(table, {name});
    StringSink sink;
    WriteHtml({table, "/d", {}, false, 0, 0, nullptr}, sink);
    EXPECT_NE(sink.Text().find("data-block=\"meta\">d1\nd1\nd2\nd3\nf2\n</script>"),
              std::string::npos);
}

TEST(Export, AStreamedSaveThatFailsLeavesTheOldFileAndNoTemporaryFile) {
    test::TempTree tree;
    tree.File("out.csv", "old");
    EXPECT_THROW(WriteFileAtomically(tree.Path("out.csv"),
                                     [](ByteSink& sink) {
                                         sink.Write(std::string(1 << 20, 'x'));
                                         throw Error("the listing could not be read");
                                     }),
                 Error);
    EXPECT_EQ(test::ReadFile(tree.Path("out.csv")), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(tree.Root()), {}), 1);
}

} // namespace
} // namespace dirscribe
