// SPDX-License-Identifier: MIT
// The document file (.dsc): a saved listing that can be opened again.
#include "core/docfile/DocumentFile.h"

#include "core/Error.h"
#include "core/docfile/ArchiveReader.h"
#include "core/docfile/ArchiveWriter.h"
#include "core/docfile/DocumentBlock.h"
#include "core/docfile/DocumentCheck.h"
#include "core/format/Utf8.h"
#include "core/platform/FileReader.h"

#include <algorithm>
#include <functional>
#include <unordered_map>

namespace dirscribe {

namespace {

// The five strings of the next row; false when the bytes end inside it. For bytes in memory,
// whose views last.
bool ReadRow(ArchiveReader& reader, CellTexts& cells) {
    for (std::string_view& cell : cells)
        if (!reader.TryReadString(cell))
            return false;
    return true;
}

// The rows of a file written on a Windows code page, every string read as Windows-1252,
// in a store sized for them beforehand.
RowStore ConvertedRows(std::string_view bytes, const CheckedDocument& file) {
    const std::string_view rowBytes = bytes.substr(file.rowsOffset);
    std::size_t textBytes = 0;
    ArchiveReader sizes(rowBytes);
    for (std::int32_t r = 0; r < file.rowCount; ++r) {
        CellTexts cells;
        (void)ReadRow(sizes, cells);
        for (const std::string_view cell : cells)
            textBytes += RowStore::EncodedSize(Windows1252ToUtf8Size(cell));
    }
    RowStore rows;
    rows.Reserve(file.rowCount, textBytes);
    ArchiveReader reader(rowBytes);
    for (std::int32_t r = 0; r < file.rowCount; ++r) {
        CellTexts cells;
        (void)ReadRow(reader, cells);
        const RowRecord row = {Windows1252ToUtf8(cells[0]), Windows1252ToUtf8(cells[1]),
                               Windows1252ToUtf8(cells[2]), Windows1252ToUtf8(cells[3]),
                               Windows1252ToUtf8(cells[4])};
        rows.Append({row[0], row[1], row[2], row[3], row[4]}, RowKind::Entry);
    }
    return rows;
}

// The kinds of the rows of a document that does not record them, and the gone marks.
void InferKinds(RowStore& rows) {
    for (int r = 0; r < rows.Size(); ++r) {
        bool gone = false;
        rows.SetKind(r, InferredKind(rows.Cell(r, 0), gone));
        rows.SetGone(r, gone);
    }
}

// The entries of the block's rows, each under its folder. A path names its folders by raw
// name from the listed one down; a folder that has no row of its own (its row was deleted,
// or stands below its contents after a sort) gets an entry without a row, so every entry
// knows its path. Only folders are looked up by name: files have no contents. A folder is
// the entry of one row: a later row that names it again is known by its texts alone, as a
// row of an older document is, so an update keeps it as such a row every time.
class EntryTreeBuilder {
public:
    // The entry of row `row`, whose path is `path`, sharing its first `kept` components with
    // the path given last; kNoEntry for a folder an earlier row stands for.
    std::uint32_t Add(const NamePath& path, std::size_t kept, ListingEntry facts,
                      std::int32_t row) {
        m_chain.resize(kept);
        // The last path's own entry may be a file of the name a folder here has: found anew.
        if (!m_chain.empty() && !m_store.IsFolder(m_chain.back()))
            m_chain.pop_back();
        for (std::size_t i = m_chain.size(); i + 1 < path.Size(); ++i)
            m_chain.push_back(FolderEntry(Parent(i), path[i]));
        facts.parent = Parent(path.Size() - 1);
        if (!facts.IsFolder()) {
            m_chain.push_back(Append(facts, row));
            return m_chain.back();
        }
        const std::uint32_t folder = FolderEntry(facts.parent, path.Back());
        m_chain.push_back(folder);
        if (m_rowOf[folder] != kNoRow)
            return kNoEntry;
        m_rowOf[folder] = row;
        m_store.Describe(folder, facts);
        return folder;
    }

    [[nodiscard]] bool Empty() const { return m_store.Empty(); }
    EntryStore Take() { return std::move(m_store); }

private:
    struct Key {
        std::uint32_t parent;
        std::string_view name; // in the store, where it never moves
        friend bool operator==(const Key&, const Key&) = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& key) const {
            return std::hash<std::string_view>()(key.name) * 31 + key.parent;
        }
    };
    static constexpr std::int32_t kNoRow = -1;

    [[nodiscard]] std::uint32_t Parent(std::size_t component) const {
        return component == 0 ? kNoEntry : m_chain[component - 1];
    }

