// SPDX-License-Identifier: MIT
#include "core/export/HtmlExport.h"

#include "core/export/PageResources.h"
#include "core/format/DateFormat.h"
#include "core/format/SizeFormat.h"
#include "core/format/Utf8.h"
#include "core/platform/FileTime.h"
#include "core/table/NameCell.h"
#include "core/table/NumericKeyReader.h"
#include "core/table/SortKeys.h"
#include "core/table/TableColumn.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace dirscribe {

namespace {

// Rows per chunk of data blocks; the page's script reads chunks of this size (CHUNK_BITS).
constexpr int kChunkRows = 1 << 15;
// Rows written before the script: more than a screen holds.
constexpr int kOpeningRows = 256;

void WriteEscaped(BufferedWriter& out, std::string_view text) {
    std::size_t from = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::string_view entity;
        switch (text[i]) {
        case '&':
            entity = "&amp;";
            break;
        case '<':
            entity = "&lt;";
            break;
        case '>':
            entity = "&gt;";
            break;
        case '"':
            entity = "&quot;";
            break;
        default:
            continue;
        }
        out << text.substr(from, i - from) << entity;
        from = i + 1;
    }
    out << text.substr(from);
}

// A text as one line of a data block, read by the script as data and never as markup: "<"
// becomes "\f", so nothing in the block can end its element or open a comment, and the
// characters the block uses itself or that HTML does not keep (NUL, tab, the line ends,
// form feed, and "\x01", which marks them) become "\x01" and the character 64 above them;
// every other control character stands as it is, so the page's filter sees what search sees.
void WriteDataTextOf(BufferedWriter& out, std::string_view text) {
    std::size_t from = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const bool marked = c == 0 || c == 1 || c == '\t' || c == '\n' || c == '\f' || c == '\r';
        if (!marked && c != '<')
            continue;
        out << text.substr(from, i - from);
        if (marked)
            out << '\x01' << static_cast<char>(c + 64);
        else
            out << '\f';
        from = i + 1;
    }
    out << text.substr(from);
}

// Writes a text as UTF-8 through one of the escapes above; a name the disk gave in another
// encoding is made lenient first.
template <void (*Escape)(BufferedWriter&, std::string_view)>
void WriteUtf8(BufferedWriter& out, std::string_view text) {
    if (IsValidUtf8(text))
        Escape(out, text);
    else
        Escape(out, LenientUtf8(text));
}

void WriteText(BufferedWriter& out, std::string_view text) {
    WriteUtf8<WriteEscaped>(out, text);
}

void WriteDataText(BufferedWriter& out, std::string_view text) {
    WriteUtf8<WriteDataTextOf>(out, text);
}

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

double KeyValue(const NumericKey& key) {
    return static_cast<double>(key.high) * 1e18 + static_cast<double>(key.low);
}

std::string NumberText(double value) {
    std::array<char, 32> text{};
    const int length = std::snprintf(text.data(), text.size(), "%.15g", value);
    return std::string(text.data(), static_cast<std::size_t>(length));
}

// The class a column's head and cells carry: page.css gives it its width, alignment and
// font, and the script reads what it holds from it.
std::string_view PageClassOf(ColumnKind kind) {
    switch (kind) {
    case ColumnKind::FileName:
        return "name";
    case ColumnKind::Comments:
        return "comment";
    case ColumnKind::Size:
        return "size";
    case ColumnKind::Attributes:
        return "attr";
    case ColumnKind::Date:
        return "date";
    case ColumnKind::Detail:
        break;
    }
    return "text";
}

// What the page needs to know of a row besides its cells.
struct PageRow {
    RowKind kind = RowKind::Free;
    bool gone = false;
    bool folder = false;
    int level = 0;      // as its entry or its name cell says
    int shownLevel = 0; // in the page's tree
    std::optional<std::uint64_t> bytes;
    std::optional<std::uint64_t> modified;
};

