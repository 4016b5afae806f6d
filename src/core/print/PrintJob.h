// SPDX-License-Identifier: MIT
// One print of the listing: a snapshot of the table, its pages or panels, and their drawing.
#pragma once

#include "core/canvas/Canvas.h"
#include "core/canvas/TextWidths.h"
#include "core/listing/ListingSummary.h"
#include "core/options/ListingOptions.h"
#include "core/print/PageRange.h"
#include "core/print/Pagination.h"
#include "core/print/PrintTitle.h"
#include "core/table/ListingTable.h"

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace dirscribe {

// Made when a print, preview or PDF export starts, from the table as it stands; later
// changes to the table do not reach it. Its snapshot shares the table's rows (they are
// copied only if the table changes while the job lives), and its pages read them without
// keeping any text, so printing a large listing holds no second copy of it. Draws each page in 0.01
// inch units, y downward from the top left of the printable area. Drawing a page twice, in any
// order, gives the same calls: the title text is composed once per job, when it is first needed.
//
// The letter layouts print a title box and a summary on page 1, then a heading, column heads
// and the rows of the page. The cut-out layouts print two framed square panels per page,
// each numbered as a page of the insert.
//
// Cells are printed under the heads of the columns the table really has (by their titles),
// so a table filled under other column settings still prints each value under its own head.
// A Comments cell too long for its printed column goes on, broken between words where they
// fit, on the next printed lines of that column, and the pages or panels count those lines:
// nothing typed is cut. Every other cell too long for its room ends in "…" (the canvas cuts
// it).
class PrintJob {
public:
    // widths measures as the canvas the pages will be drawn on does; it is used only while
    // the job is made.
    PrintJob(ListingTable table, const ListingOptions& options, const ListingSummary& summary,
             std::string_view folderPath, const TextWidths& widths);

    // The listed folder's path, as the title and the headings show it.
    [[nodiscard]] const std::string& FolderPath() const { return m_folderPath; }
    // The pages to print; at least 1, also for an empty listing.
    [[nodiscard]] int PageCount() const { return m_counts.pageCount; }
    // Panels in the cut-out layouts (two per page); equal to PageCount() on letter pages.
    [[nodiscard]] int PanelCount() const { return m_counts.panelCount; }
    // Whether the snapshot has no rows: the caller decides whether to print the title and
    // summary alone.
    [[nodiscard]] bool IsEmpty() const { return m_snapshot.RowCount() == 0; }
    [[nodiscard]] int RowCount() const { return m_snapshot.RowCount(); }

    // Draws page 1..PageCount(); false, drawing nothing, for any other number.
    bool DrawPage(Canvas& canvas, int page);

    // True once the body font could not be made and the device's default font took its
    // place; the window then switches `Add Size in Bytes` off.
    [[nodiscard]] bool BodyFontFailed() const { return m_bodyFontFailed; }

    // The job's title text, composed on first use with the date of that moment.
    const PrintTitle& Title();

private:
    void DrawTitleBlock(Canvas& canvas);
    void DrawSummaryBlock(Canvas& canvas) const;
    void DrawPanelFrame(Canvas& canvas, bool firstPanel, bool lower) const;
    // block: the page (letter layouts) or panel (cut-out layouts), from 1.
    void DrawPageBody(Canvas& canvas, int block, bool lower);
    void DrawColumnHeads(Canvas& canvas, int y, const FontRequest& font) const;
    void DrawRows(Canvas& canvas, const PageRange& range, int firstY, const FontRequest& font);

    // Where a printed column's cells stand; absent when the layout does not print it.
    struct PrintedColumn {
        int cell = 0; // index in the snapshot's rows
        int x = 0;
        int end = 0; // where its texts must end: the next column, or the page's edge
    };
    // A Comments cell printed on more than one line: each line as a part of the cell.
    struct WrappedComment {
        int row = 0;
        std::vector<std::pair<std::size_t, std::size_t>> lines; // offset and length
    };

    [[nodiscard]] FontRequest BodyFont() const;
    // Breaks the title's path into the lines that fit its box, in the font they fit in.
    void FitTitle(const TextWidths& widths);
    // Breaks every Comments cell that is too long for its room into lines.
    void WrapComments(const TextWidths& widths);
    // The wrapped comment of a row; null when its Comments cell takes one line.
    [[nodiscard]] const WrappedComment* WrappedAt(int row) const;
    // A row of the snapshot as it is drawn.
    struct PrintedRow {
        int index = 0;
        const CellTexts& cells;
        const WrappedComment* wrapped = nullptr; // null when its comment takes one line
    };
    // A row's number and name at `at`, and its cells (of a wrapped comment its first line);
    // line is scratch.
    void DrawFirstLine(Canvas& canvas, const PrintedRow& row, Point at, const FontRequest& font,
                       long& number, std::string& line) const;
    [[nodiscard]] std::string_view CommentLine(const CellTexts& cells,
                                               const WrappedComment& wrapped, int line) const;

    ListingTable m_snapshot;
    ListingOptions m_options;
    ListingSummary m_summary;
    std::string m_folderPath;
    PageLayout m_layout;
    PrintCounts m_counts;
    std::vector<PageRange> m_pageTable; // one range per page, or per panel on cut-outs
    std::vector<PrintedColumn> m_printedColumns;
    std::optional<PrintedColumn> m_commentsColumn;
    std::vector<WrappedComment> m_wrapped; // in row order
    int m_nameEnd = 0;                     // where FileName texts must end
    std::optional<PrintTitle> m_title;
    PrintTitle m_titlePath; // the title's path lines, without its date
    FontRequest m_titleFont;
    int m_titlePitch = 0;
    bool m_bodyFontFailed = false;
};

} // namespace dirscribe
