// SPDX-License-Identifier: MIT
#include "core/ops/ListingMerge.h"

#include "core/format/Utf8.h"
#include "core/listing/EntryList.h"
#include "core/platform/PathStatus.h"
#include "core/table/NameCell.h"
#include "core/table/TableColumn.h"
#include "core/table/TablePopulation.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <functional>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace dirscribe {

namespace {

// Paths are compared by a 128-bit key made from the names down from the listed folder, so
// that no two paths of even a billion entries can be expected to share one (a shared key
// would carry a comment to another file), and a key is made from its folder's key in one
// step, without building the path. Its halves hash each name two independent ways.
struct PathKey {
    std::uint64_t high = 0;
    std::uint64_t low = 0;
    friend bool operator==(const PathKey&, const PathKey&) = default;
};

struct PathKeyHash {
    std::size_t operator()(const PathKey& key) const { return key.low; }
};

template <typename Value> using ByKey = std::unordered_map<PathKey, Value, PathKeyHash>;

constexpr PathKey kRootKey{0x6a09e667f3bcc909, 0xbb67ae8584caa73b};

std::uint64_t Mixed(std::uint64_t x) {
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9;
    x = (x ^ (x >> 27)) * 0x94d049bb133111eb;
    return x ^ (x >> 31);
}

// The second way of hashing a name: eight bytes at a time through the mix above.
std::uint64_t WordHash(std::string_view name) {
    std::uint64_t hash = 0x9ae16a3b2f90404f ^ name.size();
    std::size_t at = 0;
    for (; at + 8 <= name.size(); at += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, name.data() + at, 8);
        hash = Mixed(hash ^ word);
    }
    std::uint64_t tail = 0;
    std::memcpy(&tail, name.data() + at, name.size() - at);
    return Mixed(hash ^ tail);
}

std::uint64_t Combined(std::uint64_t folder, std::uint64_t name) {
    return Mixed(folder ^ (name + 0x9e3779b97f4a7c15 + (folder << 6) + (folder >> 2)));
}

PathKey ChildKey(const PathKey& folder, std::string_view name) {
    return {Combined(folder.high, std::hash<std::string_view>()(name)),
            Combined(folder.low, WordHash(name))};
}

// The key of every entry of a store; a folder stands before its contents.
std::vector<PathKey> EntryKeys(const EntryStore& store) {
    std::vector<PathKey> keys(store.Size());
    for (std::size_t i = 0; i < store.Size(); ++i) {
        const std::uint32_t up = store.Parent(i);
        keys[i] = ChildKey(up < i ? keys[up] : kRootKey, store.Name(i));
    }
    return keys;
}

// Writes rows of an old table into a new one whose columns may differ: each cell goes to the
// column of the same kind.
class RowWriter {
public:
    RowWriter(const ListingTable& from, ListingTable& to) : m_from(from), m_to(to) {
        for (int c = 0; c < to.ColumnCount(); ++c)
            m_columns[static_cast<std::size_t>(c)] =
                c == 0 ? 0 : from.ColumnIndex(to.KindOfColumn(c));
        m_comments = from.ColumnIndex(ColumnKind::Comments);
        m_toComments = to.ColumnIndex(ColumnKind::Comments);
    }

    // The Comments cell of an old row, without keeping the texts of a row that has none.
    std::string Comment(int row) {
        return m_comments < 0 ? std::string()
                              : std::string(m_from.CellText(row, m_comments, m_scratch));
    }

    // An old row with its cells in the new columns and its kind; an entry row marked gone
    // or not, its name's kGoneMark following the mark.
    void CopyRow(int row, bool gone) {
        CellTexts cells;
        for (std::size_t c = 0; c < cells.size(); ++c)
            cells[c] = m_columns[c] < 0 ? std::string_view()
                                        : m_from.CellText(row, m_columns[c], m_cells[c]);
        const RowKind kind = m_from.Kind(row);
        if (kind != RowKind::Entry) {
            m_to.AppendCells(cells, kind);
            return;
        }
        std::string name(WithoutGoneMark(cells[0], m_from.Gone(row)));
        if (gone)
            name += kGoneMark;
        cells[0] = name;
        m_to.AppendCells(cells, kind);
        m_to.SetGone(m_to.RowCount() - 1, gone);
    }

