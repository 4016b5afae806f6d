// SPDX-License-Identifier: MIT
// The document file (.dsc): a saved listing that can be opened again.
#include "core/docfile/DocumentFile.h"

#include "core/Error.h"
#include "core/docfile/ArchiveReader.h"
#include "core/docfile/ArchiveWriter.h"
#include "core/format/Utf8.h"
#include "core/platform/FileReader.h"

#include <new>

namespace dirscribe {

namespace {

// The smallest row: five empty strings of one length byte each.
constexpr std::size_t kMinRowBytes = 5;

// What a string takes in the file: its length in one of three forms, then its bytes.
std::size_t StoredSize(std::size_t length) {
    const std::size_t prefix = length < 0xFF ? 1 : length < 0xFFFE ? 3 : 7;
    return prefix + length;
}

// The file's fields and strings, or Error with the reason alone (no file name, no
// sentence around it), so each caller can say which file it was.
DocumentContents Parse(std::string_view bytes) {
    if (bytes.empty())
        throw Error("the file is empty");
    ArchiveReader reader(bytes);
    DocumentContents contents;
    contents.summary.totalBytes = reader.ReadUInt64("the total size");
    contents.summary.fileCount = reader.ReadInt32("the file count");
    contents.summary.folderCount = reader.ReadInt32("the folder count");
    const std::string_view path = reader.ReadString("the folder path");
    bool utf8 = IsValidUtf8(path);
    contents.folderPath.assign(path);

    DocumentSettings& settings = contents.settings;
    settings.printAs = reader.ReadInt32("the setting \"Print as \"");
    settings.printTitle = reader.ReadInt32("the setting \"Print Title\"");
    settings.summary = reader.ReadInt32("the setting \"Summary\"");
    settings.addComments = reader.ReadInt32("the setting \"Add Comments\"");
    settings.addSize = reader.ReadInt32("the setting \"Add Size\"");
    settings.addAttribute = reader.ReadInt32("the setting \"Add Attribute\"");
    settings.addDate = reader.ReadInt32("the setting \"Add Date\"");
    if (const std::string problem = settings.OutOfRange(); !problem.empty())
        throw Error(problem);

    const std::int32_t rowCount = reader.ReadInt32("the row count");
    if (rowCount < 0)
        throw Error("the row count is " + std::to_string(rowCount));
    // Checked against the bytes really there before anything is reserved for the rows.
    const std::size_t maxRows = reader.Remaining() / kMinRowBytes;
    if (static_cast<std::size_t>(rowCount) > maxRows)
        throw Error("it announces " + std::to_string(rowCount) +
                    (rowCount == 1 ? " row" : " rows") +
                    ", but the rest of the file can hold at most " + std::to_string(maxRows));

    // The strings of all rows fit in what is left of the file.
    contents.rows.Reserve(rowCount, reader.Remaining());
    for (std::int32_t r = 0; r < rowCount; ++r) {
        CellTexts cells;
        for (std::string_view& cell : cells) {
            if (!reader.TryReadString(cell))
                throw Error("the file ends inside row " + std::to_string(r + 1) + " of " +
                            std::to_string(rowCount));
            utf8 = utf8 && IsValidUtf8(cell);
        }
        contents.rows.Append(cells);
    }
    if (!reader.AtEnd())
        throw Error(std::to_string(reader.Remaining()) +
                    (reader.Remaining() == 1 ? " byte follows" : " bytes follow") +
                    " the last row");

    // One encoding for the whole file: a single string that is not UTF-8 means the file
    // came from a Windows code page, where every byte is a character of its own.
    if (!utf8) {
        contents.folderPath = Windows1252ToUtf8(contents.folderPath);
        RowStore converted;
        converted.Reserve(contents.rows.Size(), 0);
        for (int r = 0; r < contents.rows.Size(); ++r) {
            RowRecord row = contents.rows.Record(r);
            for (std::string& cell : row)
                cell = Windows1252ToUtf8(cell);
            converted.Append({row[0], row[1], row[2], row[3], row[4]});
        }
        contents.rows = std::move(converted);
    }
    return contents;
}

// A saved text report is the likeliest wrong file; say so instead of naming a field.
bool IsTextReport(std::string_view bytes) {
    return bytes.starts_with("Dirscribe: Listing of");
}

// Parse, with every failure turned into Error(lead + reason + ".").
DocumentContents ParseOrRefuse(std::string_view bytes, const std::string& lead) {
    try {
        return Parse(bytes);
    } catch (const Error& error) {
        if (IsTextReport(bytes))
            throw Error(lead + "it is a text report, which can be saved but not opened.");
        throw Error(lead + error.what() + ".");
    } catch (const std::bad_alloc&) {
        throw Error(lead + "there is not enough memory to hold its rows.");
    }
}

} // namespace

std::string WriteDocumentFile(const ListingSummary& summary, std::string_view folderPath,
                              const ListingOptions& options, const ListingTable& table) {
    const DocumentSettings settings = DocumentSettings::From(options);
    if (const std::string problem = settings.OutOfRange(); !problem.empty())
        throw Error("The document cannot be saved: " + problem + ".");

    const int rowCount = table.RowCount();
    std::size_t size = 8 + 4 + 4 + StoredSize(folderPath.size()) + 7 * 4 + 4;
    for (int r = 0; r < rowCount; ++r)
        for (int c = 0; c < kMaxColumns; ++c)
            size += StoredSize(table.Cell(r, c).size());

    ArchiveWriter writer;
    writer.Reserve(size);
    writer.WriteUInt64(summary.totalBytes);
    writer.WriteInt32(summary.fileCount);
    writer.WriteInt32(summary.folderCount);
    writer.WriteString(folderPath);
    writer.WriteInt32(settings.printAs);
    writer.WriteInt32(settings.printTitle);
    writer.WriteInt32(settings.summary);
    writer.WriteInt32(settings.addComments);
    writer.WriteInt32(settings.addSize);
    writer.WriteInt32(settings.addAttribute);
    writer.WriteInt32(settings.addDate);
    writer.WriteInt32(rowCount);
    // Cell() reads columns the table does not have as empty: the five strings stay positional.
    for (int r = 0; r < rowCount; ++r)
        for (int c = 0; c < kMaxColumns; ++c)
            writer.WriteString(table.Cell(r, c));
    return writer.TakeBytes();
}

DocumentContents ReadDocumentFile(std::string_view bytes) {
    return ParseOrRefuse(bytes, "This is not a Dirscribe document: ");
}

DocumentContents LoadDocumentFile(const std::string& path) {
    const auto bytes = ReadWholeFile(path, kMaxDocumentBytes);
    return ParseOrRefuse({bytes.data(), bytes.size()},
                         "\"" + path + "\" is not a Dirscribe document: ");
}

} // namespace dirscribe
