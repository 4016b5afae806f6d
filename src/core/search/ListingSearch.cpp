// SPDX-License-Identifier: MIT
#include "core/search/ListingSearch.h"

#include "core/Error.h"
#include "core/docfile/DocumentFile.h"
#include "core/docfile/DocumentRowReader.h"
#include "core/export/ExportSource.h"
#include "core/format/AsciiCase.h"
#include "core/listing/EntryList.h"
#include "core/listing/ListingNameOrder.h"
#include "core/platform/Directory.h"
#include "core/platform/FileByteSource.h"
#include "core/platform/FileReader.h"
#include "core/table/NameCell.h"
#include "core/table/TablePopulation.h"

#include <algorithm>
#include <optional>
#include <sys/stat.h>

namespace dirscribe {

namespace {

bool Stopped(const StopFlag* stop) {
    return stop != nullptr && stop->Requested();
}

void FindIn(Directory& folder, const std::string& path, Notice& notice, const StopFlag* stop,
            std::vector<std::string>& found) {
    if (Stopped(stop))
        return;
    std::vector<std::pair<std::string, Directory::NameKind>> names;
    std::string name;
    Directory::NameKind kind{};
    while (folder.NextName(name, kind))
        names.emplace_back(name, kind);
    std::sort(names.begin(), names.end(),
              [](const auto& a, const auto& b) { return ListingNameLess(a.first, b.first); });
    for (const auto& [child, childKind] : names) {
        const bool maybeFolder = childKind != Directory::NameKind::Other;
        if (maybeFolder) {
            if (std::optional<Directory> sub = folder.OpenChild(child)) {
                FindIn(*sub, EntryList::JoinPath(path, child), notice, stop, found);
                continue;
            }
        }
        if (child.size() > 4 && EqualIgnoringAsciiCase(child.substr(child.size() - 4), ".dsc"))
            found.push_back(EntryList::JoinPath(path, child));
        else if (childKind == Directory::NameKind::Folder)
            notice.SubfolderUnreadable(EntryList::JoinPath(path, child), "");
    }
}

// A cell without the blanks that align it.
std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The columns of a listing by title.
struct SearchColumns {
    int comments = -1;
    int size = -1;
    int date = -1;
};

SearchColumns ColumnsOf(const ListingTable& table) {
    return {table.ColumnIndex(ColumnKind::Comments), table.ColumnIndex(ColumnKind::Size),
            table.ColumnIndex(ColumnKind::Date)};
}

std::string_view CellOf(const CellTexts& cells, int column) {
    return column < 0 ? std::string_view() : Trimmed(cells[static_cast<std::size_t>(column)]);
}

// A Comments cell as typed: no blanks align it, and the one that ends a row of a comment
// belongs to the text.
std::string_view CommentOf(const CellTexts& cells, int column) {
    return column < 0 ? std::string_view()
                      : std::string_view(cells[static_cast<std::size_t>(column)]);
}

// Whether the rows of a table that know no entry read as a tree's.
bool ReadsAsTree(const ListingTable& table) {
    std::string scratch;
    if (const EntryList* entries = table.Entries()) {
        for (int row = 0; row < table.RowCount(); ++row)
            if (const std::uint32_t entry = table.EntryIndex(row); entry != kNoEntry)
                return entries->Entries().Level(entry) > 0;
    }
    ShapeReading shape;
    for (int row = 0; row < table.RowCount(); ++row)
        shape.Add(table.CellText(row, 0, scratch));
    return shape.Shape().Tree();
}

// The SearchRow of a document's row: its name read as its entry's level and kind say, or
// for a row without facts as the listing's shape says.
SearchRow RowOf(int index, const DocumentRow& row, const SearchColumns& at, bool tree,
                const DocumentRowReader* paths) {
    const BlockRow& block = row.block;
    const RowName name = block.known ? ReadEntryRowName(row.cells[0], block.entry.level,
                                                        block.entry.IsFolder(), block.gone)
                                     : ReadRowNameIn(row.cells[0], block.gone, tree);
    SearchRow out{.row = index,
                  .kind = block.kind,
                  .gone = block.gone,
                  .folder = block.known ? block.entry.IsFolder() : name.folder,
                  .name = name.name,
                  .size = CellOf(row.cells, at.size),
                  .date = CellOf(row.cells, at.date),
                  .comment = CommentOf(row.cells, at.comments)};
    if (block.known) {
        out.known = true;
        out.bytes = block.entry.size;
        out.modified = block.entry.modified;
        if (paths != nullptr) {
            out.path = &paths->Path();
            out.pathKept = paths->PathKept();
        }
    }
    return out;
}

std::size_t SearchDocument(const SearchQuery& query, const SearchFilter& filter,
                           const std::string& document, const DocumentHitHandler& onHit,
                           const StopFlag* stop) {
    const SearchHitHandler report = [&](const SearchHit& hit) {
        onHit(document, hit);
    };
    std::size_t matches = 0;
    // The volume is known once the document is checked, before its first group.
    (void)ReadDocumentGroups(
        document,
        [&](const SearchGroup& group) { matches += ReportMatches(query, filter, group, report); },
        false, stop,
        [&](const CheckedDocument& checked) { return filter.AcceptsVolume(checked.volume); });
    return matches;
}

} // namespace

std::size_t SearchTable(const SearchQuery& query, const ListingTable& table,
                        const SearchHitHandler& onHit) {
    const SearchColumns at = ColumnsOf(table);
    const bool tree = ReadsAsTree(table);
    const EntryList* entries = table.Entries();
    std::size_t matches = 0;
    const SearchFilter none;
    SearchGrouper grouper(
        [&](const SearchGroup& group) { matches += ReportMatches(query, none, group, onHit); });
    std::string scratch;
    for (int row = 0; row < table.RowCount(); ++row) {
        const CellTexts cells = table.RowTexts(row, scratch);
        const RowKind kind = table.Kind(row);
        const bool gone = table.Gone(row);
        const std::uint32_t entry = kind == RowKind::Entry ? table.EntryIndex(row) : kNoEntry;
        const RowName name = entry != kNoEntry
                                 ? ReadEntryRowName(cells[0], entries->Entries().Level(entry),
                                                    entries->Entries().IsFolder(entry), gone)
                                 : ReadRowNameIn(cells[0], gone, tree);
        grouper.Add({.row = row,
                     .kind = kind,
                     .gone = gone,
                     .folder = name.folder,
                     .name = name.name,
                     .size = CellOf(cells, at.size),
                     .date = CellOf(cells, at.date),
                     .comment = CommentOf(cells, at.comments)});
    }
    grouper.Finish();
    return matches;
}

CheckedDocument ReadDocumentGroups(const std::string& path,
                                   const SearchGrouper::GroupHandler& onGroup, bool keepPaths,
                                   const StopFlag* stop,
                                   const std::function<bool(const CheckedDocument&)>& proceed) {
    // Through folder descriptors, so a document deeper than a path may be long is read too.
    const FileByteSource source(OpenReadableFile(path, kMaxDocumentBytes));
    std::optional<DocumentRowReader> opened;
    try {
        opened.emplace(source);
    } catch (const Error& error) {
        ArchiveReader start(source);
        throw Error(
            RefusalMessage("\"" + path + "\" is not a Dirscribe document: ", error.what(), start));
    }
    DocumentRowReader& reader = *opened;
    const CheckedDocument& checked = reader.Document();
    if (proceed && !proceed(checked))
        return checked;
    ListingOptions options;
    checked.settings.ApplyTo(options);
    ListingTable columns;
    columns.SetColumns(ListingColumns(options));
    const SearchColumns at = ColumnsOf(columns);
    SearchGrouper grouper(onGroup, keepPaths);
    DocumentRow row;
    for (int index = 0; reader.Next(row) && !Stopped(stop); ++index)
        grouper.Add(RowOf(index, row, at, checked.shape.Tree(), keepPaths ? &reader : nullptr));
    grouper.Finish();
    return checked;
}

std::vector<std::string> FindDocuments(const std::vector<std::string>& paths, Notice& notice,
                                       const StopFlag* stop) {
    std::vector<std::string> found;
    for (const std::string& path : paths) {
        struct stat info {};
        if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
            if (std::optional<Directory> folder = Directory::Open(path))
                FindIn(*folder, path, notice, stop, found);
            else
                notice.Show(kCaption, std::string(kProblemReadingFolder) + path);
        } else {
            found.push_back(path);
        }
    }
    return found;
}

std::size_t SearchDocuments(const SearchQuery& query, const std::vector<std::string>& paths,
                            Notice& notice, Progress& progress, const DocumentHitHandler& onHit,
                            const StopFlag* stop, const SearchFilter& filter) {
    const std::vector<std::string> documents = FindDocuments(paths, notice, stop);
    progress.Begin();
    progress.SetRange(static_cast<std::int64_t>(documents.size()));
    std::size_t matches = 0;
    for (const std::string& document : documents) {
        if (Stopped(stop))
            break;
        progress.Step();
        try {
            matches += SearchDocument(query, filter, document, onHit, stop);
        } catch (const Error& error) {
            notice.Show(kCaption, error.what());
        }
    }
    progress.End();
    return matches;
}

} // namespace dirscribe
