// SPDX-License-Identifier: MIT
// Printed pages and panels: their counts at the boundaries, row kinds, and every drawing
// call of each layout compared as a whole with a recorded drawing; the settings that leave
// the title, summary, grid or numbers out.
#include "core/print/PrintJob.h"

#include "core/print/Pagination.h"
#include "support/RecordingCanvas.h"
#include "support/ScopedEnvironment.h"
#include "support/TableRows.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace dirscribe {
namespace {

const std::string kPath = "/data/photos";
const FixedPitchWidths kWidths;
const std::vector<ColumnKind> kAllColumns = {ColumnKind::FileName, ColumnKind::Comments,
                                             ColumnKind::Size, ColumnKind::Attributes,
                                             ColumnKind::Date};

// A table with these columns and `rows` rows; FileName is "file-i", every other cell
// names its column and row ("Size:3"), so a drawn text tells where it came from.
ListingTable Table(const std::vector<ColumnKind>& kinds, int rows) {
    ListingTable table;
    std::vector<TableColumn> columns;
    for (const ColumnKind kind : kinds)
        columns.push_back(ListingColumn(kind));
    table.SetColumns(columns);
    for (int i = 0; i < rows; ++i) {
        RowRecord record;
        record[0] = "file-" + std::to_string(i);
        for (std::size_t c = 1; c < columns.size(); ++c)
            record[c] = columns[c].title + ":" + std::to_string(i);
        test::AppendInferred(table, record);
    }
    return table;
}

ListingTable CutOut(int rows) {
    return Table({ColumnKind::FileName, ColumnKind::Size}, rows);
}

ListingOptions Options(PageLayout layout) {
    ListingOptions options;
    options.printAs = layout;
    return options;
}

RecordingCanvas Draw(PrintJob& job, int page) {
    RecordingCanvas canvas;
    EXPECT_TRUE(job.DrawPage(canvas, page)) << "page " << page;
    return canvas;
}

std::ostream& operator<<(std::ostream& out, Point p) {
    return out << p.x << ',' << p.y;
}
std::ostream& operator<<(std::ostream& out, Color c) {
    return out << '#' << int{c.red} << '.' << int{c.green} << '.' << int{c.blue};
}
std::ostream& operator<<(std::ostream& out, const Pen& pen) {
    return out << "pen " << pen.width << ' ' << pen.color;
}

// Every call of every page, one line each.
std::string Dump(PrintJob& job) {
    std::ostringstream out;
    for (int page = 1; page <= job.PageCount(); ++page) {
        out << "page " << page << '\n';
        const RecordingCanvas canvas = Draw(job, page);
        for (const CanvasCall& call : canvas.Calls()) {
            if (const auto* l = std::get_if<LineCall>(&call))
                out << "line " << l->from << ' ' << l->to << ' ' << l->pen << '\n';
            else if (const auto* r = std::get_if<RectangleCall>(&call))
                out << "rect " << r->topLeft << ' ' << r->bottomRight << ' ' << r->pen << " fill "
                    << r->fill << '\n';
            else if (const auto* rr = std::get_if<RoundRectangleCall>(&call))
                out << "round " << rr->topLeft << ' ' << rr->bottomRight << ' ' << rr->ellipseWidth
                    << 'x' << rr->ellipseHeight << ' ' << rr->pen << " fill " << rr->fill << '\n';
            else if (const auto* t = std::get_if<TextCall>(&call))
                out << "text " << t->at << ' ' << t->font.face << ' ' << t->font.height << '/'
                    << t->font.width << '/' << t->font.weight << " room " << t->room << " \""
                    << t->text << "\"\n";
        }
    }
    return out.str();
}

class PrintJobTest : public ::testing::Test {
protected:
    test::ScopedEnvironment zone{"TZ", "UTC"};
    test::ScopedEnvironment epoch{"SOURCE_DATE_EPOCH", "1040220309"};
};

// Standard: all columns, a comment row and a file-data row (no numbers), a path that splits
// into two lines in capitals, two pages. FileData: no Comments column, sizes in bytes,
// numbered by the CD setting alone. CD: panels print names, comments and sizes only, and a
// split path heads the later panels. ZIP: its own widths and rows per panel. In each, a
// long comment goes on below its row, between words (a word longer than the line split),
// and on the next page or panel when it reaches the bottom.
TEST_F(PrintJobTest, EachLayoutDrawsItsRecordedPages) {
    const ListingSummary summary{2560, 3, 12};
    const std::string comment = "Scanned invoices of the spring audit in "
                                "/media/cdrom/backups/2002/december, kept seven years";
    ListingTable standard = Table(kAllColumns, 72);
    standard.SetCell(0, 0, "comments:");
    standard.SetKind(0, RowKind::Continuation);
    standard.SetCell(2, 0, "  *** FileVersion");
    standard.SetKind(2, RowKind::Details);
    standard.SetCell(69, 1, comment);
    ListingTable cd = Table(kAllColumns, 62);
    cd.SetCell(27, 1, comment);
    ListingTable zip = Table({ColumnKind::FileName, ColumnKind::Comments, ColumnKind::Size}, 45);
    zip.SetCell(18, 1, comment);
    ListingOptions fileData = Options(PageLayout::FileData);
    fileData.addSizeInBytes = 1;
    fileData.numberStdLines = 0;
    fileData.numberCdLines = 1;
    struct Case {
        const char* golden;
        ListingTable table;
        ListingOptions options;
        std::string path;
    };
    const std::vector<Case> cases = {
        {"standard.txt", standard, Options(PageLayout::Standard), "/srv/archive/music/ab/cdef"},
        {"filedata.txt",
         Table({ColumnKind::FileName, ColumnKind::Size, ColumnKind::Attributes, ColumnKind::Date},
               71),
         fileData, kPath},
        {"cd.txt", cd, Options(PageLayout::CdInsert), "/media/cdrom/backups/2002/december/x"},
        {"zip.txt", zip, Options(PageLayout::ZipInsert), kPath},
    };
    for (const Case& c : cases) {
        PrintJob job(c.table, c.options, summary, c.path, kWidths);
        EXPECT_EQ(Dump(job), test::ReadTestData(std::string("print/") + c.golden)) << c.golden;
    }
}

// No printed text crosses a line of the title box or of its shadow: the box's texts stand
// inside it, each below the one before, and every other text beside or below it.
TEST_F(PrintJobTest, TheTitleBoxHoldsItsTextsAndNoOtherTextCrossesIt) {
    for (const PageLayout layout :
         {PageLayout::Standard, PageLayout::CdInsert, PageLayout::ZipInsert}) {
        PrintJob job(CutOut(90), Options(layout), {2560, 3, 12},
                     "/media/cdrom/backups/2002/december/some/more/x", kWidths);
        const RecordingCanvas canvas = Draw(job, 1);
        const std::vector<RoundRectangleCall> boxes = canvas.RoundRectangles();
        ASSERT_EQ(boxes.size(), 2u);
        const RoundRectangleCall& shadow = boxes[0];
        const RoundRectangleCall& box = boxes[1];
        // A line takes its font's height and an eighth more (ascent and descent).
        const auto bottom = [](const TextCall& text) {
            return text.at.y + text.font.height * 9 / 8;
        };
        int free = box.topLeft.y + box.pen.width;
        for (const TextCall& text : canvas.Texts()) {
            if (text.at.x < box.bottomRight.x && text.at.y < box.bottomRight.y) {
                EXPECT_GE(text.at.y, free) << text.text;
                EXPECT_LE(bottom(text), box.bottomRight.y - box.pen.width) << text.text;
                free = bottom(text) - 1; // glyphs fill a line's cell only near its middle
            } else {
                EXPECT_TRUE(text.at.x > shadow.bottomRight.x + shadow.pen.width ||
                            text.at.y > shadow.bottomRight.y)
                    << text.text;
            }
        }
    }
}

TEST_F(PrintJobTest, SettingsLeaveOutTitleSummaryGridAndNumbers) {
    ListingOptions options = Options(PageLayout::CdInsert);
    options.printTitle = 0;
    options.summary = 0;
    options.doNotDrawGrid = 1;
    options.numberCdLines = options.numberStdLines = 0;
    PrintJob job(CutOut(29), options, {}, kPath, kWidths);
    const RecordingCanvas canvas = Draw(job, 1);
    EXPECT_TRUE(canvas.RoundRectangles().empty());
    EXPECT_EQ(canvas.FindText("Summary:"), nullptr);
    EXPECT_EQ(canvas.Lines().size(), 4u) << "the square alone";
    // One panel needs no page number; names stand alone.
    ASSERT_EQ(canvas.Texts().size(), 58u);
    EXPECT_EQ(canvas.Texts()[0].text, "file-0");
}

TEST_F(PrintJobTest, EachJobComposesItsOwnTitle) {
    PrintJob longJob(CutOut(3), Options(PageLayout::Standard), {}, "/srv/archive/music/ab/cdef",
                     kWidths);
    Draw(longJob, 1);
    PrintJob root(CutOut(3), Options(PageLayout::Standard), {}, "/", kWidths);
    const RecordingCanvas canvas = Draw(root, 1);
    EXPECT_EQ(canvas.FindText("/")->at, (Point{90, 45}));
    for (const TextCall& text : canvas.Texts())
        EXPECT_NE(text.at, (Point{90, 60})) << "no second line: " << text.text;

    // From 55 characters on, a path prints as typed; a later panel's heading takes the
    // title's first line, empty when no separator comes far enough in.
    const std::string longPath = "/srv/" + std::string(45, 'x') + "/archive/music";
    PrintJob asTyped(CutOut(3), Options(PageLayout::Standard), {}, longPath, kWidths);
    EXPECT_NE(Draw(asTyped, 1).FindText("archive/music"), nullptr);
    PrintJob unsplit(CutOut(30), Options(PageLayout::CdInsert), {}, "/" + std::string(40, 'm'),
                     kWidths);
    EXPECT_EQ(Draw(unsplit, 1).FindText("  page 2 of 2")->at, (Point{110, 528}));
}

TEST_F(PrintJobTest, CellsStandUnderTheHeadsOfTheColumnsTheTableHas) {
    // A table filled for a cut-out layout (FileName, Size) printed on letter pages, whose
    // settings show Comments and Size: sizes stay sizes, under the Size head.
    ListingOptions letter = Options(PageLayout::Standard);
    letter.addComments = 1;
    PrintJob switched(CutOut(1), letter, {}, kPath, kWidths);
    RecordingCanvas canvas = Draw(switched, 1);
    EXPECT_EQ(canvas.FindText("Size:0")->at, (Point{370, 168}));
    EXPECT_EQ(canvas.FindText("Size ")->at, (Point{420, 145}));
    EXPECT_EQ(canvas.FindText("Comments"), nullptr);

    PrintJob zip(CutOut(1), Options(PageLayout::ZipInsert), {}, kPath, kWidths);
    EXPECT_EQ(Draw(zip, 1).FindText("Size:0")->at.x, 270);
}

TEST_F(PrintJobTest, EmptyListingPrintsTitleSummaryAndAnEmptyFrame) {
    PrintJob cd(CutOut(0), Options(PageLayout::CdInsert), {}, kPath, kWidths);
    EXPECT_TRUE(cd.IsEmpty());
    EXPECT_EQ(cd.PageCount(), 1);
    EXPECT_EQ(cd.PanelCount(), 1);
    RecordingCanvas canvas = Draw(cd, 1);
    EXPECT_EQ(canvas.RoundRectangles().size(), 2u);
    EXPECT_EQ(canvas.Lines().size(), 4u + 30u) << "the first panel's square and grid";
    // Path, date and the five summary lines; no heading, no rows.
    EXPECT_EQ(canvas.Texts().size(), 7u);

    PrintJob letter(Table(kAllColumns, 0), Options(PageLayout::Standard), {}, kPath, kWidths);
    canvas = Draw(letter, 1);
    EXPECT_TRUE(canvas.Lines().empty());
    EXPECT_EQ(canvas.FindText("Name"), nullptr);
}

TEST_F(PrintJobTest, PagesDrawTheSameInAnyOrderFromTheirOwnSnapshot) {
    ListingTable table = CutOut(62);
    PrintJob job(table, Options(PageLayout::CdInsert), {}, kPath, kWidths);
    table.ClearRows();
    const RecordingCanvas second = Draw(job, 2);
    const RecordingCanvas first = Draw(job, 1);
    EXPECT_EQ(Draw(job, 2).Calls(), second.Calls());
    EXPECT_EQ(Draw(job, 1).Calls(), first.Calls());
    EXPECT_NE(first.FindText(" 29. file-28"), nullptr);

    RecordingCanvas canvas;
    EXPECT_FALSE(job.DrawPage(canvas, 0));
    EXPECT_FALSE(job.DrawPage(canvas, 3));
    EXPECT_TRUE(canvas.Calls().empty());
}

// A device's width of a very long text can run past what its numbers hold (Qt's does for a
// million characters at a printer's resolution) and come out small: a comment of 1 MiB is
// still wrapped, and every word of it printed, in order.
TEST_F(PrintJobTest, EveryWordOfAMebibyteCommentIsPrinted) {
    struct Overflowing final : TextWidths {
        [[nodiscard]] double Width(std::string_view text, const FontRequest& font) const override {
            return text.size() > 100'000 ? 0 : FixedPitchWidths().Width(text, font);
        }
    } widths;
    std::string comment = "w0";
    for (int word = 1; comment.size() < 1024 * 1024; ++word)
        comment += " w" + std::to_string(word);
    ListingTable table = Table({ColumnKind::FileName, ColumnKind::Comments}, 1);
    table.SetCell(0, 1, comment);
    PrintJob job(table, Options(PageLayout::Standard), {}, kPath, widths);
    std::string printed;
    int cut = 0; // lines wider than the room they are drawn in, which the page cuts
    for (int page = 1; page <= job.PageCount(); ++page) {
        const RecordingCanvas canvas = Draw(job, page);
        for (const CanvasCall& call : canvas.Calls()) {
            const auto* text = std::get_if<TextCall>(&call);
            if (text == nullptr || !text->text.starts_with('w'))
                continue;
            printed += (printed.empty() ? "" : " ") + text->text;
            cut += kWidths.Width(text->text, text->font) > text->room ? 1 : 0;
        }
    }
    EXPECT_EQ(cut, 0);
    EXPECT_EQ(printed.size(), comment.size());
    EXPECT_TRUE(printed == comment);
}

TEST_F(PrintJobTest, DefaultFontTakesOverWhenTheFaceCannotBeMade) {
    PrintJob job(CutOut(2), Options(PageLayout::Standard), {}, kPath, kWidths);
    RecordingCanvas canvas;
    canvas.RefuseFace("Arial");
    job.DrawPage(canvas, 1);
    EXPECT_TRUE(job.BodyFontFailed());
    const TextCall* row = canvas.FindText("     1. file-0");
    ASSERT_NE(row, nullptr);
    EXPECT_TRUE(row->defaultFont);

    PrintJob fine(CutOut(2), Options(PageLayout::Standard), {}, kPath, kWidths);
    Draw(fine, 1);
    EXPECT_FALSE(fine.BodyFontFailed());
}

TEST(Pagination, CountsPagesAndPanelsAtTheBoundaries) {
    struct Case {
        PageLayout layout;
        int rows;
        PrintCounts counts;
    };
    const std::vector<Case> cases = {
        {PageLayout::Standard, 0, {1, 1}},   {PageLayout::Standard, 70, {1, 1}},
        {PageLayout::Standard, 71, {2, 2}},  {PageLayout::Standard, 150, {2, 2}},
        {PageLayout::Standard, 151, {3, 3}}, {PageLayout::FileData, 151, {3, 3}},
        {PageLayout::CdInsert, 0, {1, 1}},   {PageLayout::CdInsert, 29, {1, 1}},
        {PageLayout::CdInsert, 30, {1, 2}},  {PageLayout::CdInsert, 61, {1, 2}},
        {PageLayout::CdInsert, 62, {2, 3}},  {PageLayout::ZipInsert, 20, {1, 1}},
        {PageLayout::ZipInsert, 21, {1, 2}}, {PageLayout::ZipInsert, 44, {1, 2}},
        {PageLayout::ZipInsert, 45, {2, 3}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CountPages(c.layout, c.rows), c.counts)
            << static_cast<int>(c.layout) << " with " << c.rows << " rows";
    // The largest row count does not overflow the rounding: 1 + ceil((2^31 - 1 - 70) / 80).
    EXPECT_EQ(CountPages(PageLayout::Standard, 2'147'483'647).pageCount, 26'843'546);

    // A comment of 70 lines on row 1 runs over three CD panels; numbers count rows.
    EXPECT_EQ(BuildPageTable(CutOut(4), PageLayout::CdInsert, 3, {{1, 70}}),
              (std::vector<PageRange>{{0, 1, 0, 0, 29}, {1, 1, 2, 28, 32}, {1, 3, 2, 60, 12}}));
}

} // namespace
} // namespace dirscribe
