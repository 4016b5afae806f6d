// SPDX-License-Identifier: MIT
#include "core/ops/ListingSession.h"

#include "core/listing/FolderScanner.h"
#include "core/listing/PathCheck.h"
#include "core/report/TextReport.h"
#include "core/table/TablePopulation.h"

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

std::string ListingSession::TextReport(std::time_t createdOn) const {
    return WriteTextReport(m_doc.summary, m_path, m_options, m_table, m_rowsCurrent, createdOn);
}

} // namespace dirscribe
