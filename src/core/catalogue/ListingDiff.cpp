// SPDX-License-Identifier: MIT
#include "core/catalogue/ListingDiff.h"

#include "core/Error.h"
#include "core/export/JsonExport.h"
#include "core/format/DateFormat.h"
#include "core/listing/CDirscribeDoc.h"
#include "core/listing/FolderScanner.h"
#include "core/listing/ListingNameOrder.h"
#include "core/platform/FileTime.h"
#include "core/search/ListingSearch.h"

#include <algorithm>
#include <array>

namespace dirscribe {

namespace {

std::string_view NameAt(const std::string& path, std::size_t& at) {
    const std::size_t end = std::min(path.find('/', at), path.size());
    const std::string_view name(path.data() + at, end - at);
    at = end + 1;
    return name;
}

void SortByPath(std::vector<DiffEntry>& entries) {
    std::sort(entries.begin(), entries.end(),
              [](const DiffEntry& a, const DiffEntry& b) { return PathLess(a.path, b.path); });
}

constexpr std::array<const char*, 5> kKindNames{"added", "gone", "grown", "shrunk", "modified"};

const char* NameOf(ChangeKind kind) {
    return kKindNames[static_cast<std::size_t>(kind)];
}

std::string Counted(std::uint64_t count, const char* what) {
    return std::to_string(count) + " " + what;
}

} // namespace

bool PathLess(const std::string& a, const std::string& b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i <= a.size() && j <= b.size()) {
        const std::string_view x = NameAt(a, i);
        const std::string_view y = NameAt(b, j);
        if (x != y)
            return ListingNameLess(x, y);
    }
    return i <= a.size() ? false : j <= b.size();
}

DiffListing ReadDiffListing(const std::string& document) {
    DiffListing listing;
    bool known = false;
    const CheckedDocument checked = ReadDocumentGroups(
        document,
        [&](const SearchGroup& group) {
            if (!group.entry || !group.known)
                return;
            known = true;
            if (group.gone)
                return;
            DiffEntry& entry = listing.entries.emplace_back();
            for (const std::string& name : group.path)
                (entry.path.empty() ? entry.path : entry.path.append(1, '/')).append(name);
            entry.folder = group.folder;
            entry.bytes = group.bytes;
            entry.modified = group.modified;
        },
        true);
    if (!known && checked.rowCount > 0)
        throw Error("\"" + document +
                    "\" records no entries of its own (it was saved before they were "
                    "recorded): update it first.");
    listing.folder = checked.folderPath;
    listing.shape = checked.shape;
    SortByPath(listing.entries);
    return listing;
}

DiffListing ReadDiffFolder(const std::string& folder, const ListingShape& shape, Notice& notice,
                           Progress& progress, StopFlag& stop) {
    CDirscribeDoc doc;
    FolderScanner scanner(notice, progress, stop);
    if (scanner.ReadFolderTree(doc, folder, shape.content, shape.depth) != ReadOutcome::Read)
        throw Error("\"" + folder + "\" could not be read.");
    DiffListing listing;
    listing.folder = folder;
    listing.shape = shape;
    const EntryStore& store = doc.entries;
    std::vector<std::string_view> names;
    for (std::size_t row = 0; row < doc.RowCount(); ++row) {
        const std::uint32_t index = doc.EntryOfRow(row);
        names.clear();
        // A folder stands before its contents, so each step goes to a lower index and ends.
        for (std::uint32_t at = index; at < store.Size();) {
            names.push_back(store.Name(at));
            const std::uint32_t up = store.Parent(at);
            if (up >= at)
                break;
            at = up;
        }
        DiffEntry& entry = listing.entries.emplace_back();
        for (auto name = names.rbegin(); name != names.rend(); ++name)
            (entry.path.empty() ? entry.path : entry.path.append(1, '/')).append(*name);
        entry.folder = store.IsFolder(index);
        entry.bytes = store.Bytes(index);
        entry.modified = store.Modified(index);
    }
    SortByPath(listing.entries);
    return listing;
}

