// SPDX-License-Identifier: MIT
#include "core/ops/ListingUpdate.h"

#include "core/listing/FolderScanner.h"
#include "core/table/RowName.h"
#include "core/table/TableColumn.h"

#include <algorithm>
#include <string>
#include <unordered_map>
#include <vector>

namespace dirscribe {

namespace {

// An entry row of a listing with the comment and details rows below it.
struct RowGroup {
    int entry = -1; // -1: rows above the first entry
    int end = 0;    // one past its last row
    int level = 0;
    std::string key;
    int match = -1;      // the row of the same entry in the new listing
    bool marked = false; // already marked as gone
};

// Groups the rows and gives each entry its key: in a tree, the name cells of the folders
// above it and its own, which hold the levels too; in a flat listing its name cell.
std::vector<RowGroup> GroupRows(const ListingTable& table) {
    std::vector<RowGroup> groups;
    std::vector<std::string_view> folders; // the open folder of each level from 1
    for (int row = 0; row < table.RowCount(); ++row) {
        const std::string_view cell = table.Cell(row, 0);
        if (table.Kind(row) != RowKind::Entry) {
            if (groups.empty())
                groups.push_back({});
            groups.back().end = row + 1;
            continue;
        }
        const bool gone = table.Gone(row);
        const RowName name = ReadRowName(cell, gone);
        const std::string_view own = WithoutGoneMark(cell, gone);
        RowGroup group{row, row + 1, name.level, {}, -1, gone};
        if (name.level > 0) {
            folders.resize(std::min(folders.size(), static_cast<std::size_t>(name.level - 1)));
            for (const std::string_view folder : folders)
                group.key.append(folder).push_back('\n');
            if (name.folder && folders.size() == static_cast<std::size_t>(name.level - 1))
                folders.push_back(own);
        }
        group.key.append(own);
        groups.push_back(std::move(group));
    }
    return groups;
}

// The depth, the content, the columns and, for a tree, the layout the rows show. The settings may
// have changed since the table was filled; the table's own columns say what each cell holds, so the
// comments are found where they are and go where they belong.
void TakeShapeOf(const std::vector<RowGroup>& groups, const ListingTable& table,
                 ListingOptions& options) {
    options.addComments = table.ColumnIndex(kCommentsTitle) >= 0 ? 1 : 0;
    options.addSize = table.ColumnIndex(kSizeTitle) >= 0 ? 1 : 0;
    options.addAttribute = table.ColumnIndex(kAttrTitle) >= 0 ? 1 : 0;
    options.addDate = table.ColumnIndex(kLastModifiedTitle) >= 0 ? 1 : 0;
    bool folders = false;
    bool files = false;
    int depth = 0;
    for (const RowGroup& group : groups) {
        if (group.entry < 0)
            continue;
        const bool folder = ReadRowName(table.Cell(group.entry, 0), table.Gone(group.entry)).folder;
        folders = folders || folder;
        files = files || !folder;
        depth = std::max(depth, group.level);
    }
    options.lastDepth = depth;
    // Only a letter-page listing descends, so a tree was one, whatever layout is chosen now.
    if (depth > 0)
        options.printAs = static_cast<std::int32_t>(PageLayout::Standard);
    if (folders || files)
        options.filesAndFolders = folders && files ? kFilesAndFolders
                                  : folders        ? kFoldersOnly
                                                   : kFilesOnly;
}

// Where each group that is gone goes in the new listing: before the first entry that followed
// it and is found again at its level or above (so it stays inside its folder), else at the end;
// rows above the first entry stay on top.
std::vector<int> GonePlaces(const std::vector<RowGroup>& groups, int newRows) {
    std::vector<int> places(groups.size(), newRows);
    std::vector<const RowGroup*> following; // levels rising towards the back
    for (std::size_t g = groups.size(); g-- > 0;) {
        const RowGroup& group = groups[g];
        if (group.entry < 0) {
            places[g] = 0;
            continue;
        }
        if (group.match >= 0) {
            while (!following.empty() && following.back()->level >= group.level)
                following.pop_back();
            following.push_back(&group);
            continue;
        }
        for (auto it = following.rbegin(); it != following.rend(); ++it) {
            if ((*it)->level <= group.level) {
                places[g] = (*it)->match;
                break;
            }
        }
    }
    return places;
}

class Merge {
public:
    // The merged table starts as the new one without its rows, so it keeps the entries the
    // new rows were made from and each new row keeps its own.
    Merge(const ListingTable& old, const ListingTable& fresh)
        : m_old(old), m_fresh(fresh), m_merged(fresh) {
        m_merged.RemoveRows(0, m_merged.RowCount());
        m_comments = fresh.ColumnIndex(kCommentsTitle);
    }

