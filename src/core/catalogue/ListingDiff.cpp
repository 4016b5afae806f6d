// SPDX-License-Identifier: MIT
#include "core/catalogue/ListingDiff.h"

#include "core/Error.h"
#include "core/catalogue/ByteHash.h"
#include "core/docfile/DocumentFile.h"
#include "core/docfile/DocumentRowReader.h"
#include "core/export/JsonExport.h"
#include "core/format/AsciiCase.h"
#include "core/format/DateFormat.h"
#include "core/listing/CDirscribeDoc.h"
#include "core/listing/FolderScanner.h"
#include "core/platform/FileByteSource.h"
#include "core/platform/FileReader.h"
#include "core/platform/FileTime.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <future>
#include <optional>
#include <string_view>

namespace dirscribe {

namespace {

// The path of raw names joined with "/", from the listed folder down.
// Names given by index: a NamePath or a vector of them.
template <typename Names> std::string Joined(const Names& names, std::size_t count) {
    std::string path;
    for (std::size_t i = 0; i < count; ++i)
        (path.empty() ? path : path.append(1, '/')).append(names[i]);
    return path;
}

constexpr std::array<const char*, 5> kKindNames{"added", "gone", "grown", "shrunk", "modified"};

const char* NameOf(ChangeKind kind) {
    return kKindNames[static_cast<std::size_t>(kind)];
}

std::string Counted(std::uint64_t count, const char* what) {
    return std::to_string(count) + " " + what;
}

// The entries of a listing by path: an open table of their indexes (a listing has fewer
// rows than an int holds), the last of entries that share a path standing for them.
// Millions of paths: no node of its own for each.
class PathTable {
public:
    explicit PathTable(const std::vector<DiffEntry>& entries) : m_entries(entries) {
        std::size_t size = 16;
        while (size < entries.size() * 2)
            size <<= 1;
        m_slots.assign(size, kEmpty);
        for (std::size_t i = 0; i < entries.size(); ++i)
            m_slots[Slot(entries[i].path)] = static_cast<std::uint32_t>(i);
    }

    // The index of the entry with the path, or none.
    [[nodiscard]] std::optional<std::size_t> Find(std::string_view path) const {
        const std::uint32_t found = m_slots[Slot(path)];
        return found == kEmpty ? std::nullopt : std::optional<std::size_t>(found);
    }

private:
    static constexpr std::uint32_t kEmpty = UINT32_MAX;

    // Where the path is, or the empty slot where it would go.
    [[nodiscard]] std::size_t Slot(std::string_view path) const {
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t slot = HashBytes(path) & mask;; slot = (slot + 1) & mask)
            if (m_slots[slot] == kEmpty || m_entries[m_slots[slot]].path == path)
                return slot;
    }

    const std::vector<DiffEntry>& m_entries;
    std::vector<std::uint32_t> m_slots;
};

} // namespace

std::string PathKey(std::string_view path) {
    // Each name upper-cased and ended with a NUL (which no name holds, so a name before
    // its longer namesakes and a folder before what it holds), then the path as it is.
    std::string key;
    key.reserve(path.size() * 2 + 2);
    for (const char c : path)
        key.push_back(c == '/' ? '\0'
                               : static_cast<char>(AsciiUpper(static_cast<unsigned char>(c))));
    key.append(2, '\0');
    key.append(path);
    return key;
}

// Only the block's records are read: what an entry's row shows is no matter here.
DiffListing ReadDiffListing(const std::string& document) {
    const FileByteSource source(OpenReadableFile(document, kMaxDocumentBytes));
    std::optional<DocumentRowReader> opened;
    try {
        opened.emplace(source);
    } catch (const Error& error) {
        ArchiveReader start(source);
        throw Error(RefusalMessage(
            "\"" + document + "\" is not a Dirscribe document: ", error.what(), start));
    }
    DocumentRowReader& reader = *opened;
    DiffListing listing;
    listing.folder = reader.Document().folderPath;
    listing.shape = reader.Document().shape;
    listing.entries.reserve(static_cast<std::size_t>(reader.Document().rowCount));
    bool known = false;
    DocumentRow row;
    while (reader.Next(row)) {
        const BlockRow& block = row.block;
        if (!block.known)
            continue;
        known = true;
        if (!block.gone)
            listing.entries.push_back({Joined(reader.Path(), reader.Path().Size()),
                                       block.entry.IsFolder(), block.entry.size,
                                       block.entry.modified});
    }
    if (!known && reader.Document().rowCount > 0)
        throw Error("\"" + document +
                    "\" records no entries of its own (it was saved before they were "
                    "recorded): update it first.");
    return listing;
}

