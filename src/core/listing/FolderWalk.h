// SPDX-License-Identifier: MIT
// The single pass over the disk that a folder read makes.
#pragma once

#include "core/listing/EntryStore.h"
#include "core/listing/FolderRead.h"
#include "core/listing/ListingContent.h"
#include "core/platform/Progress.h"
#include "core/platform/StopFlag.h"

#include <string>

namespace dirscribe {

// Walks a folder and everything below it. Every folder below the listed one is enumerated
// exactly once, whatever the depth: one pass gives each folder its totals and keeps the
// entries of the folders whose contents a listing shows, each folder's as a single-folder
// read places them (the folders content asks for first, in the reverse of ListingNameLess order,
// then the files it asks for, in that order). Symbolic links are never followed; a folder
// on another file system is counted and never entered; a subfolder that cannot be opened
// is counted, marked, and the walk goes on. Each reader keeps a few folders open, climbing
// back through "..", so neither the depth nor the descriptor limit changes the result: the
// walk is right, or fails naming the folder. Subfolders are read on spare cores; nothing
// found depends on the threads. Progress is begun and ended by Walk, from its own thread:
// a range for a whole volume (its inodes in use), and a step per entry read.
class FolderWalk {
public:
    enum class Outcome { Read, Stopped, Unopened, Failed, OutOfMemory };

    FolderWalk(Progress& progress, const StopFlag& stop) : m_progress(progress), m_stop(stop) {}
    FolderWalk(const FolderWalk&) = delete;
    FolderWalk& operator=(const FolderWalk&) = delete;

    // Walks the folder at path (a link there is followed), keeping the entries of the listed
    // folder and of depthBelow levels below it (-1: all). Once per FolderWalk. Unopened when
    // the folder cannot be opened, Failed when the walk could not go on (Failure() says
    // where), Stopped when the stop flag was seen; what was found is then incomplete.
    Outcome Walk(const std::string& path, ListingContent content, int depthBelow);

    // The listed folder: its summary (everything below it) and its kept entries; each kept
    // folder entry leads to the FolderRead of that folder.
    [[nodiscard]] FolderRead& Top() { return m_top; }
    // Every kept entry, each folder's together, in the order the walk met the folders.
    [[nodiscard]] EntryStore& Entries() { return m_entries; }
    // For Failed: the folder's path and the reason, e.g. "/a/b (Too many open files)".
    [[nodiscard]] const std::string& Failure() const { return m_failure; }

private:
    Progress& m_progress;
    const StopFlag& m_stop;
    FolderArena m_folders; // every FolderRead but the top one
    EntryStore m_entries;
    FolderRead m_top;
    std::string m_failure;
};

} // namespace dirscribe
