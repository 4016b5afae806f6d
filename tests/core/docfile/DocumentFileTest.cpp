// SPDX-License-Identifier: MIT
// Document files: the archive's string length forms, whole documents written byte for byte
// and read back, refused when they are not whole, opened from disk, and which names save
// as text reports instead.
#include "core/docfile/DocumentFile.h"

#include "core/Error.h"
#include "core/docfile/ArchiveReader.h"
#include "core/docfile/ArchiveWriter.h"
#include "core/docfile/DocumentBlock.h"
#include "core/docfile/SaveFormat.h"
#include "core/table/TablePopulation.h"
#include "support/TableRows.h"
#include "support/TempTree.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <sys/mman.h>
#include <tuple>
#include <unistd.h>
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

// The volume record of a listing that knows no volume: no flags, five empty texts, no
// capacity, nothing free, no date.
const std::string kNoVolume(16, '\0');

// The extension block of a flat listing of both with this many rows, before their records.
std::string BlockHead(char rows) {
    return "DSCX\x02\x00\x00\x00\x00\x00\x00\x00\x02\x00\x00\x00"s + kNoVolume + rows +
           "\x00\x00\x00"s;
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
    options.printAs = PageLayout::Standard;
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
    test::AppendInferred(table, {"[music]", "", "1 Kb", " 12/18/2002", "ignored: no fifth column"});
    test::AppendInferred(table, {"comments:", "to keep", "", "", ""});
    const ListingSummary summary{5000000000u, 300, 7};

    const std::string bytes = WriteDocumentFile(summary, "/data/cd", options, table);
    // The rows know no entries: the records give their kinds, an entry and a continuation.
    EXPECT_EQ(bytes, kSmall + BlockHead(2) + "\x00\x01"s);
    table.RemoveRows(0, 2);
    EXPECT_TRUE(WriteDocumentFile(summary, "/data/cd", options, table).ends_with(BlockHead(0)))
        << "an empty listing keeps its block too";

    const DocumentContents contents = ReadDocumentFile(kSmall);
    EXPECT_EQ(contents.summary, summary);
    EXPECT_EQ(contents.folderPath, "/data/cd");
    EXPECT_EQ(contents.settings, DocumentSettings::From(options));
    ASSERT_EQ(contents.rows.Size(), 2);
    EXPECT_EQ(contents.rows.Record(0), (RowRecord{"[music]", "", "1 Kb", " 12/18/2002", ""}));
    EXPECT_EQ(contents.rows.Record(1), (RowRecord{"comments:", "to keep", "", "", ""}));
    EXPECT_EQ(ReadDocumentFile(bytes), contents) << "a document without the block reads the same";
}