    std::uint32_t Append(const ListingEntry& entry, std::int32_t row) {
        m_store.Append(entry);
        m_rowOf.push_back(row);
        return static_cast<std::uint32_t>(m_store.Size() - 1);
    }

    // The folder named `name` in `parent`, made (without a row) when there is none.
    std::uint32_t FolderEntry(std::uint32_t parent, std::string_view name) {
        const auto found = m_folders.find(Key{parent, name});
        if (found != m_folders.end())
            return found->second;
        ListingEntry folder;
        folder.attributes = kAttributeDirectory;
        folder.name = name;
        folder.parent = parent;
        const std::uint32_t index = Append(folder, kNoRow);
        m_folders.emplace(Key{parent, m_store.Name(index)}, index);
        return index;
    }

    EntryStore m_store;
    std::unordered_map<Key, std::uint32_t, KeyHash> m_folders;
    std::vector<std::uint32_t> m_chain; // the entries of the components of the last path
    std::vector<std::int32_t> m_rowOf;  // per entry: the row that stands for it, or kNoRow
};

// Gives each row the kind, gone mark and entry the checked block records for it.
std::shared_ptr<const EntryList> ApplyBlock(std::string_view bytes, const CheckedDocument& file,
                                            RowStore& rows) {
    ArchiveReader reader(bytes.substr(file.blockOffset));
    BlockReader block(reader);
    (void)block.ReadHead(file.rowCount); // the shape and the volume are the file's already
    EntryTreeBuilder entries;
    BlockRow row;
    for (std::int32_t r = 0; r < file.rowCount; ++r) {
        block.ReadRow(r, row);
        rows.SetKind(r, row.kind);
        rows.SetGone(r, row.gone);
        if (row.known)
            if (const std::uint32_t entry =
                    entries.Add(block.Path(), block.Kept(), std::move(row.entry), r);
                entry != kNoEntry)
                rows.SetEntry(r, entry);
    }
    if (entries.Empty())
        return nullptr;
    return std::make_shared<const EntryList>(file.folderPath, entries.Take());
}

// The contents of a checked file. The rows stay in the file's own bytes where they are
// UTF-8: taken over when the caller gives them up (owned holds bytes), copied otherwise.
DocumentContents ContentsOf(std::string_view bytes, RowStore::Text* owned) {
    ArchiveReader reader(bytes);
    CheckedDocument file = CheckDocument(reader);
    DocumentContents contents;
    contents.summary = file.summary;
    contents.settings = file.settings;
    contents.shape = file.shape;
    contents.volume = std::move(file.volume);
    RowStore& rows = contents.rows;
    if (!file.utf8)
        rows = ConvertedRows(bytes, file);
    else if (owned != nullptr)
        rows.AdoptEncoded(std::move(*owned), file.rowsOffset, file.rowCount); // bytes stay put
    else
        rows.AdoptEncoded(
            RowStore::Text(bytes.begin() + static_cast<std::ptrdiff_t>(file.rowsOffset),
                           bytes.end()),
            0, file.rowCount);
    if (file.blockOffset != 0)
        contents.entries = ApplyBlock(bytes, file, rows);
    else
        InferKinds(rows);
    contents.folderPath = std::move(file.folderPath);
    return contents;
}

// work(), with every failure turned into Error(lead + reason + "."); bytes are the file's,
// or its first ones.
template <typename Work>
auto Refusing(std::string_view bytes, const std::string& lead, const Work& work) {
    try {
        return work();
    } catch (const Error& error) {
        ArchiveReader start(bytes);
        throw Error(RefusalMessage(lead, error.what(), start));
    }
}

bool SameEntries(const EntryList* a, const EntryList* b) {
    if (a == nullptr || b == nullptr)
        return a == b;
    if (a->Folder() != b->Folder() || a->Size() != b->Size())
        return false;
    for (std::uint32_t i = 0; i < a->Size(); ++i) {
        const ListingEntry x = a->At(i);
        const ListingEntry y = b->At(i);
        if (x.name != y.name || x.attributes != y.attributes || x.level != y.level ||
            x.parent != y.parent || x.restricted != y.restricted || x.size != y.size ||
            x.modified != y.modified)
            return false;
    }
    return true;
}

// The first bytes of a file longer than they are: its folder path, settings and row count
// checked as CheckDocument checks them, against the size of the whole file, so a large file
// that is no document is refused before it is read whole. The longest folder path a
// document may hold ends well within the head.
void CheckHead(std::string_view head, std::uint64_t fileSize) {
    static_assert(16 + 7 + kMaxFolderPathBytes + 8 * sizeof(std::int32_t) <= kHeadBytes);
    ArchiveReader reader(head);
    reader.ReadUInt64("the total size");
    reader.ReadInt32("the file count");
    reader.ReadInt32("the folder count");
    reader.ReadString("the folder path", kMaxFolderPathBytes);
    DocumentSettings settings;
    for (std::int32_t* setting :
         {&settings.printAs, &settings.printTitle, &settings.summary, &settings.addComments,
          &settings.addSize, &settings.addAttribute, &settings.addDate})
        *setting = reader.ReadInt32("a setting");
    if (const std::string problem = settings.OutOfRange(); !problem.empty())
        throw Error(problem);
    const std::int32_t rowCount = reader.ReadInt32("the row count");
    const std::uint64_t maxRows = (fileSize - reader.Offset()) / kMinRowBytes;
    if (rowCount < 0)
        throw Error("the row count is " + std::to_string(rowCount));
    if (static_cast<std::uint64_t>(rowCount) > maxRows)
        throw Error("it announces " + std::to_string(rowCount) +
                    (rowCount == 1 ? " row" : " rows") +
                    ", but the rest of the file can hold at most " + std::to_string(maxRows));
}

} // namespace

