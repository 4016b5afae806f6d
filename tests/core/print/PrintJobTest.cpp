// SPDX-License-Identifier: MIT
// The drawing of printed pages and panels, checked call by call on a recording canvas.
#include "core/print/PrintJob.h"

#include "core/canvas/RecordingCanvas.h"
#include "support/ScopedEnvironment.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace dirscribe {
namespace {

constexpr Color kGrey140{140, 140, 140};
constexpr Pen kFrame{1, Color{160, 160, 160}};
const std::string kPath = "/data/photos";

// A table with these columns and `rows` rows; FileName is "file-i", every other cell
// names its column and row ("Size:3"), so a drawn text tells where it came from.
ListingTable Table(const std::vector<const char*>& titles, int rows) {
    ListingTable table;
    std::vector<TableColumn> columns;
    for (const char* title : titles)
        columns.push_back({title});
    table.SetColumns(columns);
    for (int i = 0; i < rows; ++i) {
        RowRecord record;
        record[0] = "file-" + std::to_string(i);
        for (std::size_t c = 1; c < titles.size(); ++c)
            record[c] = std::string(titles[c]) + ":" + std::to_string(i);
        table.AppendRow(record);
    }
    return table;
}

ListingTable Standard(int rows) {
    return Table({kFileNameTitle, kCommentsTitle, kSizeTitle}, rows);
}
ListingTable CutOut(int rows) {
    return Table({kFileNameTitle, kSizeTitle}, rows);
}

ListingOptions Options(PageLayout layout) {
    ListingOptions options;
    options.printAs = static_cast<std::int32_t>(layout);
    return options;
}

RecordingCanvas Draw(PrintJob& job, int page) {
    RecordingCanvas canvas;
    EXPECT_TRUE(job.DrawPage(canvas, page)) << "page " << page;
    return canvas;
}

// Where a text was drawn; (-1, -1) when it was not.
Point At(const RecordingCanvas& canvas, std::string_view text) {
    const TextCall* call = canvas.FindText(text);
    return call != nullptr ? call->at : Point{-1, -1};
}

FontRequest Font(int height, int width, int weight) {
    return {"Arial", height, width, weight};
}

class PrintJobTest : public ::testing::Test {
protected:
    test::ScopedEnvironment zone{"TZ", "UTC"};
    test::ScopedEnvironment epoch{"SOURCE_DATE_EPOCH", "1040220309"};
};

TEST_F(PrintJobTest, TitleBlockOnLetterPagesAndPanels) {
    PrintJob letter(Standard(3), Options(PageLayout::Standard), {}, kPath);
    RecordingCanvas canvas = Draw(letter, 1);
    const Pen pen2{2, kBlack};
    EXPECT_EQ(canvas.RoundRectangles(),
              (std::vector<RoundRectangleCall>{{{80, 40}, {385, 102}, 80, 40, pen2, kGrey140},
                                               {{64, 32}, {369, 97}, 80, 40, pen2, kWhite}}));
    // Short paths print in capitals on letter pages; the second line is empty.
    const TextCall* first = canvas.FindText("/DATA/PHOTOS");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->at, (Point{90, 45}));
    EXPECT_EQ(first->font, Font(12, 0, 700));
    const TextCall* date = canvas.FindText(" Wed Dec 18 14:05:09 2002");
    ASSERT_NE(date, nullptr);
    EXPECT_EQ(date->at, (Point{170, 88}));
    EXPECT_EQ(date->font, Font(16, 6, 400));

    // A long path on two lines, in capitals while it is shorter than 55 characters.
    PrintJob split(Standard(3), Options(PageLayout::Standard), {}, "/srv/archive/music/ab/cdef");
    canvas = Draw(split, 1);
    EXPECT_EQ(At(canvas, "/SRV/ARCHIVE/MUSIC/AB/"), (Point{90, 45}));
    EXPECT_EQ(At(canvas, "CDEF"), (Point{90, 60}));
    const std::string longPath = "/srv/" + std::string(45, 'x') + "/archive/music";
    PrintJob asTyped(Standard(3), Options(PageLayout::Standard), {}, longPath);
    canvas = Draw(asTyped, 1);
    EXPECT_EQ(At(canvas, "/srv/" + std::string(45, 'x') + "/"), (Point{90, 45}));
    EXPECT_EQ(At(canvas, "archive/music"), (Point{90, 60}));