    void CopyRows(int first, int end) {
        for (int row = first; row < end; ++row)
            CopyRow(row, false);
    }

    // Over the row just written for old row `row`, the texts typed into its entry's own cells
    // (which differ from what its entry makes in the old table's style).
    void KeepTypedTexts(int row) {
        const int written = m_to.RowCount() - 1;
        for (int c = 0; c < m_to.ColumnCount(); ++c) {
            const int from = m_columns[static_cast<std::size_t>(c)];
            if (from < 0 || c == m_toComments)
                continue;
            const std::string_view text =
                WithoutGoneMark(m_from.CellText(row, from, m_cells[0]), m_from.Gone(row));
            if (text != m_from.EntryText(row, from, m_scratch))
                m_to.SetCell(written, c,
                             std::string(text) +
                                 (c == 0 && m_to.Gone(written) ? std::string(kGoneMark) : ""));
        }
    }

    // A row of entry `entry` of the new table's entries, with its texts and this comment.
    void Entry(std::uint32_t entry, const std::string& comment, bool gone) {
        m_to.AppendEntryRow(entry);
        const int row = m_to.RowCount() - 1;
        if (gone) {
            m_to.SetCell(row, 0, std::string(m_to.Cell(row, 0)) + std::string(kGoneMark));
            m_to.SetGone(row, true);
        }
        if (!comment.empty() && m_toComments >= 0)
            m_to.SetCell(row, m_toComments, comment);
    }

private:
    const ListingTable& m_from;
    ListingTable& m_to;
    std::array<int, kMaxColumns> m_columns{-1, -1, -1, -1, -1};
    int m_comments = -1;
    int m_toComments = -1;
    std::string m_scratch;
    std::array<std::string, kMaxColumns> m_cells;
};

// An entry row of the old listing and the rows that belong to it.
struct OldEntry {
    int row = 0;
    int end = 0;                    // one past the last row before the next entry
    std::uint32_t entry = kNoEntry; // in the old table's entries, where it knows one
    PathKey key;                    // its path, as found again when it was
    PathKey folderKey = kRootKey;
    int folder = -1;                // the OldEntry of its folder, when one stands above it
    std::string_view name;          // what its cell names it, where it knows no entry
    std::uint32_t match = kNoEntry; // the new entry it is
    bool typed = false;
    bool keep = false;
    bool gone = false; // not on disk now
};

// A place in the merged listing: a new row (from 0), an old entry kept (-1 - index), or the
// top of the listing.
using Node = std::int64_t;
constexpr Node kTop = INT64_MIN;
Node KeptNode(int index) {
    return -1 - static_cast<Node>(index);
}

class Merge {
public:
    Merge(const ListingTable& old, const ListingShape& oldShape, CDirscribeDoc& doc,
          const std::string& folderPath)
        : m_old(old), m_oldShape(oldShape), m_doc(doc), m_folder(folderPath) {}

    UpdateCounts Run(ListingTable& table, const ListingOptions& options, Progress& progress) {
        Gather();
        // Every exact match first, so the last resort never takes a name that has one.
        FindAgain(false);
        FindAgain(true);
        DecideKept();
        CopyKeptEntries();
        Place();
        table = Build(options, progress);
        return m_counts;
    }

private:
    // The entry rows of the old listing, their keys and their folders.
    void Gather() {
        const EntryList* list = m_old.Entries();
        if (list != nullptr)
            m_oldKeys = EntryKeys(list->Entries());
        m_freshKeys = EntryKeys(m_doc.entries);
        // Counted now: the entries of kept rows join the new ones later.
        m_freshRows = m_doc.RowCount();
        m_freshRow.assign(m_doc.entries.Size(), -1);
        for (std::size_t r = 0; r < m_freshRows; ++r)
            m_freshRow[m_doc.EntryOfRow(r)] = static_cast<int>(r);
        m_fresh.reserve(m_freshRows);
        for (std::uint32_t e = 0; e < m_freshKeys.size(); ++e)
            if (m_freshRow[e] >= 0)
                m_fresh.emplace(m_freshKeys[e], e);
        for (int row = 0; row < m_old.RowCount(); ++row) {
            if (m_old.Kind(row) != RowKind::Entry) {
                (m_entries.empty() ? m_leadEnd : m_entries.back().end) = row + 1;
                continue;
            }
            OldEntry& entry = m_entries.emplace_back();
            entry.row = row;
            entry.end = row + 1;
            entry.entry = m_old.EntryIndex(row);
        }
    }

