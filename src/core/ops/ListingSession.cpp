// SPDX-License-Identifier: MIT
#include "core/ops/ListingSession.h"

#include "core/Error.h"
#include "core/docfile/DocumentFile.h"
#include "core/listing/FolderScanner.h"
#include "core/listing/PathCheck.h"
#include "core/platform/AtomicFile.h"
#include "core/platform/UserLanguage.h"
#include "core/report/TextReport.h"
#include "core/table/FileDetails.h"
#include "core/table/TablePopulation.h"
#include "core/table/TableSort.h"

namespace dirscribe {

bool ListingSession::ReadSelectedFolder(Notice& notice, Progress& progress, StopFlag& stop) {
    stop.Clear();
    m_doc.entries.clear();
    m_rowsCurrent = false;
    if (!ValidatePath(m_path, notice))
        return false;

    FolderScanner scanner(notice, progress, stop);
    const ReadOutcome outcome =
        m_options.Layout() == PageLayout::Standard
            ? scanner.ReadFolderTree(m_doc, m_path, m_options.filesAndFolders, m_options.lastDepth)
            : scanner.ReadFolder(m_doc, m_path, m_options.filesAndFolders);
    if (outcome != ReadOutcome::Read)
        return false;
    PopulateTable(progress);
    return true;
}

void ListingSession::PopulateTable(Progress& progress) {
    m_listingShown = false;
    m_sortEnabled = true;
    m_editNotify = m_options.addComments != 0;
    dirscribe::PopulateTable(m_table, m_doc, m_options, m_loadedRows, progress);
    m_listingShown = true;
    m_rowsCurrent = true;
}

bool ListingSession::OpenDocument(const std::string& fileName, Notice& notice, Progress& progress) {
    DocumentContents contents;
    try {
        contents = LoadDocumentFile(fileName);
    } catch (const Error& error) {
        notice.Show(kCaption, error.what());
        return false;
    }
    m_doc.summary = contents.summary;
    m_doc.entries.clear();
    m_path = std::move(contents.folderPath);
    contents.settings.ApplyTo(m_options);
    m_loadedRows = std::move(contents.rows);
    PopulateTable(progress);
    return true;
}

bool ListingSession::Save(const std::string& fileName, SaveFormat format, Notice& notice,
                          std::time_t createdOn) const {
    try {
        WriteFileAtomically(fileName,
                            format == SaveFormat::TextReport
                                ? TextReport(createdOn)
                                : WriteDocumentFile(m_doc.summary, m_path, m_options, m_table));
        return true;
    } catch (const Error& error) {
        notice.Show(kCaption, error.what());
        return false;
    }
}

bool ListingSession::Save(const std::string& fileName, Notice& notice,
                          std::time_t createdOn) const {
    return Save(fileName, SaveFormatFor(fileName), notice, createdOn);
}

bool ListingSession::ClickColumn(int column) {
    const SortContext context{m_options.lastDepth, m_sortEnabled ? 1 : 0, m_doc.headFolderCount,
                              m_options.dateFormat};
    return OnColumnClick(m_table, m_sortState, column, context);
}

std::string ListingSession::TextReport(std::time_t createdOn) const {
    return WriteTextReport(m_doc.summary, m_path, m_options, m_table, m_rowsCurrent, createdOn);
}

void ListingSession::FetchFileDetails(int row) {
    m_sortEnabled = false;
    dirscribe::FetchFileDetails(m_table, row, m_path, UserDefaultLanguageId());
}

} // namespace dirscribe