bool operator==(const DocumentContents& a, const DocumentContents& b) {
    return a.summary == b.summary && a.folderPath == b.folderPath && a.settings == b.settings &&
           a.rows == b.rows && a.shape == b.shape && a.volume == b.volume &&
           SameEntries(a.entries.get(), b.entries.get());
}

std::string WriteDocumentFile(const ListingSummary& summary, std::string_view folderPath,
                              const ListingOptions& options, const ListingTable& table,
                              const ListingShape& shape, const ListingVolume& volume) {
    StringSink sink;
    WriteDocumentFile(sink, summary, folderPath, options, table, shape, volume);
    return sink.Take();
}

void WriteDocumentFile(ByteSink& sink, const ListingSummary& summary, std::string_view folderPath,
                       const ListingOptions& options, const ListingTable& table,
                       const ListingShape& shape, const ListingVolume& volume) {
    const DocumentSettings settings = DocumentSettings::From(options);
    if (const std::string problem = settings.OutOfRange(); !problem.empty())
        throw Error("The document cannot be saved: " + problem + ".");
    CheckVolumeTexts(volume);

    constexpr std::size_t kBlock = std::size_t{1} << 16;
    const int rowCount = table.RowCount();
    ArchiveWriter writer;
    writer.Reserve(kBlock + 4096);
    writer.WriteUInt64(summary.totalBytes);
    writer.WriteInt32(summary.fileCount);
    writer.WriteInt32(summary.folderCount);
    writer.WriteString(folderPath);
    writer.WriteInt32(settings.printAs);
    writer.WriteInt32(settings.printTitle);
    writer.WriteInt32(settings.summary);
    writer.WriteInt32(settings.addComments);
    writer.WriteInt32(settings.addSize);
    writer.WriteInt32(settings.addAttribute);
    writer.WriteInt32(settings.addDate);
    writer.WriteInt32(rowCount);
    // Cells of columns the table does not have read as empty: the five strings stay positional.
    std::string scratch;
    for (int r = 0; r < rowCount; ++r) {
        for (const std::string_view cell : table.RowTexts(r, scratch))
            writer.WriteString(cell);
        if (writer.Bytes().size() >= kBlock)
            writer.FlushTo(sink);
    }
    BlockWriter block(writer, shape, volume, rowCount);
    for (int r = 0; r < rowCount; ++r) {
        block.WriteRow(table, r);
        if (writer.Bytes().size() >= kBlock)
            writer.FlushTo(sink);
    }
    writer.FlushTo(sink);
}

DocumentContents ReadDocumentFile(std::string_view bytes) {
    return Refusing(
        bytes, "This is not a Dirscribe document: ", [&] { return ContentsOf(bytes, nullptr); });
}

DocumentContents LoadDocumentFile(const std::string& path, std::optional<FileVersion>* version) {
    const std::string lead = "\"" + path + "\" is not a Dirscribe document: ";
    RowStore::Text bytes = ReadWholeFile(
        path, kMaxDocumentBytes,
        [&](std::string_view head, std::uint64_t size) {
            Refusing(head, lead, [&] { CheckHead(head, size); });
        },
        version);
    const std::string_view view(bytes.data(), bytes.size());
    return Refusing(view, lead, [&] { return ContentsOf(view, &bytes); });
}

} // namespace dirscribe