    // Which new entry each old one is, in order, so a folder found again passes its path on
    // to the rows below it that know no entry. The last resort looks again, ignoring case,
    // for the rows that know no entry and were not found.
    void FindAgain(bool lastResort) {
        const EntryList* list = m_old.Entries();
        // The entries above, each at a level deeper than the one before it: a folder key and
        // OldEntry (-1 for a file). What a row's level is, the bytes of a document say, so
        // nothing is sized by it.
        struct Above {
            int level;
            PathKey key;
            int entry;
        };
        std::vector<Above> open;
        for (std::size_t i = 0; i < m_entries.size(); ++i) {
            OldEntry& entry = m_entries[i];
            int level = 0;
            bool folder = false;
            RowName name;
            if (entry.entry != kNoEntry) {
                const EntryStore& store = list->Entries();
                const std::uint32_t up = store.Parent(entry.entry);
                entry.folderKey = up < entry.entry ? m_oldKeys[up] : kRootKey;
                entry.key = m_oldKeys[entry.entry];
                level = store.Level(entry.entry);
                folder = store.IsFolder(entry.entry);
                if (!lastResort)
                    Claim(entry, m_fresh.find(entry.key));
            } else {
                name = ReadRowNameIn(m_old.Cell(entry.row, 0), m_old.Gone(entry.row),
                                     m_oldShape.Tree());
                level = name.level;
                folder = name.folder;
                entry.name = name.name;
            }
            // Its level's place now holds it, and nothing deeper is open any more.
            while (!open.empty() && open.back().level >= level)
                open.pop_back();
            if (entry.entry == kNoEntry) {
                if (level >= 2 && !open.empty() && open.back().level == level - 1 &&
                    open.back().entry >= 0) {
                    entry.folderKey = open.back().key;
                    entry.folder = open.back().entry;
                }
                if (entry.match == kNoEntry)
                    FindByName(entry, name, lastResort);
            }
            if (entry.match != kNoEntry)
                entry.key = m_freshKeys[entry.match];
            open.push_back(
                {level, folder ? entry.key : PathKey{}, folder ? static_cast<int>(i) : -1});
        }
    }

    void Claim(OldEntry& entry, ByKey<std::uint32_t>::const_iterator it) {
        if (it == m_fresh.end() || m_claimed.contains(it->second))
            return;
        entry.match = it->second;
        m_claimed.insert(it->second);
    }

    // A row of a document without entries: by its name as shown (for a bracketed one of a flat
    // listing, a folder's name or a file's that has brackets); as a last resort, a name in
    // capitals (a document saved with All in UpperCase) by that name ignoring case.
    void FindByName(OldEntry& entry, const RowName& name, bool lastResort) {
        entry.key = ChildKey(entry.folderKey, name.name);
        Claim(entry, m_fresh.find(entry.key));
        if (entry.match == kNoEntry && name.shown != name.name)
            Claim(entry, m_fresh.find(ChildKey(entry.folderKey, name.shown)));
        const std::string upper = Utf8Upper(name.name);
        if (entry.match != kNoEntry || !lastResort || upper != name.name)
            return;
        const auto found = UpperCased().find(ChildKey(entry.folderKey, upper));
        if (found != m_upper.end() && found->second != kNoEntry)
            Claim(entry, m_fresh.find(m_freshKeys[found->second]));
    }

    // The new entries by their shown names upper-cased, for rows of a document saved with
    // every name in upper case; a name two entries share finds neither.
    const ByKey<std::uint32_t>& UpperCased() {
        if (m_upperMade)
            return m_upper;
        m_upperMade = true;
        const EntryStore& store = m_doc.entries;
        for (std::uint32_t e = 0; e < store.Size(); ++e) {
            const std::uint32_t up = store.Parent(e);
            const PathKey key = ChildKey(up < e ? m_freshKeys[up] : kRootKey,
                                         Utf8Upper(DisplayText(store.Name(e))));
            const auto [it, added] = m_upper.emplace(key, e);
            if (!added)
                it->second = kNoEntry;
        }
        return m_upper;
    }

