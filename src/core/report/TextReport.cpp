// SPDX-License-Identifier: MIT
// The text report: fixed header texts and right-aligned fields whose widths depend on
// which columns are shown and on whether the field before is empty.
#include "core/report/TextReport.h"

#include "core/format/DateFormat.h"
#include "core/format/SizeFormat.h"
#include "core/format/Utf8.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace dirscribe {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kSpecialRowWidth = 59;

constexpr std::string_view kRule76 =
    "============================================================================\r\n";
constexpr std::string_view kRule75 =
    "===========================================================================\r\n";
constexpr std::string_view kRule72 =
    "========================================================================\r\n";
constexpr std::string_view kRule71 =
    "=======================================================================\r\n";
constexpr std::string_view kRule58 =
    "========================================================== =============\r\n";

// The four column settings as one index: Comments 8, Size 4, Attr. 2, Last Modified 1.
int ColumnMask(const ListingOptions& options) {
    return (options.addComments != 0 ? 8 : 0) | (options.addSize != 0 ? 4 : 0) |
           (options.addAttribute != 0 ? 2 : 0) | (options.addDate != 0 ? 1 : 0);
}

struct HeaderBlock {
    std::string_view ruleAbove;
    std::string_view line;
    std::string_view ruleBelow;
};

// Indexed by ColumnMask. The header texts are kept exactly as the report has always had
// them, tabs and odd spacing included, because readers of old reports line up on them.
constexpr std::array<HeaderBlock, 16> kHeaders = {{
    {kRule72, "         Name\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t \r\n", kRule72},
    {kRule72, "         Name\t\t\t\t\t  Last Modified\r\n", kRule72},
    {kRule72, "         Name\t\t\t\t\t  Attributes \r\n", kRule72},
    {kRule72, "         Name\t\t\t\tAttr-s      Last Modified \r\n", kRule72},
    {kRule72, "         Name\t\t\t\t\t\t\t Size  \r\n", kRule72},
    {kRule72, "         Name\t\t\t\t  Size\t       Date Modified \r\n", kRule58},
    {kRule72, "         Name\t\t\t\t  Size\t\t\tAttributes \r\n", kRule72},
    {kRule72, "         Name                  Size       Attr-s     Last Modified\r\n", kRule72},
    {kRule71, "         Name\t\t\t\t    Comments:\t\t\t\t               \r\n", kRule71},
    {kRule71, "         Name         Comments             Last Modified\r\n", kRule71},
    {kRule75, "         Name\t\t\t\t\t\tComments             Attributes \r\n", kRule75},
    {kRule71, "         Name              Comments        Attr-s    Last Modified\r\n", kRule71},
    {kRule76, "    Name\t\t\t\t\tComments\t\t\t Size     \r\n", kRule76},
    {kRule76, "    Name                  Comments\t\t   Size       Last Modified\r\n", kRule76},
    {kRule76, "    Name                    Comments\t\t   Size        Attrib.\r\n", kRule76},
    {kRule76, "\tName             Comments\t   Size    Attr-s     Last Modified\r\n", kRule76},
}};

// Field width of one value column: the first when the column before holds text, the
// second when it is empty.
struct FieldWidth {
    std::size_t afterText;
    std::size_t afterEmpty;
};

struct RowFormat {
    std::size_t columns; // value columns written: 1..columns
    std::array<FieldWidth, 4> widths;
};

// Indexed by ColumnMask; widths[k - 1] belongs to column k.
constexpr std::array<RowFormat, 16> kRowFormats = {{
    {0, {}},
    {1, {{{63, 63}}}},
    {1, {{{50, 50}}}},
    {2, {{{40, 40}, {27, 27}}}},
    {1, {{{60, 60}}}},
    {2, {{{40, 40}, {27, 31}}}},
    {2, {{{45, 45}, {15, 15}}}},
    {3, {{{37, 37}, {27, 31}, {27, 33}}}},
    {1, {{{48, 48}}}},
    {2, {{{40, 40}, {22, 22}}}},
    {2, {{{50, 50}, {27, 27}}}},
    {3, {{{37, 37}, {27, 27}, {27, 33}}}},
    {2, {{{48, 48}, {15, 15}}}},
    {3, {{{34, 34}, {27, 31}, {24, 24}}}},
    {3, {{{40, 40}, {15, 15}, {27, 33}}}},
    {4, {{{27, 27}, {27, 31}, {27, 33}, {23, 27}}}},
}};

