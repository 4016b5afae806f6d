// SPDX-License-Identifier: MIT
// One listing being worked on: the settings, the path, the document and the table.
#pragma once

#include "core/docfile/SaveFormat.h"
#include "core/listing/CDirscribeDoc.h"
#include "core/options/ListingOptions.h"
#include "core/platform/AtomicFile.h"
#include "core/platform/ByteSink.h"
#include "core/platform/Notice.h"
#include "core/platform/Progress.h"
#include "core/platform/StopToken.h"
#include "core/table/FileDetails.h"
#include "core/table/ListingTable.h"
#include "core/table/RowRecord.h"
#include "core/table/SortState.h"

#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dirscribe {

// The state a window or a command line works on, and the operations both call, so that
// the same settings give byte-identical outputs from either.
class ListingSession {
public:
    explicit ListingSession(ListingOptions options = {}) : m_options(std::move(options)) {}

    [[nodiscard]] ListingOptions& Options() { return m_options; }
    [[nodiscard]] const ListingOptions& Options() const { return m_options; }
    [[nodiscard]] const CDirscribeDoc& Doc() const { return m_doc; }
    [[nodiscard]] ListingTable& Table() { return m_table; }
    [[nodiscard]] const ListingTable& Table() const { return m_table; }

    // The folder path as the path box holds it; a read normalizes it. A relative path is
    // read against the current folder (a window works in the home folder).
    [[nodiscard]] const std::string& Path() const { return m_path; }
    void SetPath(std::string path) { m_path = std::move(path); }
    // The folder of the listing on show as the listing stores it: for a read, Path() made
    // absolute without resolving links (see AbsolutePath), so a document names the same
    // folder wherever it is opened or updated; for an opened document, the path it holds.
    // Reports, documents, exports and printed titles write it as UTF-8 (see LenientUtf8),
    // whatever bytes it holds.
    [[nodiscard]] const std::string& ListedFolder() const { return m_folder; }

    // Whether the table has been filled at least once (the listing is shown).
    [[nodiscard]] bool ListingShown() const { return m_listingShown; }
    // Whether a column click may reorder rows; cleared by cell edits and detail fetches.
    [[nodiscard]] bool SortEnabled() const { return m_sortEnabled; }
    void DisableSorting() { m_sortEnabled = false; }
    // Whether cells may be edited: only while the Comments column is shown.
    [[nodiscard]] bool EditNotify() const { return m_editNotify; }

    // Cell edits and row commands. Each marks the listing modified when it changes the
    // table; filling, opening or starting a new listing clears the mark, saving leaves it
    // to the caller (SetModified(false) after a save that succeeded).
    [[nodiscard]] bool Modified() const { return m_modified; }
    void SetModified(bool modified) { m_modified = modified; }
    // Stores an edited cell text; a column the table does not have, or a row outside it,
    // is ignored. True when the text changed.
    bool SetCellText(int row, int column, std::string_view text);
    // Inserts a blank row below the focused row, at the top when focusedRow is -1 (no
    // focus). Returns the new row's index.
    int InsertBlankRow(int focusedRow);
    // Inserts a "comments:" row with its other cells empty directly below `row`; returns
    // its index.
    int InsertCommentRow(int row);
    // Deletes a row of any kind; false (and nothing changes) for a row outside the table.
    bool DeleteRow(int row);

    // Rows taken out of the listing, for putting back later (undo): the rows with all they
    // hold, and how many of them were among the folder rows a sort keeps on top.
    struct RowSlice {
        RowStore rows;
        int headFolders = 0;
    };
    // The rows [first, first + count) (clamped to the table) as they are.
    [[nodiscard]] RowSlice CopyRows(int first, int count) const;
    // The same, taken out of the table.
    RowSlice TakeRows(int first, int count);
    // Puts rows back at index at as they were taken: PutRows(first, TakeRows(first, n))
    // leaves the listing as it was. Neither changes the modified mark.
    void PutRows(int at, const RowSlice& rows);