    PrintJob cd(CutOut(3), Options(PageLayout::CdInsert), {},
                "/media/cdrom/backups/2002/december/x");
    canvas = Draw(cd, 1);
    const Pen pen1{1, kBlack};
    EXPECT_EQ(canvas.RoundRectangles(),
              (std::vector<RoundRectangleCall>{{{40, 40}, {305, 71}, 40, 40, pen1, kGrey140},
                                               {{32, 32}, {297, 66}, 40, 40, pen1, kWhite}}));
    first = canvas.FindText("/media/cdrom/backups/2002/december/");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->at, (Point{45, 35}));
    EXPECT_EQ(first->font, Font(10, 0, 700));
    EXPECT_EQ(At(canvas, "x"), (Point{45, 50}));
    date = canvas.FindText(" Wed Dec 18 14:05:09 2002");
    ASSERT_NE(date, nullptr);
    EXPECT_EQ(date->at, (Point{85, 64}));
    EXPECT_EQ(date->font, Font(8, 6, 400));

    // Without `Print Title` there is no box.
    ListingOptions noTitle = Options(PageLayout::Standard);
    noTitle.printTitle = 0;
    PrintJob untitled(Standard(3), noTitle, {}, kPath);
    canvas = Draw(untitled, 1);
    EXPECT_TRUE(canvas.RoundRectangles().empty());
    EXPECT_EQ(canvas.FindText("/DATA/PHOTOS"), nullptr);
}

TEST_F(PrintJobTest, EachJobComposesItsOwnTitle) {
    PrintJob longJob(Standard(3), Options(PageLayout::Standard), {}, "/srv/archive/music/ab/cdef");
    Draw(longJob, 1);
    PrintJob root(Standard(3), Options(PageLayout::Standard), {}, "/");
    const RecordingCanvas canvas = Draw(root, 1);
    EXPECT_EQ(At(canvas, "/"), (Point{90, 45}));
    for (const TextCall& text : canvas.Texts())
        EXPECT_NE(text.at, (Point{90, 60})) << "no second line: " << text.text;
}

TEST_F(PrintJobTest, SummaryBlockInEachLayout) {
    const ListingSummary summary{2560, 3, 12};
    ListingOptions options = Options(PageLayout::Standard);
    PrintJob letter(Standard(1), options, summary, kPath);
    RecordingCanvas canvas = Draw(letter, 1);
    const TextCall* head = canvas.FindText("Summary:");
    ASSERT_NE(head, nullptr);
    EXPECT_EQ(head->at, (Point{445, 30}));
    EXPECT_EQ(head->font, Font(10, 5, 100));
    EXPECT_EQ(At(canvas, "Size (data only): ..."), (Point{445, 44}));
    EXPECT_EQ(At(canvas, "           2.5 Kb"), (Point{445, 60}));
    EXPECT_EQ(At(canvas, "Files:              3"), (Point{445, 76}));
    EXPECT_EQ(At(canvas, "Subfolders:        12"), (Point{445, 90}));
    EXPECT_EQ(At(canvas, "kb (kilobyte) = 1024 bytes; Mb (megabyte) = 1048576 bytes"),
              (Point{390, 132}));
    EXPECT_EQ(At(canvas, "ATTRIBUTES:"), (Point{640, 44}));
    EXPECT_EQ(At(canvas, "A - ARCHIVE"), (Point{640, 60}));
    EXPECT_EQ(At(canvas, "H - HIDDEN"), (Point{640, 76}));
    EXPECT_EQ(At(canvas, "R - READ ONLY"), (Point{640, 90}));
    EXPECT_EQ(At(canvas, "S - SYSTEM"), (Point{640, 108}));

    options.addSizeInBytes = 1;
    PrintJob inBytes(Standard(1), options, summary, kPath);
    EXPECT_EQ(At(Draw(inBytes, 1), "          2,560 b"), (Point{445, 60}));

    PrintJob cd(CutOut(1), Options(PageLayout::CdInsert), summary, kPath);
    canvas = Draw(cd, 1);
    EXPECT_EQ(canvas.FindText("Summary:")->font, Font(7, 5, 100));
    EXPECT_EQ(At(canvas, "Summary:"), (Point{305, 30}));
    EXPECT_EQ(At(canvas, "Size (data only): ..."), (Point{305, 36}));
    EXPECT_EQ(At(canvas, "           2.5 Kb"), (Point{305, 44}));
    EXPECT_EQ(At(canvas, "Files:              3"), (Point{305, 52}));
    EXPECT_EQ(At(canvas, "Subfolders:        12"), (Point{305, 59}));
    EXPECT_EQ(canvas.FindText("ATTRIBUTES:"), nullptr);
    EXPECT_EQ(canvas.FindText("kb (kilobyte) = 1024 bytes; Mb (megabyte) = 1048576 bytes"),
              nullptr);

    PrintJob zip(CutOut(1), Options(PageLayout::ZipInsert), summary, kPath);
    EXPECT_EQ(Draw(zip, 1).FindText("Summary:")->font, Font(7, 3, 100));

    ListingOptions noSummary = Options(PageLayout::Standard);
    noSummary.summary = 0;
    PrintJob without(Standard(1), noSummary, summary, kPath);
    EXPECT_EQ(Draw(without, 1).FindText("Summary:"), nullptr);
}