std::vector<Change> CompareListings(const DiffListing& before, const DiffListing& after,
                                    DiffTotals& totals) {
    std::vector<Change> changes;
    const auto& old = before.entries;
    const auto& now = after.entries;
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < old.size() || j < now.size()) {
        const bool gone = j == now.size() || (i < old.size() && PathLess(old[i].path, now[j].path));
        const bool added = !gone && (i == old.size() || PathLess(now[j].path, old[i].path));
        if (gone || added) {
            const DiffEntry& entry = gone ? old[i++] : now[j++];
            Change& change = changes.emplace_back();
            change.kind = gone ? ChangeKind::Gone : ChangeKind::Added;
            change.path = entry.path;
            change.folder = entry.folder;
            (gone ? change.oldBytes : change.newBytes) = entry.bytes;
            (gone ? change.oldModified : change.newModified) = entry.modified;
            (gone ? totals.gone : totals.added) += 1;
            if (!entry.folder)
                (gone ? totals.goneBytes : totals.addedBytes) += entry.bytes;
            continue;
        }
        const DiffEntry& a = old[i++];
        const DiffEntry& b = now[j++];
        if (a.folder != b.folder) {
            changes.push_back({ChangeKind::Gone, a.path, a.folder, a.bytes, 0, a.modified, 0});
            changes.push_back({ChangeKind::Added, b.path, b.folder, 0, b.bytes, 0, b.modified});
            ++totals.gone;
            ++totals.added;
            totals.goneBytes += a.folder ? 0 : a.bytes;
            totals.addedBytes += b.folder ? 0 : b.bytes;
            continue;
        }
        if (a.folder || (a.bytes == b.bytes && a.modified == b.modified))
            continue;
        const ChangeKind kind = b.bytes > a.bytes   ? ChangeKind::Grown
                                : b.bytes < a.bytes ? ChangeKind::Shrunk
                                                    : ChangeKind::Modified;
        changes.push_back({kind, a.path, false, a.bytes, b.bytes, a.modified, b.modified});
        if (kind == ChangeKind::Grown) {
            ++totals.grown;
            totals.grownBytes += b.bytes - a.bytes;
        } else if (kind == ChangeKind::Shrunk) {
            ++totals.shrunk;
            totals.shrunkBytes += a.bytes - b.bytes;
        } else {
            ++totals.modified;
        }
    }
    return changes;
}

void WriteDiffText(const std::vector<Change>& changes, const DiffTotals& totals, ByteSink& sink) {
    BufferedWriter out(sink);
    for (const Change& change : changes) {
        out << NameOf(change.kind) << '\t' << change.path << (change.folder ? "/" : "") << '\t';
        switch (change.kind) {
        case ChangeKind::Added:
            out << std::to_string(change.newBytes);
            break;
        case ChangeKind::Gone:
            out << std::to_string(change.oldBytes);
            break;
        case ChangeKind::Grown:
            out << '+' << std::to_string(change.newBytes - change.oldBytes);
            break;
        case ChangeKind::Shrunk:
            out << '-' << std::to_string(change.oldBytes - change.newBytes);
            break;
        case ChangeKind::Modified:
            out << FormatIsoLocal(change.oldModified) << '\t' << FormatIsoLocal(change.newModified);
            break;
        }
        out << '\n';
    }
    if (totals.Any())
        out << "totals\t" << Counted(totals.added, "added") << " ("
            << std::to_string(totals.addedBytes) << " bytes), " << Counted(totals.gone, "gone")
            << " (" << std::to_string(totals.goneBytes) << " bytes), "
            << Counted(totals.grown, "grown") << " (+" << std::to_string(totals.grownBytes)
            << " bytes), " << Counted(totals.shrunk, "shrunk") << " (-"
            << std::to_string(totals.shrunkBytes) << " bytes), "
            << Counted(totals.modified, "modified") << '\n';
    out.Flush();
}

void WriteDiffJson(const DiffListing& before, const DiffListing& after,
                   const std::vector<Change>& changes, const DiffTotals& totals, ByteSink& sink) {
    BufferedWriter out(sink);
    out << '{';
    WriteJsonPath(out, "before", before.folder);
    out << ',';
    WriteJsonPath(out, "after", after.folder);
    out << ",\n\"changes\":[";
    bool first = true;
    for (const Change& change : changes) {
        out << (first ? "\n" : ",\n") << "{\"change\":\"" << NameOf(change.kind) << "\",";
        first = false;
        WriteJsonPath(out, "path", change.path);
        out << ",\"folder\":" << (change.folder ? "true" : "false");
        if (change.kind != ChangeKind::Added)
            out << ",\"bytesBefore\":" << std::to_string(change.oldBytes)
                << ",\"modifiedBefore\":\"" << FileTimeIso8601(change.oldModified) << '"';
        if (change.kind != ChangeKind::Gone)
            out << ",\"bytesAfter\":" << std::to_string(change.newBytes) << ",\"modifiedAfter\":\""
                << FileTimeIso8601(change.newModified) << '"';
        out << '}';
    }
    out << "\n],\n\"totals\":{\"added\":" << std::to_string(totals.added)
        << ",\"addedBytes\":" << std::to_string(totals.addedBytes)
        << ",\"gone\":" << std::to_string(totals.gone)
        << ",\"goneBytes\":" << std::to_string(totals.goneBytes)
        << ",\"grown\":" << std::to_string(totals.grown)
        << ",\"grownBytes\":" << std::to_string(totals.grownBytes)
        << ",\"shrunk\":" << std::to_string(totals.shrunk)
        << ",\"shrunkBytes\":" << std::to_string(totals.shrunkBytes)
        << ",\"modified\":" << std::to_string(totals.modified) << "}}\n";
    out.Flush();
}

} // namespace dirscribe
