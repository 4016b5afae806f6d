// SPDX-License-Identifier: MIT
// The print job and the drawing of its pages.
#include "core/print/PrintJob.h"

#include "core/format/SizeFormat.h"
#include "core/format/Utf8.h"
#include "core/format/WordWrap.h"
#include "core/platform/Clock.h"
#include "core/table/TableColumn.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>

namespace dirscribe {

namespace {

constexpr int kLowerPanelOffset = 500;
constexpr Color kShadowGrey{140, 140, 140};
constexpr Pen kFramePen{1, Color{160, 160, 160}};

constexpr int kLetterRuleLeft = 40;
constexpr int kLetterRuleRight = 750;
constexpr int kFrameLeft = 25;
// The right edge of the printable area of a letter page: 8.5 inches less two margins.
constexpr int kLetterRight = 800;
// Between a cut text's "…" and what stands to its right.
constexpr int kClipGap = 5;
constexpr int kNameX = 30;
constexpr int kCommentRowX = 45;

// What differs between the layouts, in 0.01 inch.
struct LayoutMetrics {
    bool letter = true;
    int scale = 2;           // k: the title box is drawn twice as tall on letter pages
    int bodyHeight = 10;     // body font cell height
    int rowPitch = 12;       // from one row to the next
    int numberWidth = 6;     // digits of a line number
    int commentsX = 180;     // Comments cells
    int sizeX = 400;         // Size cells beside Comments
    int sizeAloneX = 370;    // Size cells without Comments
    int panelSide = 0;       // S: the panel square's far edges
    int firstPanelLines = 0; // grid lines of the job's first panel
    int laterPanelLines = 0; // grid lines of every other panel
    int firstHeadingX = 0;   // " page 1 of n" of the first panel
    int firstRowY = 0;       // first row of the first panel
    int laterHeadingX = 0;   // heading of later panels, at y = o + 28
    int laterFirstRowY = 0;  // first row of later panels, plus o
    int summaryHeight = 10;  // summary font cell height
    int summaryWidth = 5;    // and average character width
};

constexpr LayoutMetrics kLetterMetrics{};
constexpr LayoutMetrics kCdMetrics{.letter = false,
                                   .scale = 1,
                                   .bodyHeight = 12,
                                   .rowPitch = 14,
                                   .numberWidth = 3,
                                   .commentsX = 180,
                                   .sizeX = 370,
                                   .sizeAloneX = 370,
                                   .panelSide = 500,
                                   .firstPanelLines = 30,
                                   .laterPanelLines = 32,
                                   .firstHeadingX = 120,
                                   .firstRowY = 95,
                                   .laterHeadingX = 110,
                                   .laterFirstRowY = 42,
                                   .summaryHeight = 7,
                                   .summaryWidth = 5};
constexpr LayoutMetrics kZipMetrics{.letter = false,
                                    .scale = 1,
                                    .bodyHeight = 11,
                                    .rowPitch = 14,
                                    .numberWidth = 3,
                                    .commentsX = 150,
                                    .sizeX = 300,
                                    .sizeAloneX = 270,
                                    .panelSide = 380,
                                    .firstPanelLines = 20,
                                    .laterPanelLines = 24,
                                    .firstHeadingX = 100,
                                    .firstRowY = 96,
                                    .laterHeadingX = 90,
                                    .laterFirstRowY = 43,
                                    .summaryHeight = 7,
                                    .summaryWidth = 3};

const LayoutMetrics& MetricsOf(PageLayout layout) {
    switch (layout) {
    case PageLayout::CdInsert:
        return kCdMetrics;
    case PageLayout::ZipInsert:
        return kZipMetrics;
    case PageLayout::Standard:
    case PageLayout::FileData:
        break;
    }
    return kLetterMetrics;
}

PageLayout ValidLayout(PageLayout layout) {
    return IsPageLayout(static_cast<std::int32_t>(layout)) ? layout : PageLayout::Standard;
}

std::string Formatted(const char* format, long value) {
    std::array<char, 32> buffer{};
    const int length = std::snprintf(buffer.data(), buffer.size(), format, value);
    return std::string(buffer.data(), length > 0 ? static_cast<std::size_t>(length) : 0);
}

// "  page q of n" after the given text.
std::string PageOf(std::string_view before, int page, int total) {
    return std::string(before) + "  page " + std::to_string(page) + " of " + std::to_string(total);
}

// Writes a text that must end before x = end.
void TextBefore(Canvas& canvas, Point at, std::string_view text, const FontRequest& font, int end) {
    if (!text.empty())
        canvas.Text(at, text, font, end - at.x - kClipGap);
}

// Where the title box's texts stand: each line below the one before it, inside the box,
// whose lower edge ran through a date line at 24k + 40.
struct TitleBox {
    int right = 0;  // of the box
    int pathY = 0;  // the first path line
    int pitch = 0;  // from one path line to the next
    int height = 0; // of the path lines' font
    int dateY = 0;
};

TitleBox TitleBoxOf(const LayoutMetrics& metrics) {
    const int k = metrics.scale;
    const int e = metrics.letter ? 40 : 0;
    return metrics.letter ? TitleBox{32 * k + e + 265, 10 * k + 25, 15, 12, 24 * k + 29}
                          : TitleBox{32 * k + e + 265, 34, 11, 10, 56};
}

// Where texts of this layout must end when nothing else stands to their right.
int RightEdge(const LayoutMetrics& metrics) {
    return metrics.letter ? kLetterRight : metrics.panelSide;
}

} // namespace

PrintJob::PrintJob(ListingTable table, const ListingOptions& options, const ListingSummary& summary,
                   std::string_view folderPath, const TextWidths& widths)
    : m_snapshot(std::move(table)), m_options(options), m_summary(summary),
      m_folderPath(LenientUtf8(folderPath)), m_layout(ValidLayout(options.printAs)) {
    const LayoutMetrics& metrics = MetricsOf(m_layout);
    const bool hasComments = m_snapshot.ColumnIndex(ColumnKind::Comments) > 0;
    for (int c = 1; c < m_snapshot.ColumnCount(); ++c) {
        const ColumnKind kind = m_snapshot.KindOfColumn(c);
        if (kind == ColumnKind::Comments)
            m_printedColumns.push_back({c, metrics.commentsX});
        else if (kind == ColumnKind::Size)
            m_printedColumns.push_back({c, hasComments ? metrics.sizeX : metrics.sizeAloneX});
        else if (kind == ColumnKind::Attributes && metrics.letter)
            m_printedColumns.push_back({c, 555});
        else if (kind == ColumnKind::Date && metrics.letter)
            m_printedColumns.push_back({c, 640});
    }
    // Each text ends where the next printed column begins, the last at the page's edge.
    const auto nextX = [&](int x) {
        int next = RightEdge(metrics);
        for (const PrintedColumn& column : m_printedColumns)
            if (column.x > x)
                next = std::min(next, column.x);
        return next;
    };
    for (PrintedColumn& column : m_printedColumns) {
        column.end = nextX(column.x);
        if (m_snapshot.KindOfColumn(column.cell) == ColumnKind::Comments)
            m_commentsColumn = column;
    }
    m_nameEnd = nextX(kNameX);

    WrapComments(widths);
    FitTitle(widths);
    std::vector<TallRow> tallRows;
    tallRows.reserve(m_wrapped.size());
    std::int64_t lineCount = m_snapshot.RowCount();
    for (const WrappedComment& wrapped : m_wrapped) {
        const int lines = static_cast<int>(wrapped.lines.size());
        tallRows.push_back({wrapped.row, lines});
        lineCount += lines - 1;
    }
    m_counts = CountPages(m_layout, lineCount);
    m_pageTable = BuildPageTable(m_snapshot, m_layout, m_counts.panelCount, tallRows);
}

FontRequest PrintJob::BodyFont() const {
    return FontRequest{m_options.currentFont, MetricsOf(m_layout).bodyHeight, 0, 400};
}

void PrintJob::WrapComments(const TextWidths& widths) {
    if (!m_commentsColumn)
        return;
    const FontRequest font = BodyFont();
    // As TextBefore gives it, less a fiftieth: a printer chosen after the job was measured
    // may round its fonts' pixel sizes a little differently, and must still write each line
    // whole.
    const double room = (m_commentsColumn->end - m_commentsColumn->x - kClipGap) * 0.98;
    const LineFits fits = [&](std::string_view line) {
        return widths.Width(line, font) <= room;
    };
    std::string scratch;
    for (int row = 0; row < m_snapshot.RowCount(); ++row) {
        const std::string_view cell = m_snapshot.CellText(row, m_commentsColumn->cell, scratch);
        // Never measured whole: a device's widths of a text of a million characters can
        // run past what its numbers hold, and that text would seem to fit.
        if (cell.empty())
            continue;
        const std::vector<std::string_view> lines = WrapWords(cell, fits);
        if (lines.size() < 2)
            continue;
        WrappedComment wrapped{row, {}};
        for (const std::string_view line : lines)
            wrapped.lines.emplace_back(static_cast<std::size_t>(line.data() - cell.data()),
                                       line.size());
        m_wrapped.push_back(std::move(wrapped));
    }
}

const PrintJob::WrappedComment* PrintJob::WrappedAt(int row) const {
    const auto found =
        std::lower_bound(m_wrapped.begin(), m_wrapped.end(), row,
                         [](const WrappedComment& wrapped, int r) { return wrapped.row < r; });
    return found != m_wrapped.end() && found->row == row ? &*found : nullptr;
}

const PrintTitle& PrintJob::Title() {
    if (!m_title) {
        m_title = m_titlePath;
        m_title->dateLine = PrintTitleDate(Now());
    }
    return *m_title;
}

// The title box's path lines in its bold font; a path that takes more than two lines gets
// the largest smaller font whose lines all stand above the date line.
void PrintJob::FitTitle(const TextWidths& widths) {
    const LayoutMetrics& metrics = MetricsOf(m_layout);
    const TitleBox box = TitleBoxOf(metrics);
    // Short paths stand out in capitals on letter pages.
    const bool upper = metrics.letter && Utf8Length(m_folderPath) < 55;
    const int room = box.right - 45 * metrics.scale - kClipGap;
    constexpr int kSmallestHeight = 5;
    m_titleFont = FontRequest{m_options.currentFont, box.height, 0, 700};
    for (;; --m_titleFont.height) {
        const LineFits fits = [&](std::string_view line) {
            return widths.Width(line, m_titleFont) <= room * 0.98;
        };
        m_titlePath = ComposePrintTitle(m_folderPath, IsCutOut(m_layout), 0, upper, fits);
        m_titlePitch = box.pitch - box.height + m_titleFont.height;
        const int lines = 2 + static_cast<int>(m_titlePath.moreLines.size());
        if (lines == 2 || m_titleFont.height == kSmallestHeight ||
            box.pathY + (lines - 1) * m_titlePitch + m_titleFont.height <= box.dateY)
            break;
    }
}

bool PrintJob::DrawPage(Canvas& canvas, int page) {
    if (page < 1 || page > PageCount())
        return false;
    if (m_options.printTitle != 0 && page == 1)
        DrawTitleBlock(canvas);
    if (m_options.summary != 0 && page == 1)
        DrawSummaryBlock(canvas);
    if (!IsCutOut(m_layout)) {
        if (!IsEmpty())
            DrawPageBody(canvas, page, false);
        return true;
    }
    DrawPanelFrame(canvas, page == 1, false);
    if (!IsEmpty())
        DrawPageBody(canvas, 2 * page - 1, false);
    const int lowerPanel = 2 * page;
    if (lowerPanel <= PanelCount() &&
        m_pageTable[static_cast<std::size_t>(lowerPanel - 1)].firstRow < RowCount()) {
        DrawPanelFrame(canvas, false, true);
        DrawPageBody(canvas, lowerPanel, true);
    }
    return true;
}

void PrintJob::DrawTitleBlock(Canvas& canvas) {
    const LayoutMetrics& metrics = MetricsOf(m_layout);
    const PrintTitle& title = Title();
    const int k = metrics.scale;
    const int e = metrics.letter ? 40 : 0;
    const Pen pen{k, kBlack};
    canvas.RoundRectangle({40 * k, 40}, {40 * k + e + 265, 31 * k + 40}, 40 * k, 40, pen,
                          kShadowGrey);
    canvas.RoundRectangle({32 * k, 32}, {32 * k + e + 265, 31 * k + 35}, 40 * k, 40, pen, kWhite);

    const TitleBox box = TitleBoxOf(metrics);
    int y = box.pathY;
    for (const std::string* line : {&title.firstLine, &title.secondLine}) {
        TextBefore(canvas, {45 * k, y}, *line, m_titleFont, box.right);
        y += m_titlePitch;
    }
    for (const std::string& line : title.moreLines) {
        TextBefore(canvas, {45 * k, y}, line, m_titleFont, box.right);
        y += m_titlePitch;
    }
    const FontRequest dateFont{m_options.currentFont, 8 * k, 6, 400};
    TextBefore(canvas, {85 * k, box.dateY}, title.dateLine, dateFont, box.right);
}

void PrintJob::DrawSummaryBlock(Canvas& canvas) const {
    const LayoutMetrics& metrics = MetricsOf(m_layout);
    const FontRequest font{m_options.currentFont, metrics.summaryHeight, metrics.summaryWidth, 100};
    // Clear of the title box's shadow, which ends at 305 on the panels.
    const int x0 = metrics.letter ? 445 : 310;
    const int s = metrics.letter ? 2 : 1;
    constexpr int kLegendX = 640;
    // On letter pages the attribute legend stands to the right of the summary.
    const int end = metrics.letter ? kLegendX : RightEdge(metrics);
    const auto text = [&](Point at, std::string_view line, int lineEnd) {
        TextBefore(canvas, at, line, font, lineEnd);
    };
    text({x0, 30}, "Summary:", end);
    text({x0, 8 * s + 28}, "Size (data only): ...", end);
    text({x0, 16 * s + 28},
         FormatSize(m_summary.totalBytes, kSummarySizeWidth, m_options.addSizeInBytes != 0), end);
    text({x0, 24 * s + 28}, "Files:     " + Formatted("%10ld", m_summary.fileCount), end);
    text({x0, 31 * s + 28}, "Subfolders:" + Formatted("%10ld", m_summary.folderCount), end);
    if (!metrics.letter)
        return;
    text({390, 132}, "kb (kilobyte) = 1024 bytes; Mb (megabyte) = 1048576 bytes", kLetterRight);
    text({kLegendX, 44}, "ATTRIBUTES:", kLetterRight);
    text({kLegendX, 60}, "A - ARCHIVE", kLetterRight);
    text({kLegendX, 76}, "H - HIDDEN", kLetterRight);
    text({kLegendX, 90}, "R - READ ONLY", kLetterRight);
    text({kLegendX, 108}, "S - SYSTEM", kLetterRight);
}

void PrintJob::DrawPanelFrame(Canvas& canvas, bool firstPanel, bool lower) const {
    const LayoutMetrics& metrics = MetricsOf(m_layout);
    const int o = lower ? kLowerPanelOffset : 0;
    const int side = metrics.panelSide;
    // Edge by edge, clockwise from the top left corner.
    canvas.Line({kFrameLeft, o + kFrameLeft}, {side, o + kFrameLeft}, kFramePen);
    canvas.Line({side, o + kFrameLeft}, {side, o + side}, kFramePen);
    canvas.Line({side, o + side}, {kFrameLeft, o + side}, kFramePen);
    canvas.Line({kFrameLeft, o + side}, {kFrameLeft, o + kFrameLeft}, kFramePen);
    if (m_options.doNotDrawGrid != 0)
        return;
    // The first panel leaves room at its top for the title box and the summary.
    const int h = firstPanel ? 55 : 2;
    const int lines = firstPanel ? metrics.firstPanelLines : metrics.laterPanelLines;
    for (int i = 0; i < lines; ++i) {
        const int y = o + h + 39 + 14 * i;
        canvas.Line({kFrameLeft, y}, {side, y}, kFramePen);
    }
}

void PrintJob::DrawPageBody(Canvas& canvas, int block, bool lower) {
    const LayoutMetrics& metrics = MetricsOf(m_layout);
    const FontRequest font = BodyFont();
    if (!canvas.CanMakeFont(font))
        m_bodyFontFailed = true;
    const PageRange& range = m_pageTable[static_cast<std::size_t>(block - 1)];
    const int o = lower ? kLowerPanelOffset : 0;
    int firstY = 0;
    if (metrics.letter) {
        int headsY = 0;
        if (block == 1) {
            TextBefore(canvas, {50, 130}, " Listing: page 1 of " + std::to_string(PageCount()),
                       font, kLetterRight);
            canvas.Line({kLetterRuleLeft, 160}, {kLetterRuleRight, 160}, kDefaultPen);
            headsY = 145;
            firstY = 168;
        } else {
            TextBefore(canvas, {40, 25}, PageOf(Utf8Upper(m_folderPath), block, PageCount()), font,
                       kLetterRight);
            canvas.Line({kLetterRuleLeft, 50}, {kLetterRuleRight, 50}, kDefaultPen);
            headsY = 35;
            firstY = 64;
        }
        DrawColumnHeads(canvas, headsY, font);
    } else if (block == 1) {
        if (PanelCount() > 1)
            TextBefore(canvas, {metrics.firstHeadingX, 73},
                       " page 1 of " + std::to_string(PanelCount()), font, metrics.panelSide);
        firstY = metrics.firstRowY;
    } else {
        TextBefore(canvas, {metrics.laterHeadingX, o + 28},
                   PageOf(Title().firstLine, block, PanelCount()), font, metrics.panelSide);
        firstY = o + metrics.laterFirstRowY;
    }
    DrawRows(canvas, range, firstY, font);
}

void PrintJob::DrawColumnHeads(Canvas& canvas, int y, const FontRequest& font) const {
    struct Head {
        ColumnKind kind; // of the column it stands over
        int x;
        const char* text;
    };
    constexpr std::array kHeads{
        Head{ColumnKind::FileName, 50, "Name"}, Head{ColumnKind::Comments, 200, "Comments"},
        Head{ColumnKind::Size, 420, "Size "}, Head{ColumnKind::Attributes, 555, "Attribute"},
        Head{ColumnKind::Date, 640, "Last Date Modified"}};
    const auto shown = [&](const Head& head) {
        return head.kind == ColumnKind::FileName || m_snapshot.ColumnIndex(head.kind) > 0;
    };
    for (std::size_t h = 0; h < kHeads.size(); ++h) {
        if (!shown(kHeads[h]))
            continue;
        int end = kLetterRight;
        for (std::size_t next = h + 1; next < kHeads.size(); ++next)
            if (shown(kHeads[next])) {
                end = kHeads[next].x;
                break;
            }
        TextBefore(canvas, {kHeads[h].x, y}, kHeads[h].text, font, end);
    }
}

void PrintJob::DrawRows(Canvas& canvas, const PageRange& range, int firstY,
                        const FontRequest& font) {
    const int pitch = MetricsOf(m_layout).rowPitch;
    long number = range.numberedBefore;
    int y = firstY;
    int printed = 0;
    std::string scratch;
    std::string line;
    for (int row = range.firstRow, first = range.skippedLines; printed < range.lineCount;
         ++row, first = 0) {
        const CellTexts cells = m_snapshot.RowTexts(row, scratch);
        const WrappedComment* wrapped = WrappedAt(row);
        const int lines = wrapped != nullptr ? static_cast<int>(wrapped->lines.size()) : 1;
        for (int at = first; at < lines && printed < range.lineCount; ++at, ++printed, y += pitch) {
            if (at == 0)
                DrawFirstLine(canvas, {row, cells, wrapped}, {kNameX, y}, font, number, line);
            else
                TextBefore(canvas, {m_commentsColumn->x, y}, CommentLine(cells, *wrapped, at), font,
                           m_commentsColumn->end);
        }
    }
}

void PrintJob::DrawFirstLine(Canvas& canvas, const PrintedRow& row, Point at,
                             const FontRequest& font, long& number, std::string& line) const {
    const std::string_view name = row.cells[0];
    const RowKind kind = m_snapshot.Kind(row.index);
    if (kind == RowKind::Continuation) {
        TextBefore(canvas, {kCommentRowX, at.y}, name, font, m_nameEnd);
    } else {
        const bool numbering = m_options.numberStdLines != 0 || m_options.numberCdLines != 0;
        line.clear();
        if (numbering && IsNumbered(kind))
            line = Formatted(MetricsOf(m_layout).numberWidth == 6 ? "%6ld. " : "%3ld. ", ++number);
        line += name;
        TextBefore(canvas, at, line, font, m_nameEnd);
    }
    for (const PrintedColumn& column : m_printedColumns) {
        const bool comment = row.wrapped != nullptr && column.cell == m_commentsColumn->cell;
        TextBefore(canvas, {column.x, at.y},
                   comment ? CommentLine(row.cells, *row.wrapped, 0)
                           : row.cells[static_cast<std::size_t>(column.cell)],
                   font, column.end);
    }
}

std::string_view PrintJob::CommentLine(const CellTexts& cells, const WrappedComment& wrapped,
                                       int line) const {
    const auto [offset, length] = wrapped.lines[static_cast<std::size_t>(line)];
    return cells[static_cast<std::size_t>(m_commentsColumn->cell)].substr(offset, length);
}

} // namespace dirscribe
