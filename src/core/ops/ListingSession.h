// SPDX-License-Identifier: MIT
// One listing being worked on: the settings and the listing on show.
#pragma once

#include "core/docfile/SaveFormat.h"
#include "core/ops/FolderScan.h"
#include "core/ops/ShownListing.h"
#include "core/options/ListingOptions.h"
#include "core/platform/AtomicFile.h"
#include "core/platform/ByteSink.h"
#include "core/platform/Notice.h"
#include "core/platform/Progress.h"
#include "core/platform/StopFlag.h"
#include "core/table/FileDetails.h"
#include "core/table/SortState.h"

#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dirscribe {

// The state a window or a command line works on, and the operations both call, so that
// the same settings give byte-identical outputs from either. The listing on show is one
// value (ShownListing): a read, an open or New builds a new one whole and only then puts it
// in place of the old one, so one that fails, runs out of memory or is dropped leaves the
// listing on show whole (its rows, entries, summary, path, version and marks), and a save
// writes that listing and no mixture.
class ListingSession {
public:
    using RowSlice = ShownListing::RowSlice;

    // Who reads audio files, photos, videos and PDFs for File Data: by default (null) the
    // reader program installed with this one (FileDataProgram::Installed).
    explicit ListingSession(ListingOptions options = {},
                            std::shared_ptr<const FileDataReader> fileData = nullptr)
        : m_options(std::move(options)), m_fileData(std::move(fileData)) {}

    // The settings; a change reaches the listing on show through ApplySettings.
    [[nodiscard]] ListingOptions& Options() { return m_options; }
    [[nodiscard]] const ListingOptions& Options() const { return m_options; }
    // The listing on show; it changes only through the operations below.
    [[nodiscard]] const ShownListing& Listing() const { return m_listing; }

    // Puts what ScanFolder read on show in place of the listing on show, built whole first.
    // A re-read of the folder on show keeps its document version and the user's note and
    // label of the volume (the label only where the system gives none), and when its
    // listing holds anything typed carries it all over (PopulateCarrying; the Comments
    // column then stays on in the settings) and keeps the changed mark; otherwise the new
    // listing is unchanged, and a listing of another folder is of no document. Throws
    // std::bad_alloc, with the listing on show as it was, when memory runs out.
    void ShowRead(FolderScan read, Progress& progress);
    // ScanFolder with these settings and ShowRead in one, as the command line reads: false
    // (after the scan's message, or " There are not enough memory! ") when nothing was read
    // or shown.
    bool ReadFolder(std::string path, Notice& notice, Progress& progress, StopFlag& stop);
    // Opens a document file. The file is checked whole first; only a well-formed document
    // replaces the listing on show (its rows fill the table, each entry row linked to the
    // entry its extension block knows) and gives the settings its seven settings and the
    // depth and content it records. A refused file changes nothing and gets a message naming
    // it. Throws std::bad_alloc, with the listing and settings as they were, when memory
    // runs out while the rows are made.
    bool OpenDocument(const std::string& fileName, Notice& notice, Progress& progress);
    // Forgets the listing: no entries, rows, path or document; the columns, the settings
    // and whether a listing was shown stay.
    void NewDocument();
    // Puts a listing made elsewhere on show whole (an update, see UpdateListing); the
    // settings and the sort state stay.
    void ShowUpdate(ShownListing listing);

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

    // Cell edits and row commands. Each marks the listing modified when it changes the
    // table; a read, an open or New clears the mark, saving leaves it to the caller
    // (SetModified(false) after a save that succeeded).
    void SetModified(bool modified) { m_listing.modified = modified; }
    // Stores an edited cell text; a column the table does not have, or a row outside it,
    // is ignored. True when the text changed.
    bool SetCellText(int row, int column, std::string_view text);
    // Inserts a blank row where ShownListing::BlankRowAt(focusedRow) says. Returns the new
    // row's index.
    int InsertBlankRow(int focusedRow);
    // Inserts a "comments:" row with its other cells empty directly below `row`; returns
    // its index.
    int InsertCommentRow(int row);
    // Deletes a row of any kind; false (and nothing changes) for a row outside the table.
    bool DeleteRow(int row);
    // The rows [first, first + count) (clamped to the table) taken out of the table, as
    // ShownListing::CopyRows gives them.
    RowSlice TakeRows(int first, int count);
    // Puts rows back at index at as they were taken: PutRows(first, TakeRows(first, n))
    // leaves the listing as it was. Neither changes the modified mark.
    void PutRows(int at, const RowSlice& rows);
    // The volume's label and note as the user gives them; marks the listing modified when
    // either changes.
    void SetVolume(std::string label, std::string note);

    // A click on a column header: sorts the entries by that column (folders stay on top),
    // each with the rows that belong to it, alternating the direction on repeated clicks
    // (see OnColumnClick). Flat listings only. True when the rows went through the sort;
    // `moved` as for OnColumnClick.
    bool ClickColumn(int column, std::vector<int>* moved = nullptr);
    // Puts the rows into the given order (new row i is old row order[i]), as a sort does: an
    // undo or redo of one (see OnColumnClick's `moved`).
    void PermuteRows(const std::vector<int>& order);
    // The column clicked last and its direction; it lives for the run, across listings.
    [[nodiscard]] const SortState& Sorting() const { return m_sortState; }

    // A request to edit a row in the FileData layout fetches the details of the row's own
    // file in two halves, so a window reads off its interface thread: what to read for the
    // row (see RequestFileDetails; nothing for a row outside the table) in the user's
    // language from the environment, whose Read() needs nothing of the session, and the
    // insertion of what it read, which marks the listing modified.
    [[nodiscard]] std::optional<FileDetailsRequest> RequestFileDetails(int row) const;
    void InsertFileDetails(int row, FileDetails details);

    // Saves the listing in the given format, replacing the file atomically: a failed save
    // leaves the old file and says why. `special` says whether a pipe or a device is
    // written into or refused. A save over the document this listing was opened from or last
    // saved to is refused (ChangedSinceRead's message) when another program has saved that
    // file since: what it wrote is not lost; the listing stays as it is, to be saved under
    // another name. A document saved becomes the one the next save compares with.
    bool Save(const std::string& fileName, SaveFormat format, Notice& notice, std::time_t createdOn,
              SpecialFiles special = SpecialFiles::Refuse);
    // The same as Save, throwing Error (ChangedSinceRead for another program's save) instead
    // of showing it.
    void Write(const std::string& fileName, SaveFormat format, std::time_t createdOn,
               SpecialFiles special = SpecialFiles::Refuse);
    // The text report of the listing as it stands, handed to sink as it is made (see
    // WriteTextReport).
    void WriteTextReport(ByteSink& sink, std::time_t createdOn) const;

private:
    // The settings with the columns the table has, which the settings may not have yet.
    [[nodiscard]] ListingOptions ShownOptions() const;

    ListingOptions m_options;
    ShownListing m_listing;
    SortState m_sortState;                            // lives for the run, across listings
    std::shared_ptr<const FileDataReader> m_fileData; // none: the installed program
};

} // namespace dirscribe
