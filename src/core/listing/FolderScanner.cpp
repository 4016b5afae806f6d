// SPDX-License-Identifier: MIT
#include "core/listing/FolderScanner.h"

#include "core/format/AsciiCase.h"
#include "core/platform/Directory.h"
#include "core/platform/TaskPool.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <optional>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace dirscribe {

namespace {

constexpr std::string_view kSystemVolumeInformation = "system volume information";

bool MentionsSystemVolumeInformation(std::string_view text) {
    return AsciiLower(text).find(kSystemVolumeInformation) != std::string::npos;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (!folder.empty() && folder.back() == '/')
        return folder + name;
    return folder + '/' + name;
}

// One folder as the listing needs it: its entries placed as a single-folder read places
// them and, for each folder entry, what is known of that folder.
struct FolderRead {
    bool readable = false;
    bool otherDevice = false;
    bool complete = false; // the enumeration ended without an error
    int openError = 0;     // errno of a failed open
    ListingSummary summary;
    std::vector<ListingEntry> entries;
    std::vector<std::unique_ptr<FolderRead>> folders; // parallel to entries; null for files
    std::int32_t headFolderCount = 0;
};

enum class SumResult { Complete, Incomplete, Stopped };

// The single pass over the disk. Subfolders may be read on other threads; every result
// lands in its own slot and is assembled in name order, so the outcome never depends on
// the threads. Progress is reported from the thread that started the read only.
class Walker {
public:
    Walker(Progress& progress, const StopFlag& stop, TaskPool& pool, int mode, dev_t device)
        : m_progress(progress), m_stop(stop), m_pool(pool), m_mode(mode), m_device(device),
          m_owner(std::this_thread::get_id()) {}

    // Lists dir and, while depthBelow is not 0, the folders below it (-1: all levels).
    // Null when stopped.
    std::unique_ptr<FolderRead> ReadListed(Directory& dir, int depthBelow);

private:
    // A subfolder waiting to be read, and what its read gave.
    struct SubfolderRead {
        std::optional<Directory> dir; // empty when it could not be opened
        int openError = 0;            // errno of the failed open
        bool listed = false;
        std::unique_ptr<FolderRead> result;
    };

    SumResult SumFolder(Directory& dir, ListingSummary& summary);
    // Reads each subfolder, on a free thread when there is one. False when stopped.
    bool ReadSubfolders(const Directory& dir, const std::vector<std::string>& names,
                        std::vector<SubfolderRead>& reads, int depthBelow);
    void ReadSubfolder(SubfolderRead& read, int depthBelow);
    [[nodiscard]] bool Lists(bool folder) const {
        if (folder)
            return m_mode == kFoldersOnly || m_mode == kFilesAndFolders;
        return m_mode == kFilesOnly || m_mode == kFilesAndFolders;
    }
    [[nodiscard]] bool OnOwnerThread() const { return std::this_thread::get_id() == m_owner; }