    // An entry not found again stays when something was typed for it or for an entry below
    // it; it is gone unless it is still on disk.
    void DecideKept() {
        const int comments = m_old.ColumnIndex(ColumnKind::Comments);
        std::string scratch;
        ByKey<int> missing;
        for (std::size_t i = 0; i < m_entries.size(); ++i) {
            OldEntry& entry = m_entries[i];
            if (entry.match != kNoEntry) {
                ++m_counts.kept;
                continue;
            }
            entry.typed = entry.end > entry.row + 1 ||
                          (comments >= 0 && !m_old.CellText(entry.row, comments, scratch).empty());
            entry.keep = entry.typed;
            entry.gone = PathStatusError(DiskPath(entry)) != 0;
            if (entry.gone && !m_old.Gone(entry.row))
                ++m_counts.gone;
            // A row naming a folder another row was found as (a document may name one
            // folder twice) is no folder to keep for what was typed below it: that stands
            // under the folder found.
            if (!m_fresh.contains(entry.key))
                missing.emplace(entry.key, static_cast<int>(i));
        }
        // Folders stand above their contents: going backwards marks each folder before it is
        // reached, and it then marks its own.
        for (std::size_t i = m_entries.size(); i-- > 0;) {
            const OldEntry& entry = m_entries[i];
            if (!entry.keep)
                continue;
            const auto folder = missing.find(entry.folderKey);
            if (folder != missing.end() && static_cast<std::size_t>(folder->second) < i)
                m_entries[static_cast<std::size_t>(folder->second)].keep = true;
        }
        m_counts.added = static_cast<int>(m_freshRows) - m_counts.kept;
    }

    [[nodiscard]] std::string RelativePath(const OldEntry& entry) const {
        if (entry.entry != kNoEntry)
            return m_old.Entries()->RelativePath(entry.entry);
        std::string name(entry.name);
        if (entry.folder < 0)
            return name;
        return RelativePath(m_entries[static_cast<std::size_t>(entry.folder)]) + "/" + name;
    }

    [[nodiscard]] std::string DiskPath(const OldEntry& entry) const {
        return EntryList::JoinPath(m_folder, RelativePath(entry));
    }

    // The entries of kept rows join the new ones, under the folders they were in.
    void CopyKeptEntries() {
        const EntryList* list = m_old.Entries();
        if (list == nullptr)
            return;
        m_keptEntry.assign(m_entries.size(), kNoEntry);
        for (std::size_t i = 0; i < m_entries.size(); ++i)
            if (m_entries[i].keep && m_entries[i].entry != kNoEntry)
                m_keptEntry[i] = Copied(m_entries[i].entry);
    }

    // The new entry of old entry `entry`: the one found again, else a copy, its folders first.
    std::uint32_t Copied(std::uint32_t entry) {
        const EntryStore& store = m_old.Entries()->Entries();
        std::vector<std::uint32_t> chain;
        std::uint32_t parent = kNoEntry;
        for (std::uint32_t at = entry; at < store.Size();) {
            if (const auto found = m_fresh.find(m_oldKeys[at]);
                found != m_fresh.end() && at != entry) {
                parent = found->second;
                break;
            }
            if (const auto copied = m_copies.find(at); copied != m_copies.end()) {
                if (at == entry)
                    return copied->second;
                parent = copied->second;
                break;
            }
            chain.push_back(at);
            const std::uint32_t up = store.Parent(at);
            if (up >= at)
                break;
            at = up;
        }
        // Each stands a level below its folder in the new listing, whatever its level was.
        std::int32_t level =
            parent == kNoEntry ? (m_doc.shape.Tree() ? 0 : -1) : m_doc.entries.Level(parent);
        for (auto link = chain.rbegin(); link != chain.rend(); ++link) {
            ListingEntry copy = store.At(*link);
            copy.parent = parent;
            copy.level = ++level;
            m_doc.entries.Append(copy);
            parent = static_cast<std::uint32_t>(m_doc.entries.Size() - 1);
            m_copies.emplace(*link, parent);
        }
        return parent;
    }

