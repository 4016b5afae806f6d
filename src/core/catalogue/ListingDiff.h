// SPDX-License-Identifier: MIT
// What changed between two listings of a folder, or since a listing was saved.
#pragma once

#include "core/listing/ListingShape.h"
#include "core/platform/ByteSink.h"
#include "core/platform/Notice.h"
#include "core/platform/Progress.h"
#include "core/platform/StopFlag.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace dirscribe {

// An entry as a comparison sees it: its path of raw names below the listed folder, joined
// with "/".
struct DiffEntry {
    std::string path;
    bool folder = false;
    std::uint64_t bytes = 0;
    std::uint64_t modified = 0; // file time
};

// The entries of a listing, with the folder it is of and the shape it was read in.
struct DiffListing {
    std::string folder;
    ListingShape shape;
    std::vector<DiffEntry> entries; // in the order of the rows
};

// The order of entries: by path, name by name, each pair of names as a listing orders them
// (bytes compared after mapping a-z to A-Z), so a folder comes just before what it holds;
// paths that differ only in case by their raw bytes. As a key compared byte by byte.
std::string PathKey(std::string_view path);

// The entries a document records (with their exact sizes and times; gone entries left
// out). Throws Error naming the document when it cannot be read, is not a document, or
// records no entries (it was written before they were recorded; updating it records them).
DiffListing ReadDiffListing(const std::string& document);
// Both documents' entries, read at once (the second on a thread of its own). Throws as
// ReadDiffListing, the first document's trouble first.
std::pair<DiffListing, DiffListing> ReadDiffListings(const std::string& before,
                                                     const std::string& after);

// The entries of the folder as a read in `shape` finds them now. Throws Error with the
// reason when the folder cannot be read (the messages of the read go to notice).
DiffListing ReadDiffFolder(const std::string& folder, const ListingShape& shape, Notice& notice,
                           Progress& progress, StopFlag& stop);

enum class ChangeKind : std::uint8_t { Added, Gone, Grown, Shrunk, Modified };

struct Change {
    ChangeKind kind = ChangeKind::Added;
    std::string path;
    bool folder = false;
    std::uint64_t oldBytes = 0; // of an entry gone, grown, shrunk or modified
    std::uint64_t newBytes = 0; // of an entry added, grown, shrunk or modified
    std::uint64_t oldModified = 0;
    std::uint64_t newModified = 0;
};

struct DiffTotals {
    std::uint64_t added = 0;
    std::uint64_t gone = 0;
    std::uint64_t grown = 0;
    std::uint64_t shrunk = 0;
    std::uint64_t modified = 0;
    std::uint64_t addedBytes = 0;  // of the files added
    std::uint64_t goneBytes = 0;   // of the files gone
    std::uint64_t grownBytes = 0;  // what the files grown grew by
    std::uint64_t shrunkBytes = 0; // what the files shrunk shrank by

    [[nodiscard]] bool Any() const { return added + gone + grown + shrunk + modified != 0; }
};

// The changes from `before` to `after`, by path in PathKey order: entries added or gone
// (folders too), files grown or shrunk, files of the same size modified at another time.
// A folder's size and time follow what it holds, so they are not changes of their own.
// Entries are matched by their paths through a hash table, and only the changes sorted.
std::vector<Change> CompareListings(const DiffListing& before, const DiffListing& after,
                                    DiffTotals& totals);

// The changes as text, a change a line, tab-separated (kind, path with "/" after a
// folder's, then the bytes, the difference or the two times in local time), then a line of
// totals when anything changed.
void WriteDiffText(const std::vector<Change>& changes, const DiffTotals& totals, ByteSink& sink);
// The same as one JSON object: {"before": FOLDER, "after": FOLDER, "changes": [...],
// "totals": {...}}, times in ISO 8601 (UTC).
void WriteDiffJson(const DiffListing& before, const DiffListing& after,
                   const std::vector<Change>& changes, const DiffTotals& totals, ByteSink& sink);

} // namespace dirscribe