    ListingTable Run(std::vector<RowGroup>& groups, UpdateCounts& counts) {
        std::unordered_map<std::string, int> found;
        std::vector<RowGroup> freshGroups = GroupRows(m_fresh);
        for (const RowGroup& group : freshGroups)
            if (group.entry >= 0)
                found.emplace(group.key, group.entry);
        std::vector<int> carried(static_cast<std::size_t>(m_fresh.RowCount()), -1);
        for (std::size_t g = 0; g < groups.size(); ++g) {
            RowGroup& group = groups[g];
            const auto it = group.entry < 0 ? found.end() : found.find(group.key);
            if (it != found.end() && carried[static_cast<std::size_t>(it->second)] < 0) {
                group.match = it->second;
                carried[static_cast<std::size_t>(group.match)] = static_cast<int>(g);
                ++counts.kept;
            } else if (group.entry >= 0 && !group.marked) {
                ++counts.gone;
            }
        }
        counts.added = m_fresh.RowCount() - counts.kept;

        const std::vector<int> places = GonePlaces(groups, m_fresh.RowCount());
        std::size_t nextGone = 0;
        std::vector<std::size_t> gone;
        for (std::size_t g = 0; g < groups.size(); ++g)
            if (groups[g].match < 0)
                gone.push_back(g);
        std::stable_sort(gone.begin(), gone.end(),
                         [&](std::size_t a, std::size_t b) { return places[a] < places[b]; });
        m_merged.ReserveRows(m_fresh.RowCount() + m_old.RowCount());
        for (int row = 0; row <= m_fresh.RowCount(); ++row) {
            for (; nextGone < gone.size() && places[gone[nextGone]] == row; ++nextGone)
                KeepGone(groups[gone[nextGone]]);
            if (row == m_fresh.RowCount())
                break;
            const int from = carried[static_cast<std::size_t>(row)];
            CellTexts cells = CellsOf(m_fresh, row);
            if (from >= 0 && m_comments >= 0)
                cells[static_cast<std::size_t>(m_comments)] =
                    m_old.Cell(groups[static_cast<std::size_t>(from)].entry, m_comments);
            m_merged.AppendCells(cells, RowKind::Entry, m_fresh.EntryIndex(row));
            if (from >= 0)
                CopyRows(groups[static_cast<std::size_t>(from)].entry + 1,
                         groups[static_cast<std::size_t>(from)].end);
        }
        return std::move(m_merged);
    }

private:
    // A gone entry's rows, when something was typed or fetched for it.
    void KeepGone(const RowGroup& group) {
        const int first = std::max(group.entry, 0);
        const bool typed = group.end > first + 1 || group.entry < 0 ||
                           (m_comments >= 0 && !m_old.Cell(group.entry, m_comments).empty());
        if (!typed)
            return;
        if (group.entry >= 0) {
            RowRecord record = m_old.Row(group.entry);
            if (!group.marked)
                record[0] += kGoneMark;
            m_merged.AppendRow(record, RowKind::Entry);
            m_merged.SetGone(m_merged.RowCount() - 1, true);
        }
        CopyRows(group.entry + 1, group.end);
    }

    void CopyRows(int first, int end) {
        for (int row = std::max(first, 0); row < end; ++row)
            m_merged.AppendCells(CellsOf(m_old, row), m_old.Kind(row));
    }

    static CellTexts CellsOf(const ListingTable& table, int row) {
        CellTexts cells;
        for (int c = 0; c < kMaxColumns; ++c)
            cells[static_cast<std::size_t>(c)] = table.Cell(row, c);
        return cells;
    }

    const ListingTable& m_old;
    const ListingTable& m_fresh;
    ListingTable m_merged;
    int m_comments = -1;
};

} // namespace

std::optional<ListingUpdate> UpdateListing(const ListingSession& listing, Notice& notice,
                                           Progress& progress, StopFlag& stop) {
    std::vector<RowGroup> groups = GroupRows(listing.Table());
    ListingUpdate update{ListingSession(listing.Options()), {}};
    ListingSession& fresh = update.session;
    TakeShapeOf(groups, listing.Table(), fresh.Options());
    fresh.SetPath(listing.Path());
    if (!fresh.ReadSelectedFolder(notice, progress, stop))
        return std::nullopt;
    fresh.Table() = Merge(listing.Table(), fresh.Table()).Run(groups, update.counts);
    // Comment rows now stand among the rows; like any edit, that ends sorting by clicks.
    fresh.DisableSorting();
    fresh.SetModified(true);
    return update;
}

} // namespace dirscribe
