// SPDX-License-Identifier: MIT
#include "core/export/CsvExport.h"

#include "core/export/ExportSource.h"

namespace dirscribe {

namespace {

void WriteField(BufferedWriter& out, std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        out << text;
        return;
    }
    out << '"';
    for (std::size_t quote; (quote = text.find('"')) != std::string_view::npos;) {
        out << text.substr(0, quote + 1) << '"';
        text.remove_prefix(quote + 1);
    }
    out << text << '"';
}

} // namespace

void WriteCsv(const ListingTable& table, ByteSink& sink) {
    BufferedWriter out(sink);
    const int columns = table.ColumnCount();
    for (int c = 0; c < columns; ++c) {
        if (c > 0)
            out << ',';
        WriteField(out, table.GetColumnTitle(c));
    }
    out << "\r\n";
    for (int row = 0; row < table.RowCount(); ++row) {
        for (int c = 0; c < columns; ++c) {
            if (c > 0)
                out << ',';
            WriteField(out, ExportedCell(table, row, c));
        }
        out << "\r\n";
    }
    out.Flush();
}

} // namespace dirscribe
