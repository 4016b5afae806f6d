// SPDX-License-Identifier: MIT
// The document file (.dsc): a saved listing that can be opened again.
#include "core/docfile/DocumentFile.h"

#include "core/Error.h"
#include "core/docfile/ArchiveReader.h"
#include "core/docfile/ArchiveWriter.h"
#include "core/format/Utf8.h"
#include "core/platform/FileReader.h"
#include "core/table/RowName.h"

#include <algorithm>

namespace dirscribe {

namespace {

// The smallest row: five empty strings of one length byte each.
constexpr std::size_t kMinRowBytes = 5;

// A document file checked whole: everything but the rows, and where the rows are.
struct CheckedFile {
    DocumentContents contents; // rows not filled in yet
    std::size_t rowsOffset = 0;
    std::int32_t rowCount = 0;
    bool utf8 = true;
};

// The five strings of the next row; false when the bytes end inside it.
bool ReadRow(ArchiveReader& reader, CellTexts& cells) {
    for (std::string_view& cell : cells)
        if (!reader.TryReadString(cell))
            return false;
    return true;
}

// Checks every field and string of the file without holding a copy of any row, or throws
// Error with the reason alone (no file name, no sentence around it), so each caller can say
// which file it was.
CheckedFile Check(std::string_view bytes) {
    if (bytes.empty())
        throw Error("the file is empty");
    ArchiveReader reader(bytes);
    CheckedFile file;
    DocumentContents& contents = file.contents;
    contents.summary.totalBytes = reader.ReadUInt64("the total size");
    contents.summary.fileCount = reader.ReadInt32("the file count");
    contents.summary.folderCount = reader.ReadInt32("the folder count");
    const std::string_view path = reader.ReadString("the folder path");
    file.utf8 = IsValidUtf8(path);

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
    file.rowsOffset = reader.Offset();
    file.rowCount = rowCount;

    for (std::int32_t r = 0; r < rowCount; ++r) {
        CellTexts cells;
        if (!ReadRow(reader, cells))
            throw Error("the file ends inside row " + std::to_string(r + 1) + " of " +
                        std::to_string(rowCount));
        file.utf8 = file.utf8 && std::all_of(cells.begin(), cells.end(), IsValidUtf8);
    }
    if (!reader.AtEnd())
        throw Error(std::to_string(reader.Remaining()) +
                    (reader.Remaining() == 1 ? " byte follows" : " bytes follow") +
                    " the last row");

    // One encoding for the whole file: a single string that is not UTF-8 means the file
    // came from a Windows code page, where every byte is a character of its own.
    contents.folderPath = file.utf8 ? std::string(path) : Windows1252ToUtf8(path);
    return file;
}

// The rows of a file written on a Windows code page, every string read as Windows-1252,
// in a store sized for them beforehand.
RowStore ConvertedRows(std::string_view bytes, const CheckedFile& file) {
    const std::string_view rowBytes = bytes.substr(file.rowsOffset);
    std::size_t textBytes = 0;
    ArchiveReader sizes(rowBytes);
    for (CellTexts cells; ReadRow(sizes, cells);)
        for (const std::string_view cell : cells)
            textBytes += RowStore::EncodedSize(Windows1252ToUtf8Size(cell));

    RowStore rows;
    rows.Reserve(file.rowCount, textBytes);
    ArchiveReader reader(rowBytes);
    for (CellTexts cells; ReadRow(reader, cells);) {
        const RowRecord row = {Windows1252ToUtf8(cells[0]), Windows1252ToUtf8(cells[1]),
                               Windows1252ToUtf8(cells[2]), Windows1252ToUtf8(cells[3]),
                               Windows1252ToUtf8(cells[4])};
        rows.Append({row[0], row[1], row[2], row[3], row[4]}, RowKind::Entry);
    }
    return rows;
}

// The kinds of the rows of a document that does not record them, and the gone marks,
// read from their FileName texts as such documents were written.
void InferKinds(RowStore& rows) {
    for (int r = 0; r < rows.Size(); ++r) {
        const std::string_view name = rows.Cell(r, 0);
        const RowKind kind = InferredRowKind(name);
        rows.SetKind(r, kind);
        rows.SetGone(r, kind == RowKind::Entry && name.ends_with(kGoneMark));
    }
}

// The contents of a checked file. The rows stay in the file's own bytes where they are
// UTF-8: taken over when the caller gives them up (owned holds bytes), copied otherwise.
DocumentContents ContentsOf(std::string_view bytes, RowStore::Text* owned) {
    CheckedFile file = Check(bytes);
    RowStore& rows = file.contents.rows;
    if (!file.utf8)
        rows = ConvertedRows(bytes, file);
    else if (owned != nullptr)
        rows.AdoptEncoded(std::move(*owned), file.rowsOffset, file.rowCount);
    else
        rows.AdoptEncoded(
            RowStore::Text(bytes.begin() + static_cast<std::ptrdiff_t>(file.rowsOffset),
                           bytes.end()),
            0, file.rowCount);
    InferKinds(rows);
    return std::move(file.contents);
}

// A saved text report is the likeliest wrong file; say so instead of naming a field.
bool IsTextReport(std::string_view bytes) {
    return bytes.starts_with("Dirscribe: Listing of");
}

// work(), with every failure turned into Error(lead + reason + "."); bytes are the file's,
// or its first ones.
template <typename Work>
auto Refusing(std::string_view bytes, const std::string& lead, const Work& work) {
    try {
        return work();
    } catch (const Error& error) {
        if (IsTextReport(bytes))
            throw Error(lead + "it is a text report, which can be saved but not opened.");
        throw Error(lead + error.what() + ".");
    }
}

// The first bytes of a file longer than they are: its settings and row count checked as
// Check checks them, against the size of the whole file, so a large file that is no
// document is refused before it is read whole. A folder path that does not end within the
// head leaves the decision to Check.
void CheckHead(std::string_view head, std::uint64_t fileSize) {
    ArchiveReader reader(head);
    reader.ReadUInt64("the total size");
    reader.ReadInt32("the file count");
    reader.ReadInt32("the folder count");
    std::string_view path;
    constexpr std::size_t kSettingsAndRowCount = 8 * sizeof(std::int32_t);
    if (!reader.TryReadString(path) || reader.Remaining() < kSettingsAndRowCount)
        return;
    DocumentSettings settings;
    for (std::int32_t* setting :
         {&settings.printAs, &settings.printTitle, &settings.summary, &settings.addComments,
          &settings.addSize, &settings.addAttribute, &settings.addDate})
        *setting = reader.ReadInt32("a setting");
    if (const std::string problem = settings.OutOfRange(); !problem.empty())
        throw Error(problem);
    const std::int32_t rowCount = reader.ReadInt32("the row count");
    const std::uint64_t maxRows = (fileSize - reader.Offset()) / kMinRowBytes;
    if (rowCount < 0)
        throw Error("the row count is " + std::to_string(rowCount));
    if (static_cast<std::uint64_t>(rowCount) > maxRows)
        throw Error("it announces " + std::to_string(rowCount) +
                    (rowCount == 1 ? " row" : " rows") +
                    ", but the rest of the file can hold at most " + std::to_string(maxRows));
}

} // namespace

std::string WriteDocumentFile(const ListingSummary& summary, std::string_view folderPath,
                              const ListingOptions& options, const ListingTable& table) {
    StringSink sink;
    WriteDocumentFile(sink, summary, folderPath, options, table);
    return sink.Take();
}

void WriteDocumentFile(ByteSink& sink, const ListingSummary& summary, std::string_view folderPath,
                       const ListingOptions& options, const ListingTable& table) {
    const DocumentSettings settings = DocumentSettings::From(options);
    if (const std::string problem = settings.OutOfRange(); !problem.empty())
        throw Error("The document cannot be saved: " + problem + ".");

    constexpr std::size_t kBlock = std::size_t{1} << 16;
    const int rowCount = table.RowCount();
    ArchiveWriter writer;
    writer.Reserve(kBlock + 4096);
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
    // Cells of columns the table does not have read as empty: the five strings stay positional.
    std::string scratch;
    for (int r = 0; r < rowCount; ++r) {
        for (const std::string_view cell : table.RowTexts(r, scratch))
            writer.WriteString(cell);
        if (writer.Bytes().size() >= kBlock)
            writer.FlushTo(sink);
    }
    writer.FlushTo(sink);
}

DocumentContents ReadDocumentFile(std::string_view bytes) {
    return Refusing(
        bytes, "This is not a Dirscribe document: ", [&] { return ContentsOf(bytes, nullptr); });
}

DocumentContents LoadDocumentFile(const std::string& path) {
    const std::string lead = "\"" + path + "\" is not a Dirscribe document: ";
    RowStore::Text bytes =
        ReadWholeFile(path, kMaxDocumentBytes, [&](std::string_view head, std::uint64_t size) {
            Refusing(head, lead, [&] { CheckHead(head, size); });
        });
    const std::string_view view(bytes.data(), bytes.size());
    return Refusing(view, lead, [&] { return ContentsOf(view, &bytes); });
}

} // namespace dirscribe
