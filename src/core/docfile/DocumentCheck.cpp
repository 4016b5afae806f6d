// SPDX-License-Identifier: MIT
#include "core/docfile/DocumentCheck.h"

#include "core/Error.h"
#include "core/docfile/DocumentBlock.h"
#include "core/format/Utf8.h"
#include "core/table/NameCell.h"

#include <algorithm>

namespace dirscribe {

namespace {

std::string Count(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + (count == 1 ? one : many);
}

void CheckHead(ArchiveReader& reader, CheckedDocument& file, std::string& rawPath) {
    file.summary.totalBytes = reader.ReadUInt64("the total size");
    file.summary.fileCount = reader.ReadInt32("the file count");
    file.summary.folderCount = reader.ReadInt32("the folder count");
    rawPath = reader.ReadString("the folder path", kMaxFolderPathBytes);
    file.utf8 = IsValidUtf8(rawPath);

    DocumentSettings& settings = file.settings;
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
        throw Error("it announces " + Count(static_cast<std::size_t>(rowCount), " row", " rows") +
                    ", but the rest of the file can hold at most " + std::to_string(maxRows));
    file.rowsOffset = reader.Offset();
    file.rowCount = rowCount;
}

// Each string is checked as it is read: a view lasts only until the next read.
void CheckRows(ArchiveReader& reader, CheckedDocument& file, ShapeReading& shape) {
    for (std::int32_t r = 0; r < file.rowCount; ++r) {
        for (int c = 0; c < 5; ++c) {
            std::string_view cell;
            if (!reader.TryReadString(cell))
                throw Error("the file ends inside row " + std::to_string(r + 1) + " of " +
                            std::to_string(file.rowCount));
            file.utf8 = file.utf8 && IsValidUtf8(cell);
            if (c == 0)
                shape.Add(cell);
        }
    }
}

void CheckBlock(ArchiveReader& reader, CheckedDocument& file) {
    file.blockOffset = reader.Offset();
    BlockReader block(reader);
    file.shape = block.ReadHead(file.rowCount);
    file.volume = block.Volume();
    BlockRow row;
    for (std::int32_t r = 0; r < file.rowCount; ++r)
        block.ReadRow(r, row);
    if (!reader.AtEnd())
        throw Error(Count(reader.Remaining(), " byte follows", " bytes follow") +
                    " the extension block");
}

} // namespace

CheckedDocument CheckDocument(ArchiveReader& reader) {
    if (reader.AtEnd())
        throw Error("the file is empty");
    CheckedDocument file;
    std::string rawPath;
    CheckHead(reader, file, rawPath);
    ShapeReading shape;
    CheckRows(reader, file, shape);
    if (reader.AtEnd())
        file.shape = shape.Shape();
    else if (StartsBlock(reader))
        CheckBlock(reader, file);
    else
        throw Error(Count(reader.Remaining(), " byte follows", " bytes follow") + " the last row");
    // One encoding for the whole file: a single string that is not UTF-8 means the file
    // came from a Windows code page, where every byte is a character of its own. The raw
    // names of the block are bytes of the disk and stay as they are.
    file.folderPath = file.utf8 ? std::move(rawPath) : Windows1252ToUtf8(rawPath);
    return file;
}

bool IsTextReport(ArchiveReader& reader) {
    return reader.LookingAt("Dirscribe: Listing of");
}

std::string RefusalMessage(const std::string& lead, std::string_view reason, ArchiveReader& start) {
    if (IsTextReport(start))
        return lead + "it is a text report, which can be saved but not opened.";
    return lead + std::string(reason) + ".";
}

RowKind InferredKind(std::string_view fileNameCell, bool& gone) {
    const RowKind kind = InferredRowKind(fileNameCell);
    gone = kind == RowKind::Entry && fileNameCell.ends_with(kGoneMark);
    return kind;
}

void ShapeReading::Add(std::string_view fileNameCell) {
    bool gone = false;
    if (InferredKind(fileNameCell, gone) != RowKind::Entry)
        return;
    const RowName tree = ReadRowName(fileNameCell, gone);
    const RowName flat = ReadRowNameIn(fileNameCell, gone, false);
    m_any = true;
    m_allTree = m_allTree && tree.level > 0;
    m_deepest = std::max(m_deepest, tree.level);
    (tree.folder ? m_treeFolders : m_treeFiles) = true;
    (flat.folder ? m_bracketed : m_plain) = true;
}

ListingShape ShapeReading::Shape() const {
    ListingShape shape;
    if (!m_any)
        return shape;
    if (m_allTree) {
        shape.depth = m_deepest;
        shape.content = m_treeFolders && m_treeFiles ? ListingContent::FilesAndFolders
                        : m_treeFolders              ? ListingContent::FoldersOnly
                                                     : ListingContent::FilesOnly;
    } else {
        shape.content = m_bracketed ? ListingContent::FilesAndFolders : ListingContent::FilesOnly;
    }
    return shape;
}

} // namespace dirscribe