// The four edges of a panel square, clockwise from the top left.
std::vector<LineCall> Square(int side, int o) {
    return {{{25, o + 25}, {side, o + 25}, kFrame},
            {{side, o + 25}, {side, o + side}, kFrame},
            {{side, o + side}, {25, o + side}, kFrame},
            {{25, o + side}, {25, o + 25}, kFrame}};
}

std::vector<LineCall> Grid(int side, int firstY, int count) {
    std::vector<LineCall> lines;
    for (int i = 0; i < count; ++i)
        lines.push_back({{25, firstY + 14 * i}, {side, firstY + 14 * i}, kFrame});
    return lines;
}

std::vector<LineCall> Join(std::vector<std::vector<LineCall>> parts) {
    std::vector<LineCall> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

TEST_F(PrintJobTest, PanelFramesAndTheirGrid) {
    // Page 1 of a CD insert: the first panel leaves room for the title (lines from 94 down
    // to its bottom edge at 500), the lower panel has 32 lines from 541.
    PrintJob cd(CutOut(62), Options(PageLayout::CdInsert), {}, kPath);
    EXPECT_EQ(Draw(cd, 1).Lines(),
              Join({Square(500, 0), Grid(500, 94, 30), Square(500, 500), Grid(500, 541, 32)}));
    EXPECT_EQ(Draw(cd, 1).Lines().back().from, (Point{25, 975}));
    // Page 2 holds panel 3 only, an upper panel that is not the first.
    EXPECT_EQ(Draw(cd, 2).Lines(), Join({Square(500, 0), Grid(500, 41, 32)}));

    PrintJob zip(CutOut(45), Options(PageLayout::ZipInsert), {}, kPath);
    EXPECT_EQ(Draw(zip, 1).Lines(),
              Join({Square(380, 0), Grid(380, 94, 20), Square(380, 500), Grid(380, 541, 24)}));

    // `Do not draw Grid` leaves the squares.
    ListingOptions noGrid = Options(PageLayout::CdInsert);
    noGrid.doNotDrawGrid = 1;
    PrintJob plain(CutOut(30), noGrid, {}, kPath);
    EXPECT_EQ(Draw(plain, 1).Lines(), Join({Square(500, 0), Square(500, 500)}));
}

TEST_F(PrintJobTest, LetterPageHeadingsAndColumnHeads) {
    PrintJob single(Standard(3), Options(PageLayout::Standard), {}, kPath);
    RecordingCanvas canvas = Draw(single, 1);
    const TextCall* heading = canvas.FindText(" Listing: page 1 of 1");
    ASSERT_NE(heading, nullptr);
    EXPECT_EQ(heading->at, (Point{50, 130}));
    EXPECT_EQ(heading->font, Font(10, 0, 400));
    EXPECT_EQ(canvas.Lines(), (std::vector<LineCall>{{{40, 160}, {750, 160}, kDefaultPen}}));
    EXPECT_EQ(At(canvas, "Name"), (Point{50, 145}));
    EXPECT_EQ(At(canvas, "Comments"), (Point{200, 145}));
    EXPECT_EQ(At(canvas, "Size "), (Point{420, 145}));
    EXPECT_EQ(canvas.FindText("Attribute"), nullptr);
    EXPECT_EQ(canvas.FindText("Last Date Modified"), nullptr);
    EXPECT_EQ(At(canvas, "     1. file-0"), (Point{30, 168}));
    EXPECT_EQ(At(canvas, "     3. file-2"), (Point{30, 192}));

    PrintJob two(Table({kFileNameTitle, kSizeTitle, kAttrTitle, kLastModifiedTitle}, 71),
                 Options(PageLayout::FileData), {}, kPath);
    EXPECT_EQ(At(Draw(two, 1), " Listing: page 1 of 2"), (Point{50, 130}));
    canvas = Draw(two, 2);
    EXPECT_EQ(At(canvas, "/DATA/PHOTOS  page 2 of 2"), (Point{40, 25}));
    EXPECT_EQ(canvas.Lines(), (std::vector<LineCall>{{{40, 50}, {750, 50}, kDefaultPen}}));
    EXPECT_EQ(At(canvas, "Name"), (Point{50, 35}));
    EXPECT_EQ(canvas.FindText("Comments"), nullptr);
    EXPECT_EQ(At(canvas, "Size "), (Point{420, 35}));
    EXPECT_EQ(At(canvas, "Attribute"), (Point{555, 35}));
    EXPECT_EQ(At(canvas, "Last Date Modified"), (Point{640, 35}));
    EXPECT_EQ(At(canvas, "    71. file-70"), (Point{30, 64}));
    EXPECT_EQ(canvas.FindText("    70. file-69"), nullptr);
}

TEST_F(PrintJobTest, PanelHeadings) {
    // One CD panel needs no page numbers; a second one numbers both.
    PrintJob one(CutOut(29), Options(PageLayout::CdInsert), {}, kPath);
    RecordingCanvas canvas = Draw(one, 1);
    for (const TextCall& text : canvas.Texts())
        EXPECT_EQ(text.text.find("page"), std::string::npos) << text.text;
    EXPECT_EQ(At(canvas, "  1. file-0"), (Point{30, 95}));
    EXPECT_EQ(At(canvas, " 29. file-28"), (Point{30, 95 + 28 * 14}));

    PrintJob cd(CutOut(62), Options(PageLayout::CdInsert), {}, kPath);
    canvas = Draw(cd, 1);
    const TextCall* heading = canvas.FindText(" page 1 of 3");
    ASSERT_NE(heading, nullptr);
    EXPECT_EQ(heading->at, (Point{120, 73}));
    EXPECT_EQ(heading->font, Font(12, 0, 400));
    EXPECT_EQ(At(canvas, "/data/photos  page 2 of 3"), (Point{110, 528}));
    EXPECT_EQ(At(canvas, " 30. file-29"), (Point{30, 542}));
    canvas = Draw(cd, 2);
    EXPECT_EQ(At(canvas, "/data/photos  page 3 of 3"), (Point{110, 28}));
    EXPECT_EQ(At(canvas, " 62. file-61"), (Point{30, 42}));
    EXPECT_EQ(canvas.Texts().size(), 3u) << "heading, name and size of the one row";

    PrintJob zip(CutOut(45), Options(PageLayout::ZipInsert), {}, kPath);
    canvas = Draw(zip, 1);
    EXPECT_EQ(canvas.FindText(" page 1 of 3")->font, Font(11, 0, 400));
    EXPECT_EQ(At(canvas, " page 1 of 3"), (Point{100, 73}));
    EXPECT_EQ(At(canvas, "  1. file-0"), (Point{30, 96}));
    EXPECT_EQ(At(canvas, "/data/photos  page 2 of 3"), (Point{90, 528}));
    EXPECT_EQ(At(canvas, " 21. file-20"), (Point{30, 543}));
    canvas = Draw(zip, 2);
    EXPECT_EQ(At(canvas, "/data/photos  page 3 of 3"), (Point{90, 28}));
    EXPECT_EQ(At(canvas, " 45. file-44"), (Point{30, 43}));

    // A long path heads later panels with the title's first line: empty when the path
    // has no separator far enough in.
    PrintJob split(CutOut(30), Options(PageLayout::CdInsert), {},
                   "/media/cdrom/backups/2002/december/x");
    EXPECT_EQ(At(Draw(split, 1), "/media/cdrom/backups/2002/december/  page 2 of 2"),
              (Point{110, 528}));
    PrintJob unsplit(CutOut(30), Options(PageLayout::CdInsert), {}, "/" + std::string(40, 'm'));
    EXPECT_EQ(At(Draw(unsplit, 1), "  page 2 of 2"), (Point{110, 528}));
}

TEST_F(PrintJobTest, LineNumbersSkipCommentAndFileDataRowsAndRunAcrossPages) {
    ListingTable table = Standard(72);
    table.SetCell(0, 0, "comments:");
    table.SetCell(0, 1, "first notes");
    table.SetCell(2, 0, "  *** FileVersion");
    table.SetCell(2, 1, "1.0.0.1");
    PrintJob job(table, Options(PageLayout::Standard), {}, kPath);
    RecordingCanvas canvas = Draw(job, 1);
    EXPECT_EQ(At(canvas, "comments:"), (Point{45, 168}));
    EXPECT_EQ(At(canvas, "first notes"), (Point{180, 168}));
    EXPECT_EQ(At(canvas, "     1. file-1"), (Point{30, 180}));
    EXPECT_EQ(At(canvas, "  *** FileVersion"), (Point{30, 192}));
    EXPECT_EQ(At(canvas, "1.0.0.1"), (Point{180, 192}));
    EXPECT_EQ(At(canvas, "     2. file-3"), (Point{30, 204}));
    EXPECT_EQ(At(canvas, "    68. file-69"), (Point{30, 168 + 69 * 12}));
    canvas = Draw(job, 2);
    EXPECT_EQ(At(canvas, "    69. file-70"), (Point{30, 64}));
    EXPECT_EQ(At(canvas, "    70. file-71"), (Point{30, 76}));

    // Either setting numbers every layout; with both off names stand alone.
    ListingOptions cdNumbers = Options(PageLayout::Standard);
    cdNumbers.numberStdLines = 0;
    cdNumbers.numberCdLines = 1;
    PrintJob numbered(table, cdNumbers, {}, kPath);
    EXPECT_EQ(At(Draw(numbered, 1), "     1. file-1"), (Point{30, 180}));
    ListingOptions none = Options(PageLayout::Standard);
    none.numberStdLines = 0;
    PrintJob plain(table, none, {}, kPath);
    canvas = Draw(plain, 1);
    EXPECT_EQ(At(canvas, "file-1"), (Point{30, 180}));
    EXPECT_EQ(At(canvas, "comments:"), (Point{45, 168}));
}

TEST_F(PrintJobTest, CellsStandAtTheirColumnsPlace) {
    const auto x = [](const RecordingCanvas& canvas, std::string_view text) {
        return At(canvas, text).x;
    };
    PrintJob all(
        Table({kFileNameTitle, kCommentsTitle, kSizeTitle, kAttrTitle, kLastModifiedTitle}, 1),
        Options(PageLayout::Standard), {}, kPath);
    RecordingCanvas canvas = Draw(all, 1);
    EXPECT_EQ(x(canvas, "Comments:0"), 180);
    EXPECT_EQ(x(canvas, "Size:0"), 400);
    EXPECT_EQ(x(canvas, "Attr.:0"), 555);
    EXPECT_EQ(x(canvas, "Last Modified:0"), 640);
    EXPECT_EQ(At(canvas, "Size:0").y, 168);

    PrintJob noComments(Table({kFileNameTitle, kSizeTitle, kAttrTitle, kLastModifiedTitle}, 1),
                        Options(PageLayout::Standard), {}, kPath);
    canvas = Draw(noComments, 1);
    EXPECT_EQ(x(canvas, "Size:0"), 370);
    EXPECT_EQ(x(canvas, "Attr.:0"), 555);
    EXPECT_EQ(x(canvas, "Last Modified:0"), 640);

    PrintJob attrDate(Table({kFileNameTitle, kAttrTitle, kLastModifiedTitle}, 1),
                      Options(PageLayout::Standard), {}, kPath);
    canvas = Draw(attrDate, 1);
    EXPECT_EQ(x(canvas, "Attr.:0"), 555);
    EXPECT_EQ(x(canvas, "Last Modified:0"), 640);
    EXPECT_EQ(canvas.FindText("Size "), nullptr);

    // Panels print names, comments and sizes only.
    const ListingTable wide =
        Table({kFileNameTitle, kCommentsTitle, kSizeTitle, kAttrTitle, kLastModifiedTitle}, 1);
    PrintJob cd(wide, Options(PageLayout::CdInsert), {}, kPath);
    canvas = Draw(cd, 1);
    EXPECT_EQ(x(canvas, "Comments:0"), 180);
    EXPECT_EQ(x(canvas, "Size:0"), 370);
    EXPECT_EQ(canvas.FindText("Attr.:0"), nullptr);
    EXPECT_EQ(canvas.FindText("Last Modified:0"), nullptr);
    PrintJob zip(wide, Options(PageLayout::ZipInsert), {}, kPath);
    canvas = Draw(zip, 1);
    EXPECT_EQ(x(canvas, "Comments:0"), 150);
    EXPECT_EQ(x(canvas, "Size:0"), 300);
    PrintJob cdSize(CutOut(1), Options(PageLayout::CdInsert), {}, kPath);
    EXPECT_EQ(x(Draw(cdSize, 1), "Size:0"), 370);
    PrintJob zipSize(CutOut(1), Options(PageLayout::ZipInsert), {}, kPath);
    EXPECT_EQ(x(Draw(zipSize, 1), "Size:0"), 270);

    // A table filled for a CD insert (FileName, Size) printed on letter pages, whose
    // settings show Comments and Size: sizes stay sizes, under the Size head.
    ListingOptions letter = Options(PageLayout::Standard);
    letter.addComments = 1;
    PrintJob switched(CutOut(1), letter, {}, kPath);
    canvas = Draw(switched, 1);
    EXPECT_EQ(x(canvas, "Size:0"), 370);
    EXPECT_EQ(At(canvas, "Size "), (Point{420, 145}));
    EXPECT_EQ(canvas.FindText("Comments"), nullptr);
}

TEST_F(PrintJobTest, EmptyListingPrintsTitleSummaryAndAnEmptyFrame) {
    PrintJob cd(CutOut(0), Options(PageLayout::CdInsert), {}, kPath);
    EXPECT_TRUE(cd.IsEmpty());
    EXPECT_EQ(cd.PageCount(), 1);
    EXPECT_EQ(cd.PanelCount(), 1);
    RecordingCanvas canvas = Draw(cd, 1);
    EXPECT_EQ(canvas.RoundRectangles().size(), 2u);
    EXPECT_NE(canvas.FindText("Summary:"), nullptr);
    EXPECT_EQ(canvas.Lines(), Join({Square(500, 0), Grid(500, 94, 30)}));
    // Path, date and the five summary lines; no heading, no rows.
    EXPECT_EQ(canvas.Texts().size(), 7u);

    PrintJob letter(Standard(0), Options(PageLayout::Standard), {}, kPath);
    canvas = Draw(letter, 1);
    EXPECT_TRUE(canvas.Lines().empty());
    EXPECT_EQ(canvas.FindText(" Listing: page 1 of 1"), nullptr);
    EXPECT_EQ(canvas.FindText("Name"), nullptr);
}

TEST_F(PrintJobTest, PagesDrawTheSameInAnyOrderFromTheirOwnSnapshot) {
    ListingTable table = CutOut(62);
    PrintJob job(table, Options(PageLayout::CdInsert), {}, kPath);
    table.ClearRows();
    const RecordingCanvas second = Draw(job, 2);
    const RecordingCanvas first = Draw(job, 1);
    EXPECT_EQ(Draw(job, 2).Calls(), second.Calls());
    EXPECT_EQ(Draw(job, 1).Calls(), first.Calls());
    EXPECT_EQ(At(first, " 29. file-28"), (Point{30, 487}));

    RecordingCanvas canvas;
    EXPECT_FALSE(job.DrawPage(canvas, 0));
    EXPECT_FALSE(job.DrawPage(canvas, 3));
    EXPECT_TRUE(canvas.Calls().empty());
}

TEST_F(PrintJobTest, DefaultFontTakesOverWhenTheFaceCannotBeMade) {
    PrintJob job(Standard(2), Options(PageLayout::Standard), {}, kPath);
    RecordingCanvas canvas;
    canvas.RefuseFace("Arial");
    job.DrawPage(canvas, 1);
    EXPECT_TRUE(job.BodyFontFailed());
    const TextCall* row = canvas.FindText("     1. file-0");
    ASSERT_NE(row, nullptr);
    EXPECT_TRUE(row->defaultFont);

    PrintJob fine(Standard(2), Options(PageLayout::Standard), {}, kPath);
    Draw(fine, 1);
    EXPECT_FALSE(fine.BodyFontFailed());
}

} // namespace
} // namespace dirscribe
