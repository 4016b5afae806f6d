// SPDX-License-Identifier: MIT
// One listing being worked on: the settings, the path, the document and the table.
#pragma once

#include "core/docfile/SaveFormat.h"
#include "core/listing/CDirscribeDoc.h"
#include "core/listing/EntryList.h"
#include "core/ops/ListingMerge.h"
#include "core/options/ListingOptions.h"
#include "core/platform/AtomicFile.h"
#include "core/platform/ByteSink.h"
#include "core/platform/FileVersion.h"
#include "core/platform/Notice.h"
#include "core/platform/Progress.h"
#include "core/platform/StopFlag.h"
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
    // The depth and content of the listing on show, as it was read or as its document
    // records them.
    [[nodiscard]] const ListingShape& Shape() const { return m_doc.shape; }
    // Whether a column click may reorder rows: the listing on show is flat.
    [[nodiscard]] bool Sortable() const { return !Shape().Tree(); }
    // Whether reading path (as the path box holds it) loses nothing: it names the folder of
    // the listing on show, which carries every comment and row over, and no entry's own text
    // (its name, size, ...) was edited, which a read renews from the disk.
    [[nodiscard]] bool ReadingAgainLosesNothing(std::string path) const;
    // The volume the listing on show was read from, as its read or its document recorded
    // it, and the user's note about it.
    [[nodiscard]] const ListingVolume& Volume() const { return m_doc.volume; }
    // Change the volume's label and note as the user gives them; each marks the listing
    // modified when it changes it. A read of the same folder carries both over (the label
    // only when the system gives none).
    void SetVolumeLabel(std::string label);
    void SetVolumeNote(std::string note);

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
    // Inserts a blank row below the focused row and the comment and details rows that
    // belong with it, at the top when focusedRow is -1 (no focus). Returns the new row's
    // index.
    int InsertBlankRow(int focusedRow);
    // Where InsertBlankRow(focusedRow) puts the row.
    [[nodiscard]] int BlankRowAt(int focusedRow) const;
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
    // to `LastDepth` levels) and fills the table; a re-read of the folder on show carries
    // over everything typed into its listing (PopulateCarrying). False when the path was refused,
    // the folder could not be read, memory ran out (" There are not enough memory! ") or the read
    // was stopped; the listing on show then stays whole: its rows, entries, summary and path
    // (Path() goes back to it), so that a save writes that listing and no mixture. The caller
    // clears the stop flag before the read starts: a Stop given as soon as a read on another
    // thread has started must not be lost.
    bool ReadSelectedFolder(Notice& notice, Progress& progress, StopFlag& stop);
    // The reading half of ReadSelectedFolder, for a window that reads off its interface
    // thread: everything but filling the table, which the caller does with PopulateTable
    // when this returns true. It touches the document, the path and the stop flag only,
    // and reads only the content, layout and depth settings.
    bool ScanSelectedFolder(Notice& notice, Progress& progress, StopFlag& stop);
    // Forgets a read ScanSelectedFolder made that is not to be shown (a Stop came after
    // the read ended but before the table was filled): the listing on show stays.
    void DropRead() { m_read.reset(); }

    // Rebuilds the table from the document's entries or from rows loaded from a file; after
    // a read of the folder on show, carrying over what its listing holds. Throws
    // std::bad_alloc, with the table as it was, when memory runs out.
    void PopulateTable(Progress& progress);
    // Fills the table from the read ScanSelectedFolder made, carrying over what `old`, a
    // listing of the same folder in shape oldShape, holds (PopulateCarrying; its Comments
    // column stays when it holds comments). Returns what was kept, new and gone.
    UpdateCounts PopulateFrom(const ListingTable& old, const ListingShape& oldShape,
                              Progress& progress);

    // What changed settings mean for the listing on show.
    enum class SettingsEffect {
        None,          // nothing it shows changed
        Shown,         // the table was filled again from its entries
        CommentsStay,  // the same, and the Comments column stays: it holds comments
        NeedsRead,     // the depth or content changed: its folder must be read again
        AtNextRefresh, // a listing from a document shows changes when it is read again
    };
    // Brings a listing read in this run in line with the settings at once where the entries
    // in memory suffice (columns, date format, upper case, sizes in bytes), keeping every
    // comment; the Comments column is never taken from a listing that holds comments (the
    // setting goes back on).
    SettingsEffect ApplySettings();

    // Opens a document file. The file is checked whole first; only a well-formed document
    // replaces the summary, the path, its seven settings, the depth and content it records
    // and the rows, which fill the table, each entry row linked to the entry its extension
    // block knows.
    // A refused file changes nothing and gets a message naming it.
    bool OpenDocument(const std::string& fileName, Notice& notice, Progress& progress);

    // Forgets the listing: no entries, rows or path; the settings stay.
    void NewDocument();
    // Puts the listing of `other` on show here (its document, table, path and marks, such
    // as modified), as an update makes it; this session's settings and sort state stay.
    void TakeListing(ListingSession&& other);
    // Saves the listing in the given format, replacing the file atomically: a failed save
    // leaves the old file and says why. `special` says whether a pipe or a device is
    // written into or refused. A save over the document this listing was opened from or last
    // saved to is refused (ChangedSinceRead's message) when another program has saved that
    // file since: what it wrote is not lost; the listing stays as it is, to be saved under
    // another name. A document saved becomes the one the next save compares with.
    bool Save(const std::string& fileName, SaveFormat format, Notice& notice, std::time_t createdOn,
              SpecialFiles special = SpecialFiles::Refuse);
    // Saves in the format the file name asks for: a text report for a name ending in
    // "txt" in any case, the document file for any other name.
    bool Save(const std::string& fileName, Notice& notice, std::time_t createdOn);
    // The same as Save, throwing Error (ChangedSinceRead for another program's save) instead
    // of showing it.
    void Write(const std::string& fileName, SaveFormat format, std::time_t createdOn,
               SpecialFiles special = SpecialFiles::Refuse);
    // The document file as this listing last read or saved it (see FileVersion); none for a
    // listing of another folder since, or one never read from or saved to a document.
    [[nodiscard]] const std::optional<FileVersion>& DocumentVersion() const { return m_version; }
    void SetDocumentVersion(std::optional<FileVersion> version) { m_version = std::move(version); }

    // A click on a column header: sorts the entries by that column (folders stay on top),
    // each with the rows that belong to it, alternating the direction on repeated clicks.
    // Flat listings only. True when the rows went through the sort; `moved` as for
    // OnColumnClick.
    bool ClickColumn(int column, std::vector<int>* moved = nullptr);
    // Puts the rows into the given order (new row i is old row order[i]), as a sort does: an
    // undo or redo of one (see OnColumnClick's `moved`).
    void PermuteRows(const std::vector<int>& order) { m_table.PermuteRows(0, order); }
    [[nodiscard]] const SortState& Sorting() const { return m_sortState; }

    // A request to edit a row in the FileData layout fetches the details of the row's own
    // file in two halves, so a window reads off its interface thread: what to read for the
    // row (see RequestFileDetails; nothing for a row outside the table) in the user's
    // language from the environment, whose Read() needs nothing of the session, and the
    // insertion of what it read, which marks the listing modified.
    [[nodiscard]] std::optional<FileDetailsRequest> RequestFileDetails(int row) const;
    void InsertFileDetails(int row, FileDetails details);
    // Where on disk the entry of a row is, found as File Data finds it; empty for a row of no
    // entry.
    [[nodiscard]] std::string EntryPath(int row) const;
    // Who reads audio files, photos, videos and PDFs for File Data; by default the reader
    // program installed with this one (FileDataProgram::Installed).
    void SetFileDataReader(std::shared_ptr<const FileDataReader> reader) {
        m_fileData = std::move(reader);
    }

    // The text report of the listing as it stands, handed to sink as it is made (see
    // WriteTextReport).
    void WriteTextReport(ByteSink& sink, std::time_t createdOn) const;

private:
    // The settings with the columns the table has, which the settings may not have yet.
    [[nodiscard]] ListingOptions ShownOptions() const;

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
    std::optional<FileVersion> m_version; // see DocumentVersion()
    SortState m_sortState;                // lives for the run, across listings
    bool m_listingShown = false;
    bool m_fromDocument = false;     // the listing on show came from a document, not a read
    bool m_entryTextsEdited = false; // a cell of an entry other than its comment was typed in
    bool m_editNotify = false;
    bool m_modified = false;
    std::shared_ptr<const FileDataReader> m_fileData; // none yet: the installed program
};

} // namespace dirscribe