    Progress& m_progress;
    const StopFlag& m_stop;
    TaskPool& m_pool;
    int m_mode;
    dev_t m_device;
    std::thread::id m_owner;
};

SumResult Walker::SumFolder(Directory& dir, ListingSummary& summary) {
    std::vector<std::string> subfolders;
    std::string name;
    while (dir.NextName(name)) {
        if (m_stop.Requested())
            return SumResult::Stopped;
        const std::optional<DirectoryEntry> entry = dir.Stat(name, m_device);
        if (!entry)
            continue;
        if (!entry->isFolder) {
            summary.Add({entry->size, 1, 0});
            continue;
        }
        summary.Add({0, 0, 1});
        if (!entry->otherDevice)
            subfolders.push_back(name);
    }
    const bool complete = !dir.Failed();
    std::vector<SubfolderRead> reads(subfolders.size());
    if (!ReadSubfolders(dir, subfolders, reads, 0))
        return SumResult::Stopped;
    for (const SubfolderRead& read : reads)
        summary.Add(read.result->summary);
    return complete ? SumResult::Complete : SumResult::Incomplete;
}

void Walker::ReadSubfolder(SubfolderRead& read, int depthBelow) {
    if (!read.dir) {
        read.result = std::make_unique<FolderRead>();
        read.result->openError = read.openError;
        return;
    }
    if (read.listed && depthBelow != 0) {
        read.result = ReadListed(*read.dir, depthBelow < 0 ? -1 : depthBelow - 1);
    } else {
        auto sub = std::make_unique<FolderRead>();
        sub->readable = true;
        const SumResult result = SumFolder(*read.dir, sub->summary);
        sub->complete = result == SumResult::Complete;
        if (result != SumResult::Stopped)
            read.result = std::move(sub);
    }
    read.dir.reset(); // one open folder per level: close it as soon as it is read
}

bool Walker::ReadSubfolders(const Directory& dir, const std::vector<std::string>& names,
                            std::vector<SubfolderRead>& reads, int depthBelow) {
    TaskPool::Group group;
    for (std::size_t i = 0; i < names.size(); ++i) {
        SubfolderRead& read = reads[i];
        read.dir = dir.OpenChild(names[i]);
        if (!read.dir)
            read.openError = errno;
        if (!m_pool.TryPost(group, [this, &read, depthBelow] { ReadSubfolder(read, depthBelow); }))
            ReadSubfolder(read, depthBelow);
    }
    m_pool.Wait(group);
    return std::all_of(reads.begin(), reads.end(),
                       [](const SubfolderRead& read) { return read.result != nullptr; });
}

std::unique_ptr<FolderRead> Walker::ReadListed(Directory& dir, int depthBelow) {
    std::vector<std::string> names;
    for (std::string name; dir.NextName(name);)
        names.push_back(std::move(name));
    std::sort(names.begin(), names.end(), ListingNameLess);

    auto folder = std::make_unique<FolderRead>();
    folder->readable = true;
    folder->complete = !dir.Failed();
    std::vector<ListingEntry> files;
    std::vector<ListingEntry> folders;
    std::vector<int> folderReadIndex; // per listed folder: its read, or -1 on another device
    std::vector<std::string> subfolders;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (m_stop.Requested())
            return nullptr;
        if (i > 0 && OnOwnerThread()) {
            m_progress.SetMessage(names[i]);
            m_progress.Step();
        }
        const std::optional<DirectoryEntry> info = dir.Stat(names[i], m_device);
        if (!info)
            continue;
        ListingEntry entry{info->attributes, std::move(names[i]), info->size, info->modified};
        if (!info->isFolder) {
            folder->summary.Add({entry.size, 1, 0});
            if (Lists(false))
                files.push_back(std::move(entry));
            continue;
        }
        folder->summary.Add({0, 0, 1});
        int readIndex = -1;
        if (!info->otherDevice) {
            readIndex = static_cast<int>(subfolders.size());
            subfolders.push_back(entry.name);
        }
        if (Lists(true)) {
            folders.push_back(std::move(entry));
            folderReadIndex.push_back(readIndex);
        }
    }

    std::vector<SubfolderRead> reads(subfolders.size());
    for (SubfolderRead& read : reads)
        read.listed = Lists(true);
    if (!ReadSubfolders(dir, subfolders, reads, depthBelow))
        return nullptr;
    for (const SubfolderRead& read : reads)
        folder->summary.Add(read.result->summary);

    std::vector<std::unique_ptr<FolderRead>> folderReads;
    for (std::size_t k = 0; k < folders.size(); ++k) {
        std::unique_ptr<FolderRead> sub;
        if (folderReadIndex[k] < 0) {
            sub = std::make_unique<FolderRead>();
            sub->otherDevice = sub->complete = true;
        } else {
            sub = std::move(reads[static_cast<std::size_t>(folderReadIndex[k])].result);
        }
        ListingEntry& entry = folders[k];
        entry.size = sub->summary.totalBytes;
        if (!(sub->readable && sub->complete) && !sub->otherDevice &&
            MentionsSystemVolumeInformation(entry.name)) {
            entry.name += kRestrictedSuffix;
            sub->readable = false; // the decorated name is no path a tree read could open
        }
        folderReads.push_back(std::move(sub));
    }
    // Folders go to the head one by one, so they end up in reverse order; files follow.
    folder->headFolderCount = m_mode == kFilesAndFolders ? static_cast<int>(folders.size()) : 0;
    folder->entries.reserve(folders.size() + files.size());
    folder->entries.insert(folder->entries.end(), std::make_move_iterator(folders.rbegin()),
                           std::make_move_iterator(folders.rend()));
    folder->folders.insert(folder->folders.end(), std::make_move_iterator(folderReads.rbegin()),
                           std::make_move_iterator(folderReads.rend()));
    folder->entries.insert(folder->entries.end(), std::make_move_iterator(files.begin()),
                           std::make_move_iterator(files.end()));
    folder->folders.resize(folder->entries.size());
    return folder;
}

