// SPDX-License-Identifier: MIT
#include "core/ops/ListingSession.h"

#include "core/Error.h"
#include "core/details/FileDataProgram.h"
#include "core/docfile/DocumentFile.h"
#include "core/format/Utf8.h"
#include "core/listing/FolderScanner.h"
#include "core/listing/PathCheck.h"
#include "core/platform/AtomicFile.h"
#include "core/platform/Clock.h"
#include "core/platform/CurrentFolder.h"
#include "core/platform/UserLanguage.h"
#include "core/report/TextReport.h"
#include "core/table/CommentFlow.h"
#include "core/table/FileDetails.h"
#include "core/table/TableColumn.h"
#include "core/table/TablePopulation.h"
#include "core/table/TableSort.h"

#include <algorithm>
#include <new>
#include <utility>

namespace dirscribe {

namespace {

// The shape a read under these settings gives: only the letter page descends.
ListingShape ShapeToRead(const ListingOptions& options) {
    return {options.printAs == PageLayout::Standard ? options.lastDepth : 0,
            options.filesAndFolders};
}

class SilentNotice final : public Notice {
public:
    void Show(std::string_view, std::string_view, NoticeIcon) override {}
};

// Whether two paths name the same folder once each is checked and normalized, as a read
// normalizes the path it reads (a document may hold its folder with a trailing "/").
bool SameFolder(std::string a, std::string b) {
    SilentNotice silent;
    return !a.empty() && ValidatePath(a, silent) && ValidatePath(b, silent) && a == b;
}

} // namespace

bool ListingSession::ReadSelectedFolder(Notice& notice, Progress& progress, StopFlag& stop) {
    if (!ScanSelectedFolder(notice, progress, stop))
        return false;
    try {
        PopulateTable(progress);
    } catch (const std::bad_alloc&) {
        notice.Show(kCaption, kNotEnoughMemory);
        return false;
    }
    return true;
}

bool ListingSession::ScanSelectedFolder(Notice& notice, Progress& progress, StopFlag& stop) {
    // The read goes into a document of its own, so that until it has succeeded the listing
    // on show keeps its entries, summary and path.
    std::string path = std::exchange(m_path, m_shownPath);
    if (!ValidatePath(path, notice))
        return false;
    // Read as typed, so messages name folders as the user does; stored whole.
    std::string folder = AbsolutePath(path, CurrentFolder());
    CDirscribeDoc doc;
    FolderScanner scanner(notice, progress, stop);
    ReadOutcome outcome = ReadOutcome::Failed;
    try {
        outcome =
            m_options.printAs == PageLayout::Standard
                ? scanner.ReadFolderTree(doc, path, m_options.filesAndFolders, m_options.lastDepth)
                : scanner.ReadFolder(doc, path, m_options.filesAndFolders);
    } catch (const std::bad_alloc&) {
        notice.Show(kCaption, kNotEnoughMemory);
        return false;
    }
    if (outcome != ReadOutcome::Read)
        return false;
    doc.volume = ReadListingVolume(folder, Now());
    m_read = PendingRead{std::move(doc), std::move(path), std::move(folder)};
    return true;
}

bool ListingSession::ReadingAgainLosesNothing(std::string path) const {
    SilentNotice silent;
    return m_listingShown && !m_entryTextsEdited && ValidatePath(path, silent) &&
           SameFolder(m_folder, AbsolutePath(path, CurrentFolder()));
}

void ListingSession::PopulateTable(Progress& progress) {
    // What the user keeps about the volume stays with a read of the same folder.
    if (m_read && m_listingShown && SameFolder(m_folder, m_read->folder)) {
        ListingVolume& read = m_read->doc.volume;
        read.note = m_doc.volume.note;
        if (read.facts.label.empty())
            read.facts.label = m_doc.volume.facts.label;
    }
    // A re-read of the folder on show replaces nothing typed: it carries it over.
    if (m_read && m_listingShown && SameFolder(m_folder, m_read->folder) && HoldsTyped(m_table)) {
        const bool modified = m_modified;
        (void)PopulateFrom(m_table, m_doc.shape, progress);
        m_modified = modified;
        return;
    }
    // A read takes over the document and the path only once its rows are made, so running
    // out of memory on the way leaves the listing on show whole.
    CDirscribeDoc& doc = m_read ? m_read->doc : m_doc;
    const std::string& folder = m_read ? m_read->folder : m_folder;
    try {
        dirscribe::PopulateTable(m_table, doc, folder, m_options, m_loadedRows, progress);
    } catch (...) {
        m_read.reset();
        throw;
    }
    m_fromDocument = !m_read;
    if (m_read && !SameFolder(m_folder, m_read->folder))
        m_version.reset(); // a listing of another folder: the document is not its own
    if (m_read) {
        m_doc = std::move(m_read->doc);
        m_path = m_shownPath = std::move(m_read->path);
        m_folder = std::move(m_read->folder);
        m_read.reset();
    }
    m_editNotify = m_options.addComments != 0;
    m_listingShown = true;
    m_modified = false;
    m_entryTextsEdited = false;
}

UpdateCounts ListingSession::PopulateFrom(const ListingTable& old, const ListingShape& oldShape,
                                          Progress& progress) {
    if (!m_read)
        return {};
    if (HoldsComments(old))
        m_options.addComments = 1;
    UpdateCounts counts;
    ListingTable table;
    try {
        counts = PopulateCarrying(table, m_read->doc, m_read->folder, m_options, old, oldShape,
                                  progress);
    } catch (...) {
        m_read.reset();
        throw;
    }
    m_table = std::move(table);
    m_doc = std::move(m_read->doc);
    m_path = m_shownPath = std::move(m_read->path);
    m_folder = std::move(m_read->folder);
    m_read.reset();
    m_fromDocument = false;
    m_editNotify = m_options.addComments != 0;
    m_listingShown = true;
    m_modified = true;
    m_entryTextsEdited = false;
    return counts;
}

ListingSession::SettingsEffect ListingSession::ApplySettings() {
    if (!m_listingShown || m_read)
        return SettingsEffect::None;
    const bool read = ShapeToRead(m_options) != m_doc.shape;
    bool columns = ListingColumns(m_options) != m_table.Columns();
    const bool style = RowStyleFor(m_options, m_doc.shape) != m_table.Style();
    if (!read && !columns && !style)
        return SettingsEffect::None;
    if (m_fromDocument)
        return SettingsEffect::AtNextRefresh;
    const bool commentsStay = m_options.addComments == 0 && HoldsComments(m_table);
    if (commentsStay) {
        m_options.addComments = 1;
        columns = ListingColumns(m_options) != m_table.Columns();
    }
    if (read)
        return SettingsEffect::NeedsRead;
    if (columns || style)
        m_table = RefilledTable(m_table, m_options, m_doc.shape);
    m_editNotify = m_options.addComments != 0;
    return commentsStay ? SettingsEffect::CommentsStay : SettingsEffect::Shown;
}

bool ListingSession::OpenDocument(const std::string& fileName, Notice& notice, Progress& progress) {
    DocumentContents contents;
    std::optional<FileVersion> version;
    try {
        contents = LoadDocumentFile(fileName, &version);
    } catch (const Error& error) {
        notice.Show(kCaption, error.what());
        return false;
    } catch (const std::bad_alloc&) {
        notice.Show(kCaption, kNotEnoughMemory);
        return false;
    }
    m_doc.summary = contents.summary;
    m_doc.entries.Release();
    m_doc.order.clear();
    m_doc.shape = contents.shape;
    m_doc.volume = std::move(contents.volume);
    m_folder = contents.folderPath;
    m_path = m_shownPath = std::move(contents.folderPath);
    contents.settings.ApplyTo(m_options);
    // Read again, the folder gives the listing the document holds.
    m_options.lastDepth = contents.shape.depth;
    m_options.filesAndFolders = contents.shape.content;
    m_loadedRows = std::move(contents.rows);
    m_read.reset();
    m_version = std::move(version);
    PopulateTable(progress);
    m_table.SetEntries(std::move(contents.entries), RowStyleFor(m_options, contents.shape));
    return true;
}

void ListingSession::NewDocument() {
    m_doc = CDirscribeDoc{};
    m_table.ClearRows();
    m_loadedRows.reset();
    m_version.reset();
    m_fromDocument = false;
    m_entryTextsEdited = false;
    m_path.clear();
    m_shownPath.clear();
    m_folder.clear();
    m_modified = false;
}

void ListingSession::TakeListing(ListingSession&& other) {
    m_doc = std::move(other.m_doc);
    m_table = std::move(other.m_table);
    m_path = std::move(other.m_path);
    m_shownPath = std::move(other.m_shownPath);
    m_folder = std::move(other.m_folder);
    m_read = std::move(other.m_read);
    m_loadedRows = std::move(other.m_loadedRows);
    m_version = std::move(other.m_version);
    m_listingShown = other.m_listingShown;
    m_fromDocument = other.m_fromDocument;
    m_entryTextsEdited = other.m_entryTextsEdited;
    m_editNotify = other.m_editNotify;
    m_modified = other.m_modified;
}

void ListingSession::SetVolumeLabel(std::string label) {
    if (label == m_doc.volume.facts.label)
        return;
    m_doc.volume.facts.label = std::move(label);
    m_modified = true;
}

void ListingSession::SetVolumeNote(std::string note) {
    if (note == m_doc.volume.note)
        return;
    m_doc.volume.note = std::move(note);
    m_modified = true;
}

bool ListingSession::SetCellText(int row, int column, std::string_view text) {
    if (row < 0 || row >= m_table.RowCount() || column < 0 || column >= m_table.ColumnCount())
        return false;
    if (m_table.Cell(row, column) == text)
        return false;
    m_table.SetCell(row, column, text);
    m_entryTextsEdited =
        m_entryTextsEdited || (m_table.Kind(row) == RowKind::Entry &&
                               m_table.KindOfColumn(column) != ColumnKind::Comments);
    m_modified = true;
    return true;
}

int ListingSession::BlankRowAt(int focusedRow) const {
    int row = std::clamp(focusedRow + 1, 0, m_table.RowCount());
    // Never among the rows of a comment or of file data: they belong to the row above them.
    while (focusedRow >= 0 && row < m_table.RowCount() && FollowsEntry(m_table.Kind(row)))
        ++row;
    return row;
}

int ListingSession::InsertBlankRow(int focusedRow) {
    const int row = BlankRowAt(focusedRow);
    m_table.InsertRow(row, RowRecord{}, RowKind::Free);
    m_modified = true;
    return row;
}

int ListingSession::InsertCommentRow(int row) {
    const int below = std::clamp(row + 1, 0, m_table.RowCount());
    m_table.InsertRow(below, RowRecord{std::string(kCommentRowMark), "", "", "", ""},
                      RowKind::Continuation);
    m_modified = true;
    return below;
}

bool ListingSession::DeleteRow(int row) {
    if (row < 0 || row >= m_table.RowCount())
        return false;
    m_table.RemoveRow(row);
    m_modified = true;
    return true;
}

ListingSession::RowSlice ListingSession::CopyRows(int first, int count) const {
    RowSlice slice{m_table.CopyRows(first, count), 0};
    const int from = std::clamp(first, 0, m_table.RowCount());
    slice.headFolders = std::clamp(m_doc.headFolderCount - from, 0, slice.rows.Size());
    return slice;
}

ListingSession::RowSlice ListingSession::TakeRows(int first, int count) {
    RowSlice slice = CopyRows(first, count);
    m_table.RemoveRows(first, count);
    m_doc.headFolderCount -= slice.headFolders;
    return slice;
}

void ListingSession::PutRows(int at, const RowSlice& rows) {
    m_table.PutRows(at, rows.rows);
    m_doc.headFolderCount += rows.headFolders;
}

void ListingSession::Write(const std::string& fileName, SaveFormat format, std::time_t createdOn,
                           SpecialFiles special) {
    FileVersion written; // stays empty for a pipe or a device written into
    WriteFileAtomically(
        fileName,
        [&](ByteSink& sink) {
            if (format == SaveFormat::TextReport)
                WriteTextReport(sink, createdOn);
            else
                WriteDocumentFile(sink, m_doc.summary, LenientUtf8(m_folder), ShownOptions(),
                                  m_table, m_doc.shape, m_doc.volume);
        },
        special, m_version ? &*m_version : nullptr, &written);
    if (format == SaveFormat::DocumentFile && !written.name.empty())
        m_version = std::move(written);
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

bool ListingSession::Save(const std::string& fileName, Notice& notice, std::time_t createdOn) {
    return Save(fileName, SaveFormatFor(fileName), notice, createdOn);
}

bool ListingSession::ClickColumn(int column, std::vector<int>* moved) {
    return OnColumnClick(m_table, m_sortState, column, {Shape().Tree(), m_options.dateFormat},
                         moved);
}

ListingOptions ListingSession::ShownOptions() const {
    ListingOptions options = m_options;
    options.addComments = m_table.ColumnIndex(ColumnKind::Comments) >= 0 ? 1 : 0;
    options.addSize = m_table.ColumnIndex(ColumnKind::Size) >= 0 ? 1 : 0;
    options.addAttribute = m_table.ColumnIndex(ColumnKind::Attributes) >= 0 ? 1 : 0;
    options.addDate = m_table.ColumnIndex(ColumnKind::Date) >= 0 ? 1 : 0;
    return options;
}

std::string ListingSession::TextReport(std::time_t createdOn) const {
    StringSink sink;
    WriteTextReport(sink, createdOn);
    return sink.Take();
}

void ListingSession::WriteTextReport(ByteSink& sink, std::time_t createdOn) const {
    // A failed read leaves the listing on show whole, so its rows are always the listing's.
    dirscribe::WriteTextReport(sink, m_doc.summary, LenientUtf8(m_folder), ShownOptions(), m_table,
                               createdOn);
}

void ListingSession::FetchFileDetails(int row) {
    if (const auto request = RequestFileDetails(row))
        InsertFileDetails(row, request->Read());
}

std::optional<FileDetailsRequest> ListingSession::RequestFileDetails(int row) const {
    auto reader =
        m_fileData ? m_fileData : std::make_shared<FileDataProgram>(FileDataProgram::Installed());
    return dirscribe::RequestFileDetails(m_table, row, m_folder, Shape(), UserDefaultLanguageId(),
                                         std::move(reader));
}

std::string ListingSession::EntryPath(int row) const {
    const auto request = dirscribe::RequestFileDetails(m_table, row, m_folder, Shape(), 0, nullptr);
    return request ? request->path : std::string();
}

void ListingSession::InsertFileDetails(int row, FileDetails details) {
    if (row < 0 || row >= m_table.RowCount())
        return;
    const int before = m_table.RowCount();
    dirscribe::InsertFileDetails(m_table, row, std::move(details));
    // Rows inserted under a folder row at the top stay with the folders, as comment rows do.
    if (row < m_doc.headFolderCount)
        m_doc.headFolderCount += m_table.RowCount() - before;
    m_modified = true;
}

} // namespace dirscribe