// The letter the script knows a row's kind by.
char KindLetter(const PageRow& row) {
    switch (row.kind) {
    case RowKind::Entry:
        return row.folder ? (row.gone ? 'D' : 'd') : (row.gone ? 'F' : 'f');
    case RowKind::Continuation:
        return 'c';
    case RowKind::Details:
        return 'x';
    case RowKind::Free:
        break;
    }
    return 'n';
}

// The page: its head, title block and tools, then the rows as chunks of data blocks (one
// per column and per kind of sort key), with the script after the first screenful of rows
// so that they are drawn while the rest arrive. Only one chunk of rows is held at a time.
class HtmlPage {
public:
    HtmlPage(const ExportSource& source, ByteSink& sink) : m_source(source), m_out(sink) {
        const ListingTable& table = source.table;
        for (int c = 0; c < table.ColumnCount(); ++c) {
            m_classes.push_back(c == 0 ? "name" : PageClassOf(table.KindOfColumn(c)));
            if (m_classes.back() == "comment")
                m_commentColumn = c;
            if (m_classes.back() == "size")
                m_sizeColumn = c;
            if (m_classes.back() == "date")
                m_dateColumn = c;
        }
        if (m_sizeColumn >= 0)
            m_sizeKeys = std::make_unique<NumericKeyReader>(ColumnKind::Size, source.dateFormat);
        if (m_dateColumn >= 0)
            m_dateKeys = std::make_unique<NumericKeyReader>(ColumnKind::Date, source.dateFormat);
    }

    void Write() {
        WriteHead();
        WriteHeader();
        WriteListing();
        // The first screenful's rows come before the script, which draws them at once; the
        // rest of their chunk follows it.
        const int rows = m_source.table.RowCount();
        const int opening = std::min(kOpeningRows, rows);
        WriteRows(0, opening);
        WriteScript();
        for (int first = opening; first < rows;) {
            const int end = std::min(rows, (first / kChunkRows + 1) * kChunkRows);
            WriteRows(first, end - first);
            first = end;
        }
        m_out << "</body>\n</html>\n";
        m_out.Flush();
    }

private:
    void WriteHead() {
        m_out << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                 "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                 "<meta name=\"generator\" content=\"Dirscribe\">\n<title>Listing of ";
        WriteText(m_out, m_source.folder);
        m_out << "</title>\n<style>\n" << PageStyle() << "</style>\n</head>\n<body>\n";
    }

    void WriteHeader() {
        const ListingSummary& summary = m_source.summary;
        std::string size = FormatSize(summary.totalBytes, kSummarySizeWidth, m_source.sizeInBytes);
        size.erase(0, size.find_first_not_of(' '));
        m_out << "<header>\n<p class=\"kicker\">Dirscribe listing</p>\n<h1>";
        WriteText(m_out, m_source.folder);
        m_out << "</h1>\n<p class=\"created\">Created on " << FormatCreatedOn(m_source.createdOn)
              << "</p>\n<ul class=\"summary\"><li><b>";
        WriteText(m_out, size);
        m_out << "</b>in total</li><li><b>" << std::to_string(summary.folderCount)
              << "</b>subfolders</li><li><b>" << std::to_string(summary.fileCount)
              << "</b>files</li></ul>\n</header>\n";
    }

    void WriteListing() {
        const ListingTable& table = m_source.table;
        int entries = 0;
        for (int row = 0; row < table.RowCount(); ++row)
            entries += table.Kind(row) == RowKind::Entry ? 1 : 0;
        m_out << "<main>\n<div class=\"tools\"><input id=\"filter\" type=\"search\" "
                 "placeholder=\"Filter by name or comment\" aria-label=\"Filter rows\" "
                 "autocomplete=\"off\" autofocus><select id=\"levels\" aria-label=\"Levels shown\" "
                 "hidden><option value=\"0\">Show all levels</option></select><span id=\"shown\">"
              << std::to_string(entries) << (entries == 1 ? " entry" : " entries")
              << "</span><span id=\"path\"></span></div>\n"
                 "<div id=\"listing\" class=\"listing\" data-rows=\""
              << std::to_string(table.RowCount()) << "\">\n<div class=\"head\">";
        for (int c = 0; c < table.ColumnCount(); ++c) {
            m_out << "<span class=\"" << m_classes[static_cast<std::size_t>(c)]
                  << "\" aria-sort=\"none\"><button type=\"button\">";
            WriteText(m_out, table.GetColumnTitle(c));
            m_out << "</button></span>";
        }
        m_out << "</div>\n<div id=\"rows\" class=\"rows\"><div class=\"window\"></div></div>\n"
                 "</div>\n</main>\n";
    }