// Builds the tree rows from what the walk kept: each folder row after the rows of its own
// contents in `collected`, so that the completion, which reverses them, puts every folder
// right above its contents.
class TreeBuilder {
public:
    TreeBuilder(Notice& notice, int depth, std::vector<ListingEntry>& collected)
        : m_notice(notice), m_depth(depth), m_collected(collected) {}

    void ReadTree(FolderRead& folder, const std::string& path, int& level);

private:
    Notice& m_notice;
    int m_depth;
    std::vector<ListingEntry>& m_collected;
};

void ReportUnreadable(Notice& notice, const std::string& path) {
    if (!MentionsSystemVolumeInformation(path))
        notice.Show(kCaption, std::string(kProblemReadingFolder) + path);
}

void ReportUnreadableSubfolder(Notice& notice, const std::string& path, int error) {
    if (!MentionsSystemVolumeInformation(path))
        notice.SubfolderUnreadable(path, error != 0 ? std::strerror(error) : "");
}

void TreeBuilder::ReadTree(FolderRead& folder, const std::string& path, int& level) {
    if (m_depth >= 0 && level >= m_depth)
        return;
    const int current = ++level;
    for (std::size_t i = 0; i < folder.entries.size(); ++i) {
        ListingEntry& entry = folder.entries[i];
        if (!entry.IsFolder()) {
            entry.name = TreeFileName(entry.name, current);
            m_collected.push_back(std::move(entry));
            continue;
        }
        const std::string subPath = JoinPath(path, entry.name);
        entry.name = TreeFolderName(entry.name, current);
        FolderRead& sub = *folder.folders[i];
        if (sub.readable)
            ReadTree(sub, subPath, level);
        else if (!sub.otherDevice)
            ReportUnreadableSubfolder(m_notice, subPath, sub.openError);
        m_collected.push_back(std::move(entry));
    }
    folder.entries.clear();
    folder.folders.clear();
    --level;
}

} // namespace

std::string TreeFolderName(const std::string& name, int level) {
    std::string decorated;
    decorated.reserve(static_cast<std::size_t>(3 * level) + name.size() + 2);
    for (int i = 0; i < level; ++i)
        decorated += "| ";
    decorated.append(static_cast<std::size_t>(level), '-');
    decorated += '[';
    decorated += name;
    decorated += ']';
    return decorated;
}

std::string TreeFileName(const std::string& name, int level) {
    std::string decorated;
    for (int i = 1; i < level; ++i)
        decorated += "| ";
    decorated.append(static_cast<std::size_t>(3 * level), ' ');
    decorated += name;
    return decorated;
}

ReadOutcome FolderScanner::ReadFolder(CDirscribeDoc& doc, const std::string& path, int mode) {
    return Read(doc, path, mode, 0);
}

ReadOutcome FolderScanner::ReadFolderTree(CDirscribeDoc& doc, const std::string& path, int mode,
                                          int depth) {
    return Read(doc, path, mode, depth);
}

ReadOutcome FolderScanner::Read(CDirscribeDoc& doc, const std::string& path, int mode, int depth) {
    doc.entries.clear();
    doc.collected.clear();
    doc.summary = {};
    doc.headFolderCount = 0;

    m_progress.Begin();
    std::optional<Directory> top = Directory::Open(path);
    if (!top) {
        m_progress.End();
        ReportUnreadable(m_notice, path);
        return ReadOutcome::Failed;
    }
    // The levels below the top folder whose contents the tree shows.
    const int depthBelow = depth < 0 ? -1 : std::max(depth - 1, 0);
    // A few readers keep the kernel busy; more would only make a spinning disk seek.
    constexpr unsigned kMaxReaders = 4;
    TaskPool pool(TaskPool::CoresUpTo(kMaxReaders));
    Walker walker(m_progress, m_stop, pool, mode, top->Device());
    std::unique_ptr<FolderRead> folder = walker.ReadListed(*top, depthBelow);
    m_progress.End();
    if (!folder)
        return ReadOutcome::Stopped;

    doc.summary = folder->summary;
    if (depth == 0) {
        doc.headFolderCount = folder->headFolderCount;
        doc.entries = std::move(folder->entries);
        return ReadOutcome::Read;
    }
    int level = 0;
    TreeBuilder(m_notice, depth, doc.collected).ReadTree(*folder, path, level);
    // The completion: every collected row goes to the head of the listing in turn.
    std::reverse(doc.collected.begin(), doc.collected.end());
    doc.entries = std::move(doc.collected);
    doc.collected.clear();
    return ReadOutcome::Read;
}

} // namespace dirscribe