TEST(DocumentFile, EveryColumnCombinationRoundTripsPositionally) {
    for (int mask = 0; mask < 16; ++mask) {
        SCOPED_TRACE(mask);
        ListingOptions options;
        options.printAs = static_cast<PageLayout>(mask % 4);
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
        test::AppendInferred(table, record);

        const std::string bytes = WriteDocumentFile({12800, 1, 1}, "/srv", options, table);
        const DocumentContents contents = ReadDocumentFile(bytes);
        ASSERT_EQ(contents.rows.Size(), 1);
        EXPECT_EQ(contents.rows.Record(0), record);

        // The settings come back, so the same columns can be rebuilt over the same strings.
        ListingOptions reopened;
        reopened.printAs = PageLayout::ZipInsert;
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
    test::AppendInferred(table, {"a.txt", "  1 Kb", "", "", ""});
    const std::string bytes = WriteDocumentFile({}, "", options, table);
    EXPECT_EQ(bytes.substr(45, 20), "\x01\x00\x00\x00\x05"
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

// The block of a tree of all levels, as docs/dsc-format.md shows it: the folder music, its
// song.mp3 with a comment row, a gone file whose name is not UTF-8, an inserted row and a
// row of an older document that knows no entry.
TEST(DocumentFile, TheBlockKeepsKindsGoneMarksAndEntriesAndIsCheckedWhole) {
    EntryStore store;
    constexpr std::uint64_t kTime = 0x0102030405060708;
    store.Append({kAttributeDirectory, 1, kNoEntry, false, "music", 2048, kTime});
    store.Append({kAttributeArchive, 2, 0, false, "song.mp3", 5000000000u, kTime});
    store.Append({kAttributeArchive, 1, kNoEntry, false, "caf\xE9", 1, kTime});
    ListingOptions options = SmallOptions();
    ListingTable table;
    table.SetColumns({ListingColumn(ColumnKind::FileName), ListingColumn(ColumnKind::Comments)});
    table.SetEntries(std::make_shared<EntryList>("/srv", std::move(store)));
    for (const std::uint32_t entry : {0u, 1u})
        table.AppendEntryRow(entry);
    table.InsertRow(table.RowCount(), {"comments:", "take two"}, RowKind::Continuation);
    table.AppendEntryRow(2);
    table.SetGone(3, true);
    table.InsertRow(table.RowCount(), {}, RowKind::Free);
    table.InsertRow(table.RowCount(), {"   old", "note"}, RowKind::Entry);
    options.addSize = options.addDate = 0;
    const ListingShape shape{-1, ListingContent::FilesAndFolders};
    const std::string bytes = WriteDocumentFile({}, "/srv", options, table, shape);
    const std::string block =
        "DSCX\x02\x00\x00\x00\xFF\xFF\xFF\xFF\x02\x00\x00\x00"s + kNoVolume +
        "\x06\x00\x00\x00"
        "\x08\x01\x00\x01\x05music\x80\x10\x08\x07\x06\x05\x04\x03\x02\x01\x10"
        "\x08\x02\x01\x01\x08song.mp3\x80\xE4\x97\xD0\x12"
        "\x08\x07\x06\x05\x04\x03\x02\x01\x20"
        "\x01"
        "\x2C\x01\x00\x01\x08Y2Fm6Q==\x01\x08\x07\x06\x05\x04\x03\x02\x01\x20"
        "\x03\x00"s;
    ASSERT_GT(bytes.size(), block.size());
    EXPECT_EQ(bytes.substr(bytes.size() - block.size()), block);
    EXPECT_EQ(bytes.find("caf\xE9"), std::string::npos) << "its strings are UTF-8";

    const DocumentContents contents = ReadDocumentFile(bytes);
    EXPECT_EQ(contents.shape, shape);
    const std::vector<RowKind> kinds = {RowKind::Entry, RowKind::Entry, RowKind::Continuation,
                                        RowKind::Entry, RowKind::Free,  RowKind::Entry};
    for (int row = 0; row < 6; ++row) {
        EXPECT_EQ(contents.rows.Kind(row), kinds[static_cast<std::size_t>(row)]) << row;
        EXPECT_EQ(contents.rows.Gone(row), row == 3) << row;
    }
    ASSERT_TRUE(contents.entries);
    EXPECT_EQ(contents.entries->DiskPath(contents.rows.Entry(1)), "/srv/music/song.mp3");
    EXPECT_EQ(contents.entries->At(contents.rows.Entry(1)).size, 5000000000u);
    EXPECT_EQ(contents.entries->At(contents.rows.Entry(3)).name, "caf\xE9");
    EXPECT_EQ(contents.rows.Entry(5), kNoEntry);
    ListingTable again;
    again.SetColumns(table.Columns());
    again.AdoptRows(contents.rows);
    again.SetEntries(contents.entries);
    EXPECT_EQ(WriteDocumentFile({}, "/srv", options, again, contents.shape), bytes);
    // Without its folder's row, an entry still knows its path.
    again.RemoveRow(0);
    const DocumentContents orphan =
        ReadDocumentFile(WriteDocumentFile({}, "/srv", options, again, shape));
    EXPECT_EQ(orphan.entries->RelativePath(orphan.rows.Entry(0)), "music/song.mp3");

    // Cut inside the block, followed by more, or with a record out of its rules: refused.
    const std::size_t start = bytes.size() - block.size();
    for (std::size_t n = start + 1; n < bytes.size(); ++n)
        EXPECT_THROW((void)ReadDocumentFile(std::string_view(bytes).substr(0, n)), Error) << n;
    EXPECT_EQ(RefusalOf(bytes + "x"), "1 byte follows the extension block.");
    for (const auto& [at, byte, reason] : std::vector<std::tuple<std::size_t, char, std::string>>{
             {36, '\x48',
              "the extension block marks a row with bits it does not define (row 1 of 6)"},
             {38, '\x02', "the extension block keeps 2 names of a path of 0 (row 1 of 6)"},
             {block.size() - 20, '!',
              "the extension block holds a name no folder can hold (row 4 of 6)"},
             {block.size() - 2, '\x07',
              "the extension block gives facts or a gone mark to a row that is no entry (row 5 of "
              "6)"}}) {
        std::string bad = bytes;
        bad[start + at] = byte;
        EXPECT_EQ(RefusalOf(bad), reason + ".");
    }
}

// A document of one entry row, the record of its facts given whole.
std::string OneEntry(const std::string& facts) {
    return kHead + "\x01\x00\x00\x00"s + "\x01x\x00\x00\x00\x00"s + BlockHead(1) + "\x08"s + facts;
}

// Numbers, levels and names that no listing of the rows present could have are refused
// before room is made for them, naming what is wrong.
TEST(DocumentFile, TheBlocksNumbersAreCheckedAgainstTheRowsTheyDescribe) {
    const std::string tail = "\x00\x00\x00\x00\x00\x00\x00\x00\x00\x20"s; // size, time, attrs
    // A level of 10^8 (varint 80 C2 D7 2F) on a path of one name.
    EXPECT_EQ(RefusalOf(OneEntry("\x80\xC2\xD7\x2F\x00\x01\x01x"s + tail)),
              "the extension block gives an entry the level 100000000 on a path of 1 names "
              "(row 1 of 1).");
    EXPECT_EQ(RefusalOf(OneEntry("\x05\x00\x01\x01x"s + tail)),
              "the extension block gives an entry the level 5 on a path of 1 names (row 1 of 1).");
    // One row naming 70,000 folders above its entry.
    std::string names;
    for (int i = 0; i < 70000; ++i)
        names += "\x01y";
    EXPECT_EQ(RefusalOf(OneEntry("\xF0\xA2\x04\x00\xF0\xA2\x04"s + names + tail)),
              "the extension block names more folders than a listing of 1 rows can hold (row 1 "
              "of 1).");
    // A number longer than 64 bits is named.
    EXPECT_EQ(RefusalOf(OneEntry("\x01\x00\x01\x01x"s + std::string(10, '\xFF') + "\x01" +
                                 tail.substr(1))),
              "the extension block's size of an entry is too large (row 1 of 1).");
    // A folder path no listing holds, in a head that hides it no longer.
    EXPECT_EQ(RefusalOf(std::string(16, '\0') + "\xFF\xFF\xFF\x01\x80\x00\x00"s),
              "the folder path is 32769 bytes long, more than 32768.");
}

// Two rows that name one folder: the second is known by its texts alone, so an update keeps
// what was typed on it and a second update changes nothing.
TEST(DocumentFile, AFolderNamedOnTwoRowsIsTheEntryOfTheFirst) {
    const std::string folder = "\x08\x01\x00\x01\x01"
                               "a\x00\x00\x00\x00\x00\x00\x00\x00\x00\x10"s;
    const std::string bytes = kHead + "\x02\x00\x00\x00"s + "\x03[a]\x01x\x00\x00\x00"s +
                              "\x03[a]\x01y\x00\x00\x00"s + BlockHead(2) + folder + folder;
    const DocumentContents contents = ReadDocumentFile(bytes);
    ASSERT_TRUE(contents.entries);
    EXPECT_NE(contents.rows.Entry(0), kNoEntry);
    EXPECT_EQ(contents.rows.Entry(1), kNoEntry);
}

// The volume record of the block's version 2, after the shape; a block of version 1 has none.
TEST(DocumentFile, TheBlockKeepsTheVolumeAndTheNoteAndChecksThem) {
    ListingVolume volume;
    volume.facts = {"/media/me/USB Stick", "USB Stick", "6A3B-11F2", "vfat", true, 4000, 1000};
    volume.listed = 0x0102030405060708;
    volume.note = "blue box, attic";
    ListingTable table;
    table.SetColumns(ListingColumns(SmallOptions()));
    const std::string bytes = WriteDocumentFile({}, "/p", SmallOptions(), table, {}, volume);
    const std::string record = "\x01\x0F"s + volume.note + "\x13" + volume.facts.mountPoint +
                               "\x09USB Stick\x09" + "6A3B-11F2\x04vfat\xA0\x1F\xE8\x07" +
                               "\x08\x07\x06\x05\x04\x03\x02\x01";
    EXPECT_TRUE(bytes.ends_with(record + "\x00\x00\x00\x00"s)) << "before the row count";
    EXPECT_EQ(ReadDocumentFile(bytes).volume, volume);
    std::string older = bytes;
    older.erase(older.size() - 4 - record.size(), record.size());
    older[older.rfind("DSCX") + 4] = '\x01';
    EXPECT_EQ(ReadDocumentFile(older).volume, ListingVolume{}) << "version 1 knows no volume";

    const std::size_t at = bytes.size() - 4 - record.size();
    for (const auto& [offset, byte, reason] :
         std::vector<std::tuple<std::size_t, char, std::string>>{
             {0, '\x03', "marks its volume with bits it does not define"},
             {0, '\x00', "gives the volume 1000 bytes free of 4000"},
             {record.size() - 12, '\x05', "gives the volume 31 bytes free of 5"},
             {3, '\xFF', "gives the volume a note longer than 65533 bytes or not in UTF-8"}}) {
        std::string bad = bytes;
        bad[at + offset] = byte;
        EXPECT_EQ(RefusalOf(bad), "the extension block " + reason + ".");
    }
    volume.note = std::string(kMaxVolumeText + 1, 'n');
    EXPECT_THROW((void)WriteDocumentFile({}, "/p", SmallOptions(), table, {}, volume), Error)
        << "no note a reader would refuse is written";
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

std::string Written(std::string_view text) {
    ArchiveWriter writer;
    writer.WriteString(text);
    return writer.Bytes();
}

TEST(Archive, EachLengthFormAtItsBoundaries) {
    struct Case {
        std::size_t length;
        std::string prefix;
    };
    const Case cases[] = {
        {0, "\x00"s},
        {1, "\x01"s},
        {254, "\xFE"s},
        {255, "\xFF\xFF\x00"s},
        {256, "\xFF\x00\x01"s},
        {65533, "\xFF\xFD\xFF"s},
        {65534, "\xFF\xFF\xFF\xFE\xFF\x00\x00"s},
        {65535, "\xFF\xFF\xFF\xFF\xFF\x00\x00"s},
        {70000, "\xFF\xFF\xFF\x70\x11\x01\x00"s}, // 70000 = 0x11170
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        std::string text(c.length, 'x');
        if (!text.empty())
            text.back() = 'z'; // the last byte must arrive too
        const std::string bytes = Written(text);
        EXPECT_EQ(bytes, c.prefix + text);

        ArchiveReader reader(bytes);
        EXPECT_EQ(reader.ReadString("the text"), text);
        EXPECT_TRUE(reader.AtEnd());

        // One byte short, wherever it is cut, is refused and leaves the position alone.
        for (std::size_t cut : {std::size_t{0}, c.prefix.size() - 1, bytes.size() - 1}) {
            if (cut >= bytes.size())
                continue;
            ArchiveReader shortReader(std::string_view(bytes).substr(0, cut));
            std::string_view out = "untouched";
            EXPECT_FALSE(shortReader.TryReadString(out));
            EXPECT_EQ(out, "untouched");
            EXPECT_EQ(shortReader.Offset(), 0u);
        }
    }
}

TEST(Archive, ShortLengthsInLongerFormsAreReadAndLengthsBeyondTheBytesAreCuts) {
    const std::string bytes = "\xFF\x03\x00"
                              "abc"
                              "\xFF\xFF\xFF\x02\x00\x00\x00"
                              "hi"s;
    ArchiveReader reader(bytes);
    EXPECT_EQ(reader.ReadString("a"), "abc");
    EXPECT_EQ(reader.ReadString("b"), "hi");
    EXPECT_TRUE(reader.AtEnd());
    // A 32-bit length of 4 GiB - 1 over a few bytes is compared with what is there.
    const std::string cut = "\xFF\xFF\xFF\xFF\xFF\xFF\xFF"
                            "abc"s;
    ArchiveReader cutReader(cut);
    std::string_view out;
    EXPECT_FALSE(cutReader.TryReadString(out));
    EXPECT_EQ(cutReader.Offset(), 0u);
}

TEST(Archive, TextTooLongForTheLengthIsRefused) {
    // 4 GiB of address space that is never touched: the length is checked before any byte
    // is copied.
    const std::size_t length = std::size_t{1} << 32;
    void* area =
        ::mmap(nullptr, length, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (area == MAP_FAILED)
        GTEST_SKIP() << "no room for 4 GiB of address space";
    ArchiveWriter writer;
    writer.WriteInt32(1);
    EXPECT_THROW(writer.WriteString(std::string_view(static_cast<const char*>(area), length)),
                 Error);
    EXPECT_EQ(writer.Bytes(), "\x01\x00\x00\x00"s) << "nothing of the refused text is written";
    ::munmap(area, length);
}

// Opens path the way a window does: the settings change only when the whole file is good.
std::string Open(const std::string& path, ListingOptions& options, DocumentContents& contents) {
    try {
        contents = LoadDocumentFile(path);
        contents.settings.ApplyTo(options);
    } catch (const Error& error) {
        return error.what();
    }
    return {};
}

TEST(LoadDocumentFile, RefusedFilesChangeNothingAndAreNamed) {
    test::TempTree tree;
    tree.Folder("disk.dsc");
    tree.File("empty.dsc");
    tree.File("list.txt", "Dirscribe: Listing of   </home/ann> \r\nCreated on: "
                          "Wed Dec 18 14:05:09 2002\r\n"
                          "Directory(Folder)  summary:  Size(bytes):                    1.5 "
                          "Kb\r\n");
    tree.SizedFile("huge.dsc", kMaxDocumentBytes + 1);
    // Its folder path's length points past the head: refused on the head alone.
    tree.SizedFile("far.dsc", kMaxDocumentBytes);
    const int far = ::open(tree.Path("far.dsc").c_str(), O_WRONLY);
    ASSERT_EQ(::pwrite(far, "\xFF\xFF\xFF\x00\x00\xF0\x3F", 7, 16), 7);
    ::close(far);

    struct Case {
        const char* name;
        bool read; // the file was read, but is no document
        const char* why;
    };
    const Case cases[] = {
        {"disk.dsc", false, "it is a folder."},
        {"gone.dsc", false, "there is no such file."},
        {"huge.dsc", false, "it is larger than 1 GiB."},
        {"empty.dsc", true, "the file is empty."},
        {"far.dsc", true, "the folder path is 1072693248 bytes long, more than 32768."},
        {"list.txt", true, "it is a text report, which can be saved but not opened."},
    };
    for (const Case& c : cases) {
        const std::string path = tree.Path(c.name);
        ListingOptions options = SmallOptions();
        DocumentContents contents;
        contents.folderPath = "untouched";
        EXPECT_EQ(Open(path, options, contents),
                  c.read ? "\"" + path + "\" is not a Dirscribe document: " + c.why
                         : "Cannot read \"" + path + "\": " + c.why);
        EXPECT_EQ(options, SmallOptions()) << c.name;
        EXPECT_EQ(contents.folderPath, "untouched");
    }
}

TEST(SaveFormat, TxtInAnyCaseIsTheReportAndEverythingElseTheDocument) {
    for (const char* report : {"LIST.TXT", "a.TxT", "txt", "notestxt"})
        EXPECT_EQ(SaveFormatFor(report), SaveFormat::TextReport) << report;
    for (const char* document : {"x.dsc", "list.csv", "dir.txt/file", "old.txt/", "tx", ""})
        EXPECT_EQ(SaveFormatFor(document), SaveFormat::DocumentFile) << document;
}

} // namespace
} // namespace dirscribe