    void WriteScript() { m_out << "<script>\n" << PageScript() << "</script>\n"; }

    void BeginBlock(int chunk, std::string_view block) {
        m_out << "<script type=\"text/plain\" data-chunk=\"" << std::to_string(chunk)
              << "\" data-block=\"" << block << "\">";
    }

    // Rows [first, first + count) of one chunk: the script adds them to what it has of it.
    void WriteRows(int first, int count) {
        if (count == 0)
            return;
        const int chunk = first / kChunkRows;
        ReadRows(first, count);
        BeginBlock(chunk, "meta");
        for (const PageRow& row : m_rows) {
            m_out << KindLetter(row);
            if (row.kind == RowKind::Entry)
                m_out << std::to_string(row.shownLevel);
            m_out << '\n';
        }
        m_out << "</script>\n";
        for (int c = 0; c < m_source.table.ColumnCount(); ++c) {
            BeginBlock(chunk, std::to_string(c));
            if (c == 0)
                WriteNames(first);
            else if (c == m_commentColumn)
                WriteComments(first);
            else
                WriteColumn(first, c);
            m_out << "</script>\n";
        }
        if (m_sizeColumn >= 0) {
            BeginBlock(chunk, "s");
            WriteKeys(first, [this](int row, const PageRow& facts) { return SizeKey(row, facts); });
            m_out << "</script>\n";
        }
        if (m_dateColumn >= 0) {
            BeginBlock(chunk, "t");
            WriteKeys(first, [this](int row, const PageRow& facts) { return DateKey(row, facts); });
            m_out << "</script>\n";
        }
    }

    // The kind, level and exact facts of the chunk's rows: from the row's entry where it
    // has one, otherwise (rows of a document that keeps no entries) from its name cell.
    void ReadRows(int first, int count) {
        const ListingTable& table = m_source.table;
        m_rows.assign(static_cast<std::size_t>(count), PageRow{});
        for (int i = 0; i < count; ++i) {
            PageRow& row = m_rows[static_cast<std::size_t>(i)];
            const int index = first + i;
            row.kind = table.Kind(index);
            if (row.kind != RowKind::Entry)
                continue;
            row.gone = table.Gone(index);
            std::optional<RowEntryFacts> facts;
            if (m_source.entries != nullptr)
                facts = m_source.entries->EntryOf(index);
            if (facts) {
                row.level = facts->level;
                row.folder = facts->folder;
                row.bytes = facts->bytes;
                row.modified = facts->modified;
            } else {
                const RowName name = ReadRowName(table.CellText(index, 0, m_scratch), row.gone);
                row.level = name.level;
                row.folder = name.folder;
            }
            // The page's tree puts a row at most one level below the deepest folder open
            // above it, whatever level a document gives it.
            row.shownLevel = std::min(row.level, m_openLevels + 1);
            if (row.folder && row.shownLevel > 0)
                m_openLevels = row.shownLevel;
        }
    }

    // Bare names: an entry's without its decoration, a details row's label without its
    // stars; a comment row shows none, as the page shows what it is by its style.
    void WriteNames(int first) {
        for (std::size_t i = 0; i < m_rows.size(); ++i) {
            const PageRow& row = m_rows[i];
            const std::string_view cell =
                m_source.table.CellText(first + static_cast<int>(i), 0, m_scratch);
            if (row.kind == RowKind::Entry)
                WriteDataText(m_out, ReadEntryRowName(cell, row.level, row.folder, row.gone).name);
            else if (row.kind == RowKind::Details)
                WriteDataText(m_out,
                              cell.substr(std::min(cell.find_first_not_of(" *"), cell.size())));
            else if (row.kind == RowKind::Free)
                WriteDataText(m_out, cell);
            m_out << '\n';
        }
    }