    // Where each kept entry goes: after the entry that stood before it in its folder and what
    // belongs there, else first in its folder.
    void Place() {
        ByKey<Node> last; // per folder key: its last child so far
        ByKey<int> kept;  // kept entries by key
        for (std::size_t i = 0; i < m_entries.size(); ++i) {
            const OldEntry& entry = m_entries[i];
            if (entry.match != kNoEntry) {
                last[entry.folderKey] = m_freshRow[entry.match];
                continue;
            }
            if (!entry.keep)
                continue;
            const Node node = KeptNode(static_cast<int>(i));
            if (const auto before = last.find(entry.folderKey); before != last.end())
                m_afterSubtree[before->second].push_back(static_cast<int>(i));
            else
                m_afterRow[FolderNode(entry.folderKey, kept)].push_back(static_cast<int>(i));
            last[entry.folderKey] = node;
            kept.emplace(entry.key, static_cast<int>(i));
        }
    }

    [[nodiscard]] Node FolderNode(const PathKey& key, const ByKey<int>& kept) const {
        if (key == kRootKey)
            return kTop;
        if (const auto found = m_fresh.find(key); found != m_fresh.end())
            return m_freshRow[found->second];
        if (const auto found = kept.find(key); found != kept.end())
            return KeptNode(found->second);
        return kTop; // its folder's row was deleted: the top is the one place left
    }

    ListingTable Build(const ListingOptions& options, Progress& progress) {
        ListingTable table;
        table.SetColumns(ListingColumns(options));
        const std::size_t rows = m_freshRows;
        auto entries = std::make_shared<EntryList>(m_folder, EntryStore());
        entries->Swap(m_doc.entries);
        table.SetEntries(entries, RowStyleFor(options, m_doc.shape));
        table.ReserveRows(static_cast<int>(rows) + m_old.RowCount());
        RowWriter writer(m_old, table);
        std::vector<int> matchOf(rows, -1);
        for (std::size_t i = 0; i < m_entries.size(); ++i)
            if (m_entries[i].match != kNoEntry)
                matchOf[static_cast<std::size_t>(m_freshRow[m_entries[i].match])] =
                    static_cast<int>(i);

        writer.CopyRows(0, m_leadEnd);
        EmitKept(writer, kTop, m_afterRow);
        progress.Begin();
        progress.SetRange(static_cast<std::int64_t>(rows));
        std::vector<std::pair<Node, int>> open; // new rows whose contents may follow, by level
        const EntryStore& store = entries->Entries();
        for (std::size_t r = 0; r < rows; ++r) {
            progress.Step();
            const auto entry = m_doc.order.empty() ? static_cast<std::uint32_t>(r) : m_doc.order[r];
            const int level = store.Level(entry);
            while (!open.empty() && open.back().second >= level) {
                EmitKept(writer, open.back().first, m_afterSubtree);
                open.pop_back();
            }
            const int from = matchOf[r];
            if (from < 0) {
                writer.Entry(entry, {}, false);
            } else {
                const OldEntry& old = m_entries[static_cast<std::size_t>(from)];
                writer.Entry(entry, writer.Comment(old.row), false);
                writer.CopyRows(old.row + 1, old.end);
            }
            EmitKept(writer, static_cast<Node>(r), m_afterRow);
            open.emplace_back(static_cast<Node>(r), level);
        }
        for (; !open.empty(); open.pop_back())
            EmitKept(writer, open.back().first, m_afterSubtree);
        progress.End();
        std::vector<std::uint32_t>().swap(m_doc.order);
        return table;
    }

