// SPDX-License-Identifier: MIT
#include "core/ops/ListingExport.h"

#include "core/Error.h"
#include "core/export/CsvExport.h"
#include "core/export/HtmlExport.h"
#include "core/export/JsonExport.h"
#include "core/format/AsciiCase.h"

namespace dirscribe {

std::optional<ExportFormat> ExportFormatFor(std::string_view fileName) {
    const std::string name = AsciiLower(fileName.substr(fileName.find_last_of('/') + 1));
    if (name.ends_with(".csv"))
        return ExportFormat::Csv;
    if (name.ends_with(".json"))
        return ExportFormat::Json;
    if (name.ends_with(".html") || name.ends_with(".htm"))
        return ExportFormat::Html;
    return std::nullopt;
}

namespace {

// The entries the rows of a table were made from, as the read found them.
class TableRowEntries final : public RowEntries {
public:
    explicit TableRowEntries(const ListingTable& table) : m_table(table) {}

    [[nodiscard]] std::optional<RowEntryFacts> EntryOf(int row) const override {
        const EntryList* entries = m_table.Entries();
        const std::uint32_t index = m_table.EntryIndex(row);
        if (entries == nullptr || index == kNoEntry)
            return std::nullopt;
        const ListingEntry& entry = entries->At(index);
        return RowEntryFacts{entry.size, entry.modified, entries->DiskPath(index), entry.level,
                             entry.IsFolder()};
    }

private:
    const ListingTable& m_table;
};

} // namespace

void WriteExport(const ListingSession& session, ExportFormat format, std::time_t createdOn,
                 ByteSink& sink) {
    const ListingOptions& options = session.Options();
    const TableRowEntries entries(session.Listing().table);
    const ExportSource source{session.Listing().table,
                              session.Listing().folder,
                              session.Listing().doc.summary,
                              options.addSizeInBytes != 0,
                              options.dateFormat,
                              createdOn,
                              &entries,
                              &session.Listing().doc.volume};
    switch (format) {
    case ExportFormat::Csv:
        WriteCsv(source, sink);
        break;
    case ExportFormat::Json:
        WriteJson(source, sink);
        break;
    case ExportFormat::Html:
        WriteHtml(source, sink);
        break;
    }
}

bool ExportListing(const ListingSession& session, ExportFormat format, const std::string& fileName,
                   Notice& notice, std::time_t createdOn, SpecialFiles special) {
    try {
        WriteFileAtomically(
            fileName, [&](ByteSink& sink) { WriteExport(session, format, createdOn, sink); },
            special);
        return true;
    } catch (const Error& error) {
        notice.Show(kCaption, error.what());
        return false;
    }
}

} // namespace dirscribe