    // A comment's rows as typed (the blank that ends a row is part of it) joined by "\t",
    // which the filter reads as no separator, so it finds words across them; a chunk's last
    // row is followed by the continuation rows that open the next chunk.
    void WriteComments(int first) {
        const ListingTable& table = m_source.table;
        const int end = first + static_cast<int>(m_rows.size());
        for (int row = first; row < end; ++row) {
            WriteDataText(m_out, table.CellText(row, m_commentColumn, m_scratch));
            m_out << (table.Kind(row + 1) == RowKind::Continuation ? '\t' : '\n');
        }
        for (int row = end; end % kChunkRows == 0 && table.Kind(row) == RowKind::Continuation;
             ++row) {
            WriteDataText(m_out, table.CellText(row, m_commentColumn, m_scratch));
            m_out << (table.Kind(row + 1) == RowKind::Continuation ? '\t' : '\n');
        }
    }

    // A text that repeats the last non-empty one above it in the chunk is written "\t".
    void WriteColumn(int first, int column) {
        std::string last;
        for (std::size_t i = 0; i < m_rows.size(); ++i) {
            const std::string_view text =
                Trimmed(m_source.table.CellText(first + static_cast<int>(i), column, m_scratch));
            if (!text.empty() && text == last) {
                m_out << "\t\n";
                continue;
            }
            WriteDataText(m_out, text);
            m_out << '\n';
            if (!text.empty())
                last.assign(text);
        }
    }

    template <typename KeyOf> void WriteKeys(int first, const KeyOf& keyOf) {
        std::string last;
        for (std::size_t i = 0; i < m_rows.size(); ++i) {
            if (m_rows[i].kind == RowKind::Entry) {
                std::string key = keyOf(first + static_cast<int>(i), m_rows[i]);
                m_out << (key == last ? std::string_view("\t") : std::string_view(key));
                last = std::move(key);
            }
            m_out << '\n';
        }
    }

    // The exact byte count where the row's entry is known (also when the cell is empty, as
    // "--bytes" leaves sizes too long for it), else what its text says.
    std::string SizeKey(int row, const PageRow& facts) {
        if (facts.bytes)
            return std::to_string(*facts.bytes);
        return NumberText(
            KeyValue(m_sizeKeys->Key(m_source.table.CellText(row, m_sizeColumn, m_scratch))));
    }

    // The table's date key (whole ten seconds), times ten plus the seconds where the exact
    // time is known.
    std::string DateKey(int row, const PageRow& facts) {
        if (!facts.modified)
            return NumberText(
                KeyValue(m_dateKeys->Key(m_source.table.CellText(row, m_dateColumn, m_scratch))) *
                10);
        const std::time_t moment = UnixFromFileTime(*facts.modified);
        if (m_lastMoment == moment)
            return m_lastMomentKey;
        std::tm local{};
        double key = 0;
        if (localtime_r(&moment, &local) != nullptr)
            key = KeyValue(dirscribe::DateKey(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                                              local.tm_hour, local.tm_min, local.tm_sec)) *
                      10 +
                  local.tm_sec % 10;
        m_lastMoment = moment;
        m_lastMomentKey = NumberText(key);
        return m_lastMomentKey;
    }

    const ExportSource& m_source;
    BufferedWriter m_out;
    std::vector<std::string_view> m_classes;
    int m_commentColumn = -1;
    int m_sizeColumn = -1;
    int m_dateColumn = -1;
    std::unique_ptr<NumericKeyReader> m_sizeKeys;
    std::unique_ptr<NumericKeyReader> m_dateKeys;
    std::vector<PageRow> m_rows; // the chunk being written
    int m_openLevels = 0;        // the shown level of the deepest folder open so far
    std::string m_scratch;
    std::optional<std::time_t> m_lastMoment; // and its key: neighbours often share it
    std::string m_lastMomentKey;
};

} // namespace

void WriteHtml(const ExportSource& source, ByteSink& sink) {
    HtmlPage(source, sink).Write();
}

} // namespace dirscribe
