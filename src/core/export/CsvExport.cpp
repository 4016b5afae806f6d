// SPDX-License-Identifier: MIT
#include "core/export/CsvExport.h"

#include "core/export/ExportSource.h"
#include "core/table/TableColumn.h"

#include <string>

namespace dirscribe {

namespace {

// What a spreadsheet reads as the start of a formula (a tab or a carriage return may stand
// before one).
bool StartsFormula(std::string_view text) {
    return !text.empty() &&
           std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos;
}

void WriteField(BufferedWriter& out, std::string_view text) {
    const std::string_view asText = StartsFormula(text) ? "'" : "";
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        out << asText << text;
        return;
    }
    out << '"' << asText;
    for (std::size_t quote; (quote = text.find('"')) != std::string_view::npos;) {
        out << text.substr(0, quote + 1) << '"';
        text.remove_prefix(quote + 1);
    }
    out << text << '"';
}

} // namespace

void WriteCsv(const ExportSource& source, ByteSink& sink) {
    const ListingTable& table = source.table;
    BufferedWriter out(sink);
    const int columns = table.ColumnCount();
    const int size = table.ColumnIndex(ColumnKind::Size);
    for (int c = 0; c < columns; ++c) {
        if (c > 0)
            out << ',';
        WriteField(out, table.GetColumnTitle(c));
        if (c == size)
            out << ',' << kCsvBytesTitle;
    }
    out << "\r\n";
    std::string scratch;
    for (int row = 0; row < table.RowCount(); ++row) {
        for (int c = 0; c < columns; ++c) {
            if (c > 0)
                out << ',';
            WriteField(out, ExportedCell(table, row, c, scratch));
            if (c != size)
                continue;
            out << ',';
            if (const auto entry = source.entries ? source.entries->EntryOf(row) : std::nullopt)
                out << std::to_string(entry->bytes);
        }
        out << "\r\n";
    }
    out.Flush();
}

} // namespace dirscribe
