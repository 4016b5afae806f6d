// SPDX-License-Identifier: MIT
#include "core/listing/FolderScanner.h"

#include "core/format/AsciiCase.h"
#include "core/listing/EntryList.h"
#include "core/listing/FolderWalk.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string_view>
#include <utility>
#include <vector>

namespace dirscribe {

namespace {

constexpr std::string_view kSystemVolumeInformation = "system volume information";

bool MentionsSystemVolumeInformation(std::string_view text) {
    return AsciiLower(text).find(kSystemVolumeInformation) != std::string::npos;
}

// A folder entry takes its total from what the walk found below it, and the mark of a
// system folder that could not be read whole.
void SettleFolderEntry(EntryStore& entries, std::size_t index, FolderRead& sub) {
    entries.SetFolderTotal(index, sub.summary.totalBytes);
    if (!(sub.readable && sub.complete) && !sub.otherDevice &&
        MentionsSystemVolumeInformation(entries.Name(index))) {
        entries.MarkRestricted(index);
        sub.readable = false; // the marked name is no path a tree read could open
    }
}

void ReportUnreadable(Notice& notice, const std::string& path) {
    if (!MentionsSystemVolumeInformation(path))
        notice.Show(kCaption, std::string(kProblemReadingFolder) + path);
}

// Puts what the walk kept in the order the listing shows it: each folder row followed by
// the rows of its own contents, the rows of one folder in the reverse of its single-folder
// order. The entries stay where the walk stored them; each gets its level and folder, and
// the order lists them. Without recursion, for trees of any depth.
class TreeBuilder {
public:
    TreeBuilder(Notice& notice, int depth, const std::string& path)
        : m_notice(notice), m_depth(depth), m_path(path) {}

    std::vector<std::uint32_t> Build(EntryStore& entries, FolderRead& top);

private:
    struct Step {
        FolderRead* folder;
        std::size_t remaining; // entries not yet taken, from the back
        std::int32_t level;
        std::uint32_t parent; // the entry of the folder, kNoEntry for the listed one
    };
    [[nodiscard]] bool Descends(std::int32_t level) const { return m_depth < 0 || level < m_depth; }
    [[nodiscard]] std::size_t CountRows(FolderRead& top) const;

    Notice& m_notice;
    int m_depth;
    const std::string& m_path;
};

std::size_t TreeBuilder::CountRows(FolderRead& top) const {
    std::size_t rows = 0;
    std::vector<std::pair<FolderRead*, std::int32_t>> pending = {{&top, 1}};
    while (!pending.empty()) {
        const auto [folder, level] = pending.back();
        pending.pop_back();
        rows += folder->count;
        if (!Descends(level))
            continue;
        for (FolderRead* sub : folder->folders)
            if (sub->readable && !sub->otherDevice)
                pending.emplace_back(sub, level + 1);
    }
    return rows;
}

std::vector<std::uint32_t> TreeBuilder::Build(EntryStore& entries, FolderRead& top) {
    std::vector<std::uint32_t> order;
    order.reserve(CountRows(top));
    std::vector<Step> steps = {{&top, top.count, 1, kNoEntry}};
    while (!steps.empty()) {
        Step& step = steps.back();
        if (step.remaining == 0) {
            steps.pop_back();
            continue;
        }
        const std::size_t i = --step.remaining;
        const std::int32_t level = step.level;
        FolderRead* sub = step.folder->FolderAt(i);
        const auto entry = static_cast<std::uint32_t>(step.folder->first + i);
        entries.Place(entry, level, step.parent);
        if (sub != nullptr)
            SettleFolderEntry(entries, entry, *sub);
        order.push_back(entry);
        if (sub == nullptr || sub->otherDevice)
            continue;
        if (!sub->readable) {
            const std::string subPath =
                EntryList::JoinPath(m_path, EntryList::RelativePath(entries, entry));
            if (!MentionsSystemVolumeInformation(subPath))
                m_notice.SubfolderUnreadable(
                    subPath, sub->openError != 0 ? std::strerror(sub->openError) : "");
        } else if (Descends(level)) {
            steps.push_back({sub, sub->count, level + 1, entry});
        }
    }
    return order;
}

} // namespace

ReadOutcome FolderScanner::ReadFolder(CDirscribeDoc& doc, const std::string& path,
                                      ListingContent content) {
    return Read(doc, path, content, 0);
}

ReadOutcome FolderScanner::ReadFolderTree(CDirscribeDoc& doc, const std::string& path,
                                          ListingContent content, int depth) {
    return Read(doc, path, content, depth);
}

ReadOutcome FolderScanner::Read(CDirscribeDoc& doc, const std::string& path, ListingContent content,
                                int depth) {
    doc.entries.Release();
    doc.order.clear();
    doc.summary = {};
    doc.headFolderCount = 0;

    // The levels below the top folder whose contents the tree shows.
    const int depthBelow = depth < 0 ? -1 : std::max(depth - 1, 0);
    FolderWalk walk(m_progress, m_stop);
    switch (walk.Walk(path, content, depthBelow)) {
    case FolderWalk::Outcome::Read:
        break;
    case FolderWalk::Outcome::Stopped:
        return ReadOutcome::Stopped;
    case FolderWalk::Outcome::OutOfMemory:
        throw std::bad_alloc();
    case FolderWalk::Outcome::Unopened:
        ReportUnreadable(m_notice, path);
        return ReadOutcome::Failed;
    case FolderWalk::Outcome::Failed:
        m_notice.Show(kCaption, std::string(kProblemReadingFolder) + walk.Failure());
        return ReadOutcome::Failed;
    }

    FolderRead& folder = walk.Top();
    EntryStore& entries = walk.Entries();
    if (depth == 0) {
        // A subfolder that cannot be opened is not counted: it is named, as a tree read does.
        for (std::size_t i = 0; i < folder.folders.size(); ++i) {
            FolderRead& sub = *folder.folders[i];
            SettleFolderEntry(entries, i, sub);
            const std::string subPath = EntryList::JoinPath(path, std::string(entries.Name(i)));
            if (!sub.readable && !sub.otherDevice && !MentionsSystemVolumeInformation(subPath))
                m_notice.SubfolderUnreadable(
                    subPath, sub.openError != 0 ? std::strerror(sub.openError) : "");
        }
        doc.headFolderCount = folder.headFolderCount;
    } else {
        doc.order = TreeBuilder(m_notice, depth, path).Build(entries, folder);
    }
    doc.entries = std::move(entries);
    doc.summary = folder.summary;
    doc.shape = {depth < 0 ? -1 : depth, content};
    return ReadOutcome::Read;
}

} // namespace dirscribe