// Like RightAlign, without a temporary string per field.
void AppendRightAligned(std::string& out, std::string_view text, std::size_t width) {
    const std::size_t length = Utf8Length(text);
    if (length < width)
        out.append(width - length, ' ');
    out += text;
}

void AppendCount(std::string& out, std::int32_t count) {
    std::array<char, 24> buffer{};
    const int length =
        std::snprintf(buffer.data(), buffer.size(), "%10ld", static_cast<long>(count));
    if (length > 0)
        out.append(buffer.data(), static_cast<std::size_t>(length));
    out += kLineEnd;
}

void AppendBanner(std::string& out, ListingContent content) {
    if (content == ListingContent::FoldersOnly)
        out += "*********OUTPUT DIRECTORY ONLY*******\r\n";
    else if (content == ListingContent::FilesOnly)
        out += "******OUTPUT FILES ONLY********\r\n";
}

// The record of one row, from its cells (a table lacking a column has it empty).
void AppendRecord(std::string& out, const CellTexts& cells, RowKind kind, const RowFormat& format,
                  bool commentsShown) {
    const std::string_view name = cells[0];
    // A comment's next line or a file data row is one line: its label and its text.
    const bool special = FollowsEntry(kind);
    out += name;
    if (!special)
        out += " \r\n "; // the name on its own line, the values on the next
    if (special && commentsShown) {
        AppendRightAligned(out, cells[1], kSpecialRowWidth);
        out += kLineEnd;
        return;
    }
    for (std::size_t k = 1; k <= format.columns; ++k) {
        const std::string_view text = cells[k];
        // The middle columns vanish when empty; the first and last keep their blanks.
        if ((k == 2 || k == 3) && text.empty())
            continue;
        const FieldWidth& width = format.widths[k - 1];
        const bool afterEmpty = cells[k - 1].empty();
        AppendRightAligned(out, text, afterEmpty ? width.afterEmpty : width.afterText);
    }
    out += kLineEnd;
}

} // namespace

std::string WriteTextReport(const ListingSummary& summary, std::string_view folderPath,
                            const ListingOptions& options, const ListingTable& table,
                            std::time_t createdOn) {
    StringSink sink;
    WriteTextReport(sink, summary, folderPath, options, table, createdOn);
    return sink.Take();
}

void WriteTextReport(ByteSink& sink, const ListingSummary& summary, std::string_view folderPath,
                     const ListingOptions& options, const ListingTable& table,
                     std::time_t createdOn) {
    BufferedWriter writer(sink);
    std::string out;
    out += "Dirscribe: Listing of   <";
    out += folderPath;
    out += "> \r\nCreated on: ";
    out += FormatCreatedOn(createdOn);
    out += kLineEnd;

    out += "Directory(Folder)  summary:  Size(bytes): ";
    out += FormatSize(summary.totalBytes, kSummarySizeWidth, options.addSizeInBytes != 0);
    out += kLineEnd;
    out += "SubFolders Total:....";
    AppendCount(out, summary.folderCount);
    out += "Files Total:.........";
    AppendCount(out, summary.fileCount);
    out += "Attributes: A - archive, H - hidden, S - system, R - read only\r\n";
    AppendBanner(out, options.filesAndFolders);

    const int mask = ColumnMask(options);
    const HeaderBlock& header = kHeaders[static_cast<std::size_t>(mask)];
    out += header.ruleAbove;
    out += header.line;
    out += header.ruleBelow;

    writer << out;
    const RowFormat& format = kRowFormats[static_cast<std::size_t>(mask)];
    const bool commentsShown = options.addComments != 0;
    std::string scratch;
    for (int row = 0; row < table.RowCount(); ++row) {
        out.clear();
        AppendRecord(out, table.RowTexts(row, scratch), table.Kind(row), format, commentsShown);
        writer << out;
    }
    writer.Flush();
}

} // namespace dirscribe
