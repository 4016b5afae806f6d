// SPDX-License-Identifier: MIT
// The listing on show, as one value.
#pragma once

#include "core/listing/CDirscribeDoc.h"
#include "core/platform/FileVersion.h"
#include "core/table/ListingTable.h"
#include "core/table/RowStore.h"

#include <optional>
#include <string>

namespace dirscribe {

// Where the listing on show came from.
enum class ListingOrigin {
    None,     // nothing yet, or New
    Read,     // a read of its folder in this run (an update is one)
    Document, // a document file opened
};

// Everything a listing on show is: what a read, an opened document or New made, and what
// the user did to it since. A session holds one and replaces it whole, so a read, an open
// or New that fails on the way leaves the one on show as it was (see ListingSession).
struct ShownListing {
    // The summary, shape, volume and head folders of the listing; its entries are in the
    // table (see PopulateTable).
    CDirscribeDoc doc;
    ListingTable table;
    // The folder as the path box gave it to the read, checked and normalized (ValidatePath),
    // or as the document holds it: what the path box names while this listing is on show.
    std::string path;
    // The folder as the listing stores it: for a read, path made absolute without resolving
    // links (AbsolutePath), so a document names the same folder wherever it is opened or
    // updated; for an opened document, the path it holds. Reports, documents, exports and
    // printed titles write it as UTF-8 (see LenientUtf8), whatever bytes it holds.
    std::string folder;
    // The document file the listing was opened from or last saved to (see FileVersion);
    // none for a listing of another folder since, or one never read from or saved to one.
    std::optional<FileVersion> version;
    ListingOrigin origin = ListingOrigin::None;
    // Whether the table has been filled at least once in this run; New leaves it as it was.
    bool shown = false;
    // Changed since it was read, opened or saved.
    bool modified = false;
    // A cell of an entry other than its comment was typed in, which a read renews from disk.
    bool entryTextsEdited = false;

    // Rows taken out of the listing, for putting back later (undo): the rows with all they
    // hold, and how many of them were among the folder rows a sort keeps on top.
    struct RowSlice {
        RowStore rows;
        int headFolders = 0;
    };

    // The depth and content of the listing, as it was read or as its document records them.
    [[nodiscard]] const ListingShape& Shape() const { return doc.shape; }
    // Whether a column click may reorder rows: the listing is flat.
    [[nodiscard]] bool Sortable() const { return !Shape().Tree(); }
    // Whether cells may be edited: only while the Comments column is shown.
    [[nodiscard]] bool EditNotify() const;
    // Whether reading typed (a path as the path box holds it) loses nothing: it names the folder of
    // this listing, which carries every comment and row over, and no entry's own text (its
    // name, size, ...) was edited, which a read renews from the disk.
    [[nodiscard]] bool ReadingAgainLosesNothing(std::string typed) const;
    // Whether absolutePath (as a read makes it, see FolderScan) names the folder of this
    // listing once both are normalized, as a read normalizes the path it reads (a document
    // may hold its folder with a trailing "/"); never before a listing was shown.
    [[nodiscard]] bool IsOfFolder(const std::string& absolutePath) const;
    // Where InsertBlankRow(focusedRow) puts the row: below the focused row and the comment
    // and details rows that belong with it, at the top when focusedRow is -1 (no focus).
    [[nodiscard]] int BlankRowAt(int focusedRow) const;
    // The rows [first, first + count) (clamped to the table) as they are.
    [[nodiscard]] RowSlice CopyRows(int first, int count) const;
    // Where on disk the entry of a row is, found as File Data finds it; empty for a row of
    // no entry.
    [[nodiscard]] std::string EntryPath(int row) const;
};

} // namespace dirscribe