    // The refresh: checks and normalizes Path(), reads the folder (in the Standard layout
    // to `LastDepth` levels) and fills the table. False when the path was refused, the
    // folder could not be read, memory ran out (" There are not enough memory! ") or the
    // read was stopped; the listing on show then stays whole: its rows, entries, summary and
    // path (Path() goes back to it), so that a save writes that listing and no mixture.
    // The caller clears the stop flag before the read starts: a Stop given as soon as a read
    // on another thread has started must not be lost.
    bool ReadSelectedFolder(Notice& notice, Progress& progress, StopFlag& stop);
    // The reading half of ReadSelectedFolder, for a window that reads off its interface
    // thread: everything but filling the table, which the caller does with PopulateTable
    // when this returns true. It touches the document, the path and the stop flag only,
    // and reads only the content, layout and depth settings.
    bool ScanSelectedFolder(Notice& notice, Progress& progress, StopFlag& stop);

    // Rebuilds the table from the document's entries or from rows loaded from a file.
    // Throws std::bad_alloc, with the table as it was, when memory runs out.
    void PopulateTable(Progress& progress);

    // Opens a document file. The file is checked whole first; only a well-formed document
    // replaces the summary, the path, its seven settings and the rows, which fill the table.
    // A refused file changes nothing and gets a message naming it.
    bool OpenDocument(const std::string& fileName, Notice& notice, Progress& progress);

    // Forgets the listing: no entries, rows or path; the settings stay.
    void NewDocument();
    // Puts the listing of `other` on show here (its document, table, path and marks, such
    // as modified), as an update makes it; this session's settings and sort state stay.
    void TakeListing(ListingSession&& other);
    // Saves the listing in the given format, replacing the file atomically: a failed save
    // leaves the old file and says why. `special` says whether a pipe or a device is
    // written into or refused.
    bool Save(const std::string& fileName, SaveFormat format, Notice& notice, std::time_t createdOn,
              SpecialFiles special = SpecialFiles::Refuse) const;
    // Saves in the format the file name asks for: a text report for a name ending in
    // "txt" in any case, the document file for any other name.
    bool Save(const std::string& fileName, Notice& notice, std::time_t createdOn) const;

    // A click on a column header: sorts the rows by that column (folder rows stay on top),
    // alternating the direction on repeated clicks. Flat listings only; after a cell edit
    // only the direction changes. True when the rows went through the sort.
    bool ClickColumn(int column);
    [[nodiscard]] const SortState& Sorting() const { return m_sortState; }

    // A request to edit a row in the FileData layout: fetches the details of the row's own
    // entry (a row without one: the file its name cell names in ListedFolder()) into the
    // table (the Comments cell and rows below it) in the user's language from the
    // environment. Like any edit it ends sorting by column clicks.
    void FetchFileDetails(int row);
    // The two halves of FetchFileDetails, for a window that reads off its interface thread:
    // what to read for the row (nothing for a row outside the table), whose Read() needs
    // nothing of the session, and the insertion of what it read.
    [[nodiscard]] std::optional<FileDetailsRequest> RequestFileDetails(int row) const;
    void InsertFileDetails(int row, FileDetails details);
    // Who reads audio files, photos, videos and PDFs for File Data; by default the reader
    // program installed with this one (FileDataProgram::Installed).
    void SetFileDataReader(std::shared_ptr<const FileDataReader> reader) {
        m_fileData = std::move(reader);
    }

    // The text report of the listing as it stands.
    [[nodiscard]] std::string TextReport(std::time_t createdOn) const;
    // The same, handed to sink as it is made (see WriteTextReport).
    void WriteTextReport(ByteSink& sink, std::time_t createdOn) const;

private:
    ListingOptions m_options;
    CDirscribeDoc m_doc;
    ListingTable m_table;
    std::string m_path;
    std::string m_shownPath; // the path of the listing on show, which Path() returns to
    std::string m_folder;    // the absolute path of the listing on show
    // A read that succeeded and waits for PopulateTable to take it over.
    struct PendingRead {
        CDirscribeDoc doc;
        std::string path;
        std::string folder;
    };
    std::optional<PendingRead> m_read;
    std::optional<RowStore> m_loadedRows;
    SortState m_sortState; // lives for the run, across listings
    bool m_listingShown = false;
    bool m_sortEnabled = false;
    bool m_editNotify = false;
    bool m_modified = false;
    std::shared_ptr<const FileDataReader> m_fileData; // none yet: the installed program
};

} // namespace dirscribe
