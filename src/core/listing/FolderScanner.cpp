// SPDX-License-Identifier: MIT
#include "core/listing/FolderScanner.h"

#include "core/platform/Directory.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace dirscribe {

namespace {

constexpr std::string_view kSystemVolumeInformation = "system volume information";

bool MentionsSystemVolumeInformation(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return lower.find(kSystemVolumeInformation) != std::string::npos;
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
    ListingSummary summary;
    std::vector<ListingEntry> entries;
    std::vector<std::unique_ptr<FolderRead>> folders; // parallel to entries; null for files
    std::int32_t headFolderCount = 0;
};

enum class SumResult { Complete, Incomplete, Stopped };

// The single pass over the disk.
class Walker {
public:
    Walker(Progress& progress, const StopFlag& stop, int mode, dev_t device)
        : m_progress(progress), m_stop(stop), m_mode(mode), m_device(device) {}

    // Lists dir and, while depthBelow is not 0, the folders below it (-1: all levels).
    // Null when stopped.
    std::unique_ptr<FolderRead> ReadListed(Directory& dir, int depthBelow);

private:
    SumResult SumFolder(Directory& dir, ListingSummary& summary);
    std::unique_ptr<FolderRead> ReadSubfolder(const Directory& dir, const std::string& name,
                                              bool listed, int depthBelow, bool& stopped);
    [[nodiscard]] bool Lists(bool folder) const {
        if (folder)
            return m_mode == kFoldersOnly || m_mode == kFilesAndFolders;
        return m_mode == kFilesOnly || m_mode == kFilesAndFolders;
    }

    Progress& m_progress;
    const StopFlag& m_stop;
    int m_mode;
    dev_t m_device;
};

SumResult Walker::SumFolder(Directory& dir, ListingSummary& summary) {
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
        if (entry->otherDevice)
            continue;
        if (std::optional<Directory> child = dir.OpenChild(name))
            if (SumFolder(*child, summary) == SumResult::Stopped)
                return SumResult::Stopped;
    }
    return dir.Failed() ? SumResult::Incomplete : SumResult::Complete;
}

std::unique_ptr<FolderRead> Walker::ReadSubfolder(const Directory& dir, const std::string& name,
                                                  bool listed, int depthBelow, bool& stopped) {
    std::optional<Directory> child = dir.OpenChild(name);
    if (!child)
        return std::make_unique<FolderRead>();
    if (listed && depthBelow != 0) {
        std::unique_ptr<FolderRead> sub = ReadListed(*child, depthBelow < 0 ? -1 : depthBelow - 1);
        stopped = sub == nullptr;
        return sub;
    }
    auto sub = std::make_unique<FolderRead>();
    sub->readable = true;
    const SumResult result = SumFolder(*child, sub->summary);
    stopped = result == SumResult::Stopped;
    sub->complete = result == SumResult::Complete;
    return sub;
}

std::unique_ptr<FolderRead> Walker::ReadListed(Directory& dir, int depthBelow) {
    std::vector<std::string> names;
    for (std::string name; dir.NextName(name);)
        names.push_back(std::move(name));
    std::sort(names.begin(), names.end(), ListingNameLess);

    auto folder = std::make_unique<FolderRead>();
    folder->readable = true;
    folder->complete = !dir.Failed();
    std::vector<ListingEntry> folders;
    std::vector<std::unique_ptr<FolderRead>> folderReads;
    std::vector<ListingEntry> files;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (m_stop.Requested())
            return nullptr;
        if (i > 0) {
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
        std::unique_ptr<FolderRead> sub;
        if (info->otherDevice) {
            sub = std::make_unique<FolderRead>();
            sub->otherDevice = sub->complete = true;
        } else {
            bool stopped = false;
            sub = ReadSubfolder(dir, entry.name, Lists(true), depthBelow, stopped);
            if (stopped)
                return nullptr;
        }
        folder->summary.Add(sub->summary);
        entry.size = sub->summary.totalBytes;
        if (!(sub->readable && sub->complete) && !sub->otherDevice &&
            MentionsSystemVolumeInformation(entry.name)) {
            entry.name += kRestrictedSuffix;
            sub->readable = false; // the decorated name is no path a tree read could open
        }
        if (Lists(true)) {
            folders.push_back(std::move(entry));
            folderReads.push_back(std::move(sub));
        }
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
        notice.Show(kCaption, kProblemReadingFolder + path);
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
            ReportUnreadable(m_notice, subPath);
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
    Walker walker(m_progress, m_stop, mode, top->Device());
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
    doc.entries.assign(std::make_move_iterator(doc.collected.rbegin()),
                       std::make_move_iterator(doc.collected.rend()));
    doc.collected.clear();
    return ReadOutcome::Read;
}

} // namespace dirscribe