std::pair<DiffListing, DiffListing> ReadDiffListings(const std::string& before,
                                                     const std::string& after) {
    std::future<DiffListing> later = std::async(std::launch::async, ReadDiffListing, after);
    DiffListing first;
    try {
        first = ReadDiffListing(before);
    } catch (...) {
        later.wait();
        throw;
    }
    return {std::move(first), later.get()};
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
        std::reverse(names.begin(), names.end());
        listing.entries.push_back({Joined(names, names.size()), store.IsFolder(index),
                                   store.Bytes(index), store.Modified(index)});
    }
    return listing;
}

std::vector<Change> CompareListings(const DiffListing& before, const DiffListing& after,
                                    DiffTotals& totals) {
    const PathTable old(before.entries);
    std::vector<bool> seen(before.entries.size());
    std::vector<Change> changes;
    const auto record = [&](ChangeKind kind, const DiffEntry* a, const DiffEntry* b) {
        const DiffEntry& entry = a != nullptr ? *a : *b;
        changes.push_back({kind, entry.path, entry.folder, a != nullptr ? a->bytes : 0,
                           b != nullptr ? b->bytes : 0, a != nullptr ? a->modified : 0,
                           b != nullptr ? b->modified : 0});
    };
    for (const DiffEntry& now : after.entries) {
        const std::optional<std::size_t> found = old.Find(now.path);
        const DiffEntry* was = found ? &before.entries[*found] : nullptr;
        if (was != nullptr)
            seen[*found] = true;
        if (was != nullptr && was->folder != now.folder) {
            record(ChangeKind::Gone, was, nullptr);
            was = nullptr;
        }
        if (was == nullptr) {
            record(ChangeKind::Added, nullptr, &now);
            continue;
        }
        if (now.folder || (was->bytes == now.bytes && was->modified == now.modified))
            continue;
        record(now.bytes > was->bytes   ? ChangeKind::Grown
               : now.bytes < was->bytes ? ChangeKind::Shrunk
                                        : ChangeKind::Modified,
               was, &now);
    }
    for (std::size_t i = 0; i < before.entries.size(); ++i)
        if (!seen[i])
            record(ChangeKind::Gone, &before.entries[i], nullptr);
    for (const Change& change : changes) {
        switch (change.kind) {
        case ChangeKind::Added:
            ++totals.added;
            totals.addedBytes += change.folder ? 0 : change.newBytes;
            break;
        case ChangeKind::Gone:
            ++totals.gone;
            totals.goneBytes += change.folder ? 0 : change.oldBytes;
            break;
        case ChangeKind::Grown:
            ++totals.grown;
            totals.grownBytes += change.newBytes - change.oldBytes;
            break;
        case ChangeKind::Shrunk:
            ++totals.shrunk;
            totals.shrunkBytes += change.oldBytes - change.newBytes;
            break;
        case ChangeKind::Modified:
            ++totals.modified;
            break;
        }
    }
    // By path; an entry that changed from a folder to a file (or back) is gone, then added.
    std::vector<std::pair<std::string, std::size_t>> order;
    order.reserve(changes.size());
    for (std::size_t i = 0; i < changes.size(); ++i)
        order.emplace_back(PathKey(changes[i].path), i);
    std::sort(order.begin(), order.end(), [&](const auto& a, const auto& b) {
        if (a.first != b.first)
            return a.first < b.first;
        return changes[a.second].kind == ChangeKind::Gone &&
               changes[b.second].kind != ChangeKind::Gone;
    });
    std::vector<Change> sorted;
    sorted.reserve(changes.size());
    for (const auto& [key, index] : order)
        sorted.push_back(std::move(changes[index]));
    return sorted;
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
