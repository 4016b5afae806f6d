// SPDX-License-Identifier: MIT
// Reads a folder, and its subfolders to a chosen depth, into the document.
#pragma once

#include "core/listing/CDirscribeDoc.h"
#include "core/listing/ListingContent.h"
#include "core/platform/Notice.h"
#include "core/platform/Progress.h"
#include "core/platform/StopFlag.h"

#include <string>

namespace dirscribe {

enum class ReadOutcome { Read, Failed, Stopped };

// One FolderWalk per read, whatever the depth, gathers the totals of every subfolder and
// the contents of the levels the listing shows; the listing is then assembled from memory.
// A read that fails or is stopped leaves the document empty; one that runs out of memory
// throws std::bad_alloc.
class FolderScanner {
public:
    FolderScanner(Notice& notice, Progress& progress, const StopFlag& stop)
        : m_notice(notice), m_progress(progress), m_stop(stop) {}

    // The single-folder read: entries by content (folders first in reverse name order, then
    // files in name order), headFolderCount, and the summary of everything below the folder.
    // A folder that cannot be read gets "There are problem reading folder  " + path, except
    // below a "system volume information" folder, which fails silently. A subfolder that
    // cannot be opened (its total then lacks what it holds) is reported (SubfolderUnreadable).
    ReadOutcome ReadFolder(CDirscribeDoc& doc, const std::string& path, ListingContent content);

    // The single-folder read followed by the tree read to depth levels (-1: no limit): each
    // folder row is followed by the rows of its own contents, prefixed with the tree
    // decoration (see ShownName). The summary stays that of the top folder; headFolderCount is 0
    // when the read descended. Subfolders that cannot be read are reported (SubfolderUnreadable)
    // and get no rows. Each entry knows its level and the folder row it is in.
    ReadOutcome ReadFolderTree(CDirscribeDoc& doc, const std::string& path, ListingContent content,
                               int depth);

private:
    ReadOutcome Read(CDirscribeDoc& doc, const std::string& path, ListingContent content,
                     int depth);

    Notice& m_notice;
    Progress& m_progress;
    const StopFlag& m_stop;
};

} // namespace dirscribe