    // The kept entries placed at `node` in `places`, each followed by its own contents and by
    // the entries placed after it, without recursion: a folder may hold many gone entries.
    void EmitKept(RowWriter& writer, Node node,
                  const std::unordered_map<Node, std::vector<int>>& places) {
        const auto first = places.find(node);
        if (first == places.end())
            return;
        std::vector<std::pair<const std::vector<int>*, std::size_t>> stack = {{&first->second, 0}};
        while (!stack.empty()) {
            auto& [list, next] = stack.back();
            if (next == list->size()) {
                stack.pop_back();
                continue;
            }
            const int index = (*list)[next++];
            WriteKept(writer, index);
            if (const auto after = m_afterSubtree.find(KeptNode(index));
                after != m_afterSubtree.end())
                stack.emplace_back(&after->second, 0);
            if (const auto inside = m_afterRow.find(KeptNode(index)); inside != m_afterRow.end())
                stack.emplace_back(&inside->second, 0);
        }
    }

    void WriteKept(RowWriter& writer, int index) {
        const OldEntry& entry = m_entries[static_cast<std::size_t>(index)];
        const std::uint32_t copied =
            m_keptEntry.empty() ? kNoEntry : m_keptEntry[static_cast<std::size_t>(index)];
        if (copied != kNoEntry)
            writer.Entry(copied, writer.Comment(entry.row), entry.gone);
        else
            writer.CopyRow(entry.row, entry.gone);
        writer.CopyRows(entry.row + 1, entry.end);
    }

    const ListingTable& m_old;
    const ListingShape& m_oldShape;
    CDirscribeDoc& m_doc;
    const std::string& m_folder;
    UpdateCounts m_counts;
    std::vector<PathKey> m_oldKeys;   // per entry of the old table's entries
    std::vector<PathKey> m_freshKeys; // per new entry
    std::vector<int> m_freshRow;      // per new entry: its row, or -1
    std::size_t m_freshRows = 0;
    ByKey<std::uint32_t> m_fresh; // new entries with rows, by key
    ByKey<std::uint32_t> m_upper;
    bool m_upperMade = false;
    std::unordered_set<std::uint32_t> m_claimed;
    std::vector<OldEntry> m_entries;
    int m_leadEnd = 0;                      // the rows above the first entry
    std::vector<std::uint32_t> m_keptEntry; // per OldEntry: its entry among the new ones
    std::unordered_map<std::uint32_t, std::uint32_t> m_copies;
    std::unordered_map<Node, std::vector<int>> m_afterRow;     // first in a folder
    std::unordered_map<Node, std::vector<int>> m_afterSubtree; // after an entry and its contents
};

} // namespace

bool HoldsTyped(const ListingTable& table) {
    const int comments = table.ColumnIndex(ColumnKind::Comments);
    std::string scratch;
    for (int row = 0; row < table.RowCount(); ++row)
        if (table.Kind(row) != RowKind::Entry || table.Gone(row) ||
            (comments >= 0 && !table.CellText(row, comments, scratch).empty()))
            return true;
    return false;
}

bool HoldsComments(const ListingTable& table) {
    const int comments = table.ColumnIndex(ColumnKind::Comments);
    if (comments < 0)
        return false;
    std::string scratch;
    for (int row = 0; row < table.RowCount(); ++row)
        if (!table.CellText(row, comments, scratch).empty())
            return true;
    return false;
}

UpdateCounts PopulateCarrying(ListingTable& table, CDirscribeDoc& doc,
                              const std::string& folderPath, const ListingOptions& options,
                              const ListingTable& old, const ListingShape& oldShape,
                              Progress& progress) {
    return Merge(old, oldShape, doc, folderPath).Run(table, options, progress);
}

ListingTable RefilledTable(const ListingTable& table, const ListingOptions& options,
                           const ListingShape& shape) {
    ListingTable refilled;
    refilled.SetColumns(ListingColumns(options));
    if (table.Entries() != nullptr)
        refilled.SetEntries(table.SharedEntries(), RowStyleFor(options, shape));
    refilled.ReserveRows(table.RowCount());
    RowWriter writer(table, refilled);
    for (int row = 0; row < table.RowCount(); ++row) {
        const std::uint32_t entry =
            table.Kind(row) == RowKind::Entry ? table.EntryIndex(row) : kNoEntry;
        if (entry != kNoEntry) {
            writer.Entry(entry, writer.Comment(row), table.Gone(row));
            writer.KeepTypedTexts(row);
        } else {
            writer.CopyRow(row, table.Gone(row));
        }
    }
    return refilled;
}

} // namespace dirscribe
