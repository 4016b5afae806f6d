// SPDX-License-Identifier: MIT
// Sorting the listing by a column: keys read back from the shown texts, folders kept
// above files, and the orders of texts, sizes and dates.
#include "core/table/TableSort.h"

#include "core/table/NumericKeyReader.h"
#include "core/table/SortKeys.h"
#include "core/table/TablePopulation.h"
#include "support/ScopedEnvironment.h"
#include "support/TableRows.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

namespace dirscribe {
void PrintTo(const NumericKey& key, std::ostream* out) {
    *out << key.high << "*10^18+" << key.low;
}

namespace {

NumericKey Key(std::int64_t value) {
    return NumericKey::FromInteger(value);
}

// Texts the program does not write still get a fixed key, and the largest stay in order.
TEST(SortKeys, OddSizeTextsGetFixedKeys) {
    EXPECT_EQ(SizeKey(""), Key(0));
    EXPECT_EQ(SizeKey("abc"), Key(0));
    EXPECT_EQ(SizeKey("1.5 Kb "), Key(1)) << "the unit is the last two characters";
    const std::string nines(40, '9');
    EXPECT_LT(SizeKey("18,446,744,073,709,551,615 b"), SizeKey(nines + " Pb"));
    EXPECT_LT(SizeKey("-" + nines), Key(-1));
    EXPECT_LT(Key(-1), Key(0));
}

TEST(SortKeys, OneMomentGivesOneKeyInEveryFixedFormat) {
    const char* const texts[] = {" 12/18/2002 14:05:09",   " 18 Dec 2002 14:05:09",
                                 " 18/12/2002 14:05:09",   " Dec 18 2002 14:05:09",
                                 " 18 Dec, 2002 14:05:09", " Dec 18, 2002 14:05:09",
                                 " 12/18, 2002 14:05:09",  " 18/12, 2002 14:05:09"};
    const NumericKey expected = DateKey(2002, 12, 18, 14, 5, 9);
    for (int format = 1; format <= 8; ++format) {
        const char* text = texts[format - 1];
        EXPECT_EQ(FixedFormatDateKey(text, format), expected) << text;
        EXPECT_EQ(DateDigitsKey(text, format), expected) << text;
        EXPECT_EQ(NumericKeyReader(ColumnKind::Date, format).Key(text), expected) << text;
        EXPECT_FALSE(FixedFormatDateKey(text, format == 8 ? 1 : format + 1)) << text;
    }
    EXPECT_EQ(FixedFormatDateKey(texts[7], 9), expected) << "other values read like 8";
    EXPECT_EQ(NumericKeyReader(ColumnKind::Size, 3).Key(texts[2]), Key(18))
        << "Size never reads dates";
    for (const char* odd : {"", "J", "Jan", "12/18/2002", " 12/18/2002 14:05:0",
                            " 1/18/2002 14:05:09", " 12/18/2002 14:05:09 x"})
        EXPECT_FALSE(FixedFormatDateKey(odd, 1)) << odd;
}

} // namespace
namespace {

using Names = std::vector<std::string>;

ListingTable MakeTable(const std::vector<ColumnKind>& kinds, const std::vector<RowRecord>& rows) {
    std::vector<TableColumn> columns;
    for (const ColumnKind kind : kinds)
        columns.push_back({kind, "", 100, 100, ColumnAlignment::Left});
    ListingTable table;
    table.SetColumns(columns);
    for (const RowRecord& row : rows)
        test::AppendInferred(table, row);
    return table;
}

Names Column(const ListingTable& table, int column = 0) {
    Names texts;
    for (int r = 0; r < table.RowCount(); ++r)
        texts.emplace_back(table.Cell(r, column));
    return texts;
}

// Two folders on top of three files, as a listing of both kinds shows them.
ListingTable FoldersAndFiles() {
    return MakeTable({ColumnKind::FileName, ColumnKind::Size, ColumnKind::Attributes},
                     {{"[src]", "          12.0 Kb", "R"},
                      {"[doc]", "           2.5 Kb", "H"},
                      {"b.txt", "         1,023  b", "A"},
                      {"a.txt", "           999  b", "AR"},
                      {"c.bin", "           1.5 Kb", "AH"}});
}

TEST(TableSort, ClicksAlternateDirectionAndKeepFoldersAboveFiles) {
    ListingTable table = FoldersAndFiles();
    SortState state;
    const SortContext context{false, 1};

    EXPECT_TRUE(OnColumnClick(table, state, 1, context));
    EXPECT_EQ(Column(table), (Names{"[doc]", "[src]", "a.txt", "b.txt", "c.bin"}));
    EXPECT_EQ(state.lastSortColumn, 1);
    EXPECT_EQ(state.sortAscending, 1);

    OnColumnClick(table, state, 1, context);
    EXPECT_EQ(Column(table), (Names{"[src]", "[doc]", "c.bin", "b.txt", "a.txt"}));
    EXPECT_EQ(state.sortAscending, 0);

    OnColumnClick(table, state, 2, context); // a new column starts ascending
    EXPECT_EQ(state.sortAscending, 1);
    EXPECT_EQ(Column(table), (Names{"[doc]", "[src]", "b.txt", "c.bin", "a.txt"}));

    OnColumnClick(table, state, 0, context);
    EXPECT_EQ(Column(table), (Names{"[doc]", "[src]", "a.txt", "b.txt", "c.bin"}));
    OnColumnClick(table, state, 0, context);
    EXPECT_EQ(Column(table), (Names{"[src]", "[doc]", "c.bin", "b.txt", "a.txt"}));
    EXPECT_EQ(Column(table, 1)[2], "           1.5 Kb") << "cells move with their row";
}

TEST(TableSort, CommentsAndMissingColumnsKeepTheOrder) {
    ListingTable table = MakeTable(
        {ColumnKind::FileName, ColumnKind::Comments, ColumnKind::Detail, ColumnKind::Size},
        {{"b", "zzz", "2", "  3  b"}, {"c", "aaa", "1", "  1  b"}, {"a", "", "3", "  2  b"}});
    SortState state;
    EXPECT_TRUE(OnColumnClick(table, state, 1, {false, 1}));
    EXPECT_EQ(Column(table), (Names{"b", "c", "a"}));
    test::SortBy(table, true, 2, 1);
    test::SortBy(table, false, 9, 1);
    test::SortBy(table, true, -1, 1);
    EXPECT_EQ(Column(table), (Names{"b", "c", "a"}));
}

TEST(TableSort, TextKeysIgnoreAsciiCaseAndKeepTiesInOrder) {
    ListingTable table;
    table.SetColumns({ListingColumn(ColumnKind::FileName)});
    for (const char* name : {"Zeta", "beta", "alpha", "_under", "[dir]", "Beta", "\xC3\x84rger",
                             "alp", "9.txt", "10.txt", " lead", ""})
        test::AppendInferred(table, {name});
    for (int r = 0; r < table.RowCount(); ++r)
        table.SetItemData(r, 100 + r);
    test::SortBy(table, true, 0, 1);
    EXPECT_EQ(Column(table), (Names{" lead", "", "10.txt", "9.txt", "[dir]", "_under", "alp",
                                    "alpha", "beta", "Beta", "Zeta", "\xC3\x84rger"}))
        << "the row inserted below an entry goes with it";
    // A text sort leaves every row's item data with its row.
    EXPECT_EQ(table.ItemData(1), 111);
    EXPECT_EQ(table.ItemData(9), 105);
    test::SortBy(table, false, 0, 1);
    EXPECT_EQ(Column(table), (Names{"\xC3\x84rger", "Zeta", "beta", "Beta", "alpha", "alp",
                                    "_under", "[dir]", "9.txt", "10.txt", " lead", ""}));
    EXPECT_EQ(table.ItemData(1), 100);
}

TEST(TableSort, SizesSortByTheirByteCountsWhateverTheUnit) {
    // Counts past 2^63, and neighbours a double cannot tell apart.
    const Names ascending = {"blank",  "b1023",  "kb",   "mb",      "gb",    "tb1",
                             "pb8191", "2^63-1", "2^63", "pb16383", "max-1", "max"};
    ListingTable table = MakeTable({ColumnKind::FileName, ColumnKind::Size},
                                   {{"max", "18,446,744,073,709,551,615 b"},
                                    {"kb", "           1.5 Kb"},
                                    {"2^63", "9,223,372,036,854,775,808 b"},
                                    {"gb", "           2.0 Gb"},
                                    {"max-1", "18,446,744,073,709,551,614 b"},
                                    {"mb", "         900.5 Mb"},
                                    {"pb16383", "       16383.9 Pb"},
                                    {"b1023", "         1,023  b"},
                                    {"2^63-1", "9,223,372,036,854,775,807 b"},
                                    {"blank", ""},
                                    {"tb1", "           1.0 Tb"},
                                    {"pb8191", "        8191.9 Pb"}});
    test::SortBy(table, true, 1, 1);
    EXPECT_EQ(Column(table), ascending);
    test::SortBy(table, false, 1, 1);
    EXPECT_EQ(Column(table), Names(ascending.rbegin(), ascending.rend()));
}

TEST(TableSort, DatesSortChronologicallyInTheirFormat) {
    // Every month in the order of its name's place; seconds count in tens.
    ListingTable table =
        MakeTable({ColumnKind::FileName, ColumnKind::Date}, {{"a", " 18 Dec 2002 14:05:09"},
                                                             {"b", " 03 Jan 2003 09:00:00"},
                                                             {"n", " 01 Nov 2002 00:00:00"},
                                                             {"c", " 28 Feb 2002 23:59:59"},
                                                             {"d", " 01 Dec 2002 00:00:00"},
                                                             {"o", " 31 Oct 2002 00:00:00"},
                                                             {"a1", " 18 Dec 2002 14:05:01"},
                                                             {"e", " 31 Jan 1999 12:00:00"}});
    SortState state;
    OnColumnClick(table, state, 1, {false, 2});
    EXPECT_EQ(Column(table), (Names{"e", "c", "o", "n", "d", "a", "a1", "b"}));
    OnColumnClick(table, state, 1, {false, 2});
    EXPECT_EQ(Column(table), (Names{"b", "a", "a1", "d", "n", "o", "c", "e"}));
}

TEST(TableSort, DatesOutsideTheSeventiesToSixtiesStayInOrder) {
    ListingTable table =
        MakeTable({ColumnKind::FileName, ColumnKind::Date}, {{"2100", " 01/01/2100 00:00:00"},
                                                             {"1965-06", " 06/15/1965 12:00:00"},
                                                             {"1970", " 01/01/1970 00:00:00"},
                                                             {"blank", ""},
                                                             {"1969", " 12/31/1969 23:59:59"},
                                                             {"10000", " 01/01/10000 00:00:00"},
                                                             {"2069", " 12/31/2069 23:59:59"},
                                                             {"1601", " 01/01/1601 00:00:00"},
                                                             {"2070", " 01/01/2070 00:00:00"},
                                                             {"1965-01", " 01/15/1965 12:00:00"},
                                                             {"2002", " 12/18/2002 14:05:09"}});
    test::SortBy(table, true, 1, 1);
    EXPECT_EQ(Column(table), (Names{"1601", "1965-01", "1965-06", "1969", "blank", "1970", "2002",
                                    "2069", "2070", "2100", "10000"}));
}

TEST(TableSort, RegionalDatesAreReadInTheTimeLocale) {
    // The C locale writes "%x %X" as 12/18/02 14:05:09; 69 to 99 are 19xx, 00 to 68 20xx.
    const test::ScopedEnvironment c("LC_ALL", "C");
    ListingTable table =
        MakeTable({ColumnKind::FileName, ColumnKind::Date}, {{"2002", "12/18/02 14:05:09"},
                                                             {"2068", "12/31/68 23:59:59"},
                                                             {"1969", "01/01/69 00:00:00"},
                                                             {"n/a", "n/a"},
                                                             {"1970", "01/01/70 00:00:00"}});
    test::SortBy(table, true, 1, 0);
    EXPECT_EQ(Column(table), (Names{"1969", "n/a", "1970", "2002", "2068"}))
        << "an unreadable date still gets a fixed key";
}

} // namespace
} // namespace dirscribe
