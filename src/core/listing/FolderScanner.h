// SPDX-License-Identifier: MIT
// Reads a folder, and its subfolders to a chosen depth, into the document.
#pragma once

#include "core/listing/CDirscribeDoc.h"
#include "core/listing/ListingShape.h"
#include "core/platform/Notice.h"
#include "core/platform/Progress.h"
#include "core/platform/StopFlag.h"

#include <string>

namespace dirscribe {

enum class ReadOutcome { Read, Failed, Stopped };

inline constexpr const char* kRestrictedSuffix = " *restricted";

// Every folder below the one that is read is enumerated exactly once per read, whatever
// the depth: one pass gathers the totals of every subfolder and the contents of the levels
// the listing shows, and the listing is then assembled from memory. Symbolic links are not
// followed and other file systems are not entered. The walk holds a few open folders per
// reader, whatever the depth, within what the process may open: totals are right whatever
// the descriptor limit, or the read fails with a message. A read that fails or is stopped
// leaves the document empty; one that runs out of memory throws std::bad_alloc.
class FolderScanner {
public:
    FolderScanner(Notice& notice, Progress& progress, const StopFlag& stop)
        : m_notice(notice), m_progress(progress), m_stop(stop) {}

    // The single-folder read: entries by mode (folders first in reverse name order, then
    // files in name order), headFolderCount, and the summary of everything below the folder.
    // A folder that cannot be read gets "There are problem reading folder  " + path, except
    // below a "system volume information" folder, which fails silently.
    ReadOutcome ReadFolder(CDirscribeDoc& doc, const std::string& path, int mode);

    // The single-folder read followed by the tree read to depth levels (-1: no limit): each
    // folder row is followed by the rows of its own contents, prefixed with the tree
    // decoration. The summary stays that of the top folder; headFolderCount is 0 when the
    // read descended. Subfolders that cannot be read are reported (SubfolderUnreadable)
    // and get no rows. Each entry knows its level and the folder row it is in.
    ReadOutcome ReadFolderTree(CDirscribeDoc& doc, const std::string& path, int mode, int depth);

private:
    ReadOutcome Read(CDirscribeDoc& doc, const std::string& path, int mode, int depth);

    Notice& m_notice;
    Progress& m_progress;
    const StopFlag& m_stop;
};

// The tree decorations: a folder Data at level 2 becomes "| | --[Data]", a file at level 1
// gets three blanks before its name.
std::string TreeFolderName(const std::string& name, int level);
std::string TreeFileName(const std::string& name, int level);

// The name as the listing shows it: display text (see DisplayText), " *restricted" where
// the folder is marked so, and the tree decoration of its level.
std::string ShownName(const ListingEntry& entry);
// The same for entry `index` of a store.
std::string ShownName(const EntryStore& entries, std::size_t index);

} // namespace dirscribe
