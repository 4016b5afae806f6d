// SPDX-License-Identifier: MIT
#include "core/ops/ListingSession.h"

#include "core/Error.h"
#include "core/details/FileDataProgram.h"
#include "core/docfile/DocumentFile.h"
#include "core/format/Utf8.h"
#include "core/ops/ListingMerge.h"
#include "core/platform/UserLanguage.h"
#include "core/report/TextReport.h"
#include "core/table/CommentFlow.h"
#include "core/table/TableColumn.h"
#include "core/table/TablePopulation.h"
#include "core/table/TableSort.h"

#include <algorithm>
#include <new>
#include <utility>

namespace dirscribe {

void ListingSession::ShowRead(FolderScan read, Progress& progress) {
    const ShownListing& old = m_listing;
    const bool sameFolder = old.IsOfFolder(read.folder);
    ShownListing next;
    // What the user keeps about the volume stays with a read of the same folder.
    if (sameFolder) {
        read.doc.volume.note = old.doc.volume.note;
        if (read.doc.volume.facts.label.empty())
            read.doc.volume.facts.label = old.doc.volume.facts.label;
        next.version = old.version;
    }
    // A re-read of the folder on show replaces nothing typed: it carries it over.
    if (sameFolder && HoldsTyped(old.table)) {
        if (HoldsComments(old.table))
            m_options.addComments = 1;
        (void)PopulateCarrying(next.table, read.doc, read.folder, m_options, old.table,
                               old.doc.shape, progress);
        next.modified = old.modified;
    } else {
        std::optional<RowStore> noRows;
        PopulateTable(next.table, read.doc, read.folder, m_options, noRows, progress);
    }
    next.doc = std::move(read.doc);
    next.path = std::move(read.path);
    next.folder = std::move(read.folder);
    next.origin = ListingOrigin::Read;
    next.shown = true;
    m_listing = std::move(next);
}

bool ListingSession::ReadFolder(std::string path, Notice& notice, Progress& progress,
                                StopFlag& stop) {
    std::optional<FolderScan> read = ScanFolder(std::move(path), m_options, notice, progress, stop);
    if (!read)
        return false;
    try {
        ShowRead(std::move(*read), progress);
    } catch (const std::bad_alloc&) {
        notice.Show(kCaption, kNotEnoughMemory);
        return false;
    }
    return true;
}

bool ListingSession::OpenDocument(const std::string& fileName, Notice& notice, Progress& progress) {
    DocumentContents contents;
    ShownListing next;
    try {
        contents = LoadDocumentFile(fileName, &next.version);
    } catch (const Error& error) {
        notice.Show(kCaption, error.what());
        return false;
    } catch (const std::bad_alloc&) {
        notice.Show(kCaption, kNotEnoughMemory);
        return false;
    }
    ListingOptions options = m_options;
    contents.settings.ApplyTo(options);
    // Read again, the folder gives the listing the document holds.
    options.lastDepth = contents.shape.depth;
    options.filesAndFolders = contents.shape.content;
    next.doc.summary = contents.summary;
    next.doc.shape = contents.shape;
    next.doc.volume = std::move(contents.volume);
    next.path = next.folder = std::move(contents.folderPath);
    std::optional<RowStore> rows = std::move(contents.rows);
    PopulateTable(next.table, next.doc, next.folder, options, rows, progress);
    next.table.SetEntries(std::move(contents.entries), RowStyleFor(options, contents.shape));
    next.origin = ListingOrigin::Document;
    next.shown = true;
    m_options = std::move(options);
    m_listing = std::move(next);
    return true;
}

void ListingSession::NewDocument() {
    ShownListing next;
    next.table = std::move(m_listing.table);
    next.table.ClearRows();
    next.shown = m_listing.shown;
    m_listing = std::move(next);
}

void ListingSession::ShowUpdate(ShownListing listing) {
    m_listing = std::move(listing);
}

ListingSession::SettingsEffect ListingSession::ApplySettings() {
    ShownListing& listing = m_listing;
    if (!listing.shown)
        return SettingsEffect::None;
    const bool read = ShapeToRead(m_options) != listing.doc.shape;
    bool columns = ListingColumns(m_options) != listing.table.Columns();
    const bool style = RowStyleFor(m_options, listing.doc.shape) != listing.table.Style();
    if (!read && !columns && !style)
        return SettingsEffect::None;
    if (listing.origin == ListingOrigin::Document)
        return SettingsEffect::AtNextRefresh;
    const bool commentsStay = m_options.addComments == 0 && HoldsComments(listing.table);
    if (commentsStay) {
        m_options.addComments = 1;
        columns = ListingColumns(m_options) != listing.table.Columns();
    }
    if (read)
        return SettingsEffect::NeedsRead;
    if (columns || style)
        listing.table = RefilledTable(listing.table, m_options, listing.doc.shape);
    return commentsStay ? SettingsEffect::CommentsStay : SettingsEffect::Shown;
}

void ListingSession::SetVolume(std::string label, std::string note) {
    ListingVolume& volume = m_listing.doc.volume;
    if (label == volume.facts.label && note == volume.note)
        return;
    volume.facts.label = std::move(label);
    volume.note = std::move(note);
    m_listing.modified = true;
}

bool ListingSession::SetCellText(int row, int column, std::string_view text) {
    ListingTable& table = m_listing.table;
    if (row < 0 || row >= table.RowCount() || column < 0 || column >= table.ColumnCount())
        return false;
    if (table.Cell(row, column) == text)
        return false;
    table.SetCell(row, column, text);
    m_listing.entryTextsEdited =
        m_listing.entryTextsEdited ||
        (table.Kind(row) == RowKind::Entry && table.KindOfColumn(column) != ColumnKind::Comments);
    m_listing.modified = true;
    return true;
}

int ListingSession::InsertBlankRow(int focusedRow) {
    const int row = m_listing.BlankRowAt(focusedRow);
    m_listing.table.InsertRow(row, RowRecord{}, RowKind::Free);
    m_listing.modified = true;
    return row;
}

int ListingSession::InsertCommentRow(int row) {
    ListingTable& table = m_listing.table;
    const int below = std::clamp(row + 1, 0, table.RowCount());
    table.InsertRow(below, RowRecord{std::string(kCommentRowMark), "", "", "", ""},
                    RowKind::Continuation);
    m_listing.modified = true;
    return below;
}

bool ListingSession::DeleteRow(int row) {
    if (row < 0 || row >= m_listing.table.RowCount())
        return false;
    m_listing.table.RemoveRow(row);
    m_listing.modified = true;
    return true;
}

ListingSession::RowSlice ListingSession::TakeRows(int first, int count) {
    RowSlice slice = m_listing.CopyRows(first, count);
    m_listing.table.RemoveRows(first, count);
    m_listing.doc.headFolderCount -= slice.headFolders;
    return slice;
}

void ListingSession::PutRows(int at, const RowSlice& rows) {
    m_listing.table.PutRows(at, rows.rows);
    m_listing.doc.headFolderCount += rows.headFolders;
}

void ListingSession::Write(const std::string& fileName, SaveFormat format, std::time_t createdOn,
                           SpecialFiles special) {
    FileVersion written; // stays empty for a pipe or a device written into
    std::optional<FileVersion>& version = m_listing.version;
    WriteFileAtomically(
        fileName,
        [&](ByteSink& sink) {
            if (format == SaveFormat::TextReport)
                WriteTextReport(sink, createdOn);
            else
                WriteDocumentFile(sink, m_listing.doc.summary, LenientUtf8(m_listing.folder),
                                  ShownOptions(), m_listing.table, m_listing.doc.shape,
                                  m_listing.doc.volume);
        },
        special, version ? &*version : nullptr, &written);
    if (format == SaveFormat::DocumentFile && !written.name.empty())
        version = std::move(written);
}

bool ListingSession::Save(const std::string& fileName, SaveFormat format, Notice& notice,
                          std::time_t createdOn, SpecialFiles special) {
    try {
        Write(fileName, format, createdOn, special);
        return true;
    } catch (const Error& error) {
        notice.Show(kCaption, error.what());
        return false;
    }
}

bool ListingSession::ClickColumn(int column, std::vector<int>* moved) {
    return OnColumnClick(m_listing.table, m_sortState, column,
                         {m_listing.Shape().Tree(), m_options.dateFormat}, moved);
}

void ListingSession::PermuteRows(const std::vector<int>& order) {
    m_listing.table.PermuteRows(0, order);
}

ListingOptions ListingSession::ShownOptions() const {
    const ListingTable& table = m_listing.table;
    ListingOptions options = m_options;
    options.addComments = table.ColumnIndex(ColumnKind::Comments) >= 0 ? 1 : 0;
    options.addSize = table.ColumnIndex(ColumnKind::Size) >= 0 ? 1 : 0;
    options.addAttribute = table.ColumnIndex(ColumnKind::Attributes) >= 0 ? 1 : 0;
    options.addDate = table.ColumnIndex(ColumnKind::Date) >= 0 ? 1 : 0;
    return options;
}

void ListingSession::WriteTextReport(ByteSink& sink, std::time_t createdOn) const {
    // A failed read leaves the listing on show whole, so its rows are always the listing's.
    dirscribe::WriteTextReport(sink, m_listing.doc.summary, LenientUtf8(m_listing.folder),
                               ShownOptions(), m_listing.table, createdOn);
}

std::optional<FileDetailsRequest> ListingSession::RequestFileDetails(int row) const {
    auto reader =
        m_fileData ? m_fileData : std::make_shared<FileDataProgram>(FileDataProgram::Installed());
    return dirscribe::RequestFileDetails(m_listing.table, row, m_listing.folder, m_listing.Shape(),
                                         UserDefaultLanguageId(), std::move(reader));
}

void ListingSession::InsertFileDetails(int row, FileDetails details) {
    ListingTable& table = m_listing.table;
    if (row < 0 || row >= table.RowCount())
        return;
    const int before = table.RowCount();
    dirscribe::InsertFileDetails(table, row, std::move(details));
    // Rows inserted under a folder row at the top stay with the folders, as comment rows do.
    if (row < m_listing.doc.headFolderCount)
        m_listing.doc.headFolderCount += table.RowCount() - before;
    m_listing.modified = true;
}

} // namespace dirscribe
