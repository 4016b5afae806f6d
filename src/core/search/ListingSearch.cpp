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

// What a search needs of a row.
struct SearchRow {
    int row = 0;
    RowKind kind = RowKind::Free;
    bool gone = false;
    std::string_view name; // bare, for an entry row
    std::string_view size;
    std::string_view date;
    std::string_view comment;
};

// Takes the rows of a listing in order and reports the matches in row order: an entry, or
// a row the user inserted, with its comment rows joined to its comment, is reported once it
// is complete, followed by the matches of the details rows that stood among its rows.
class HitFinder {
public:
    HitFinder(const SearchQuery& query, const SearchHitHandler& onHit)
        : m_query(query), m_onHit(onHit) {}

    void Add(const SearchRow& row) {
        if (row.kind == RowKind::Continuation && m_open) {
            // The rows of a comment say what was typed when joined as they are: the editor
            // leaves the blank at the end of a row, the old one cut words where it liked.
            m_owner.comment.append(row.comment);
            return;
        }
        if (row.kind == RowKind::Details && m_open) {
            if (m_query.MatchesComment(row.comment))
                m_later.push_back({row.row, m_owner.name, m_owner.size, m_owner.date,
                                   std::string(Trimmed(row.comment))});
            return;
        }
        Finish();
        m_open = true;
        m_ownerIsEntry = row.kind == RowKind::Entry;
        m_owner = {row.row, std::string(row.name), std::string(row.size), std::string(row.date),
                   std::string(row.comment)};
        if (row.gone)
            m_owner.name += kGoneMark;
        m_nameMatches = m_ownerIsEntry && m_query.MatchesName(row.name);
    }

    // Reports what is still open; returns the number of matches so far.
    std::size_t Finish() {
        if (m_open && (m_nameMatches || m_query.MatchesComment(m_owner.comment))) {
            m_owner.comment = std::string(Trimmed(m_owner.comment));
            Report(m_owner);
        }
        for (const SearchHit& hit : m_later)
            Report(hit);
        m_later.clear();
        m_open = false;
        return m_matches;
    }

private:
    void Report(const SearchHit& hit) {
        ++m_matches;
        m_onHit(hit);
    }

    const SearchQuery& m_query;
    const SearchHitHandler& m_onHit;
    bool m_open = false;
    bool m_ownerIsEntry = false;
    bool m_nameMatches = false;
    SearchHit m_owner;
    std::vector<SearchHit> m_later;
    std::size_t m_matches = 0;
};

// The columns of a listing by title.
struct SearchColumns {
    int comments = -1;
    int size = -1;
    int date = -1;
};

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

std::size_t SearchDocument(const SearchQuery& query, const std::string& document,
                           const std::function<void(const std::string&, const SearchHit&)>& onHit,
                           const StopFlag* stop) {
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
    const CheckedDocument& checked = reader.Document();
    ListingOptions options;
    checked.settings.ApplyTo(options);
    ListingTable columns;
    columns.SetColumns(ListingColumns(options));
    const SearchColumns at{columns.ColumnIndex(kCommentsTitle), columns.ColumnIndex(kSizeTitle),
                           columns.ColumnIndex(kLastModifiedTitle)};
    const SearchHitHandler report = [&](const SearchHit& hit) {
        onHit(document, hit);
    };
    HitFinder finder(query, report);
    DocumentRow row;
    for (int index = 0; reader.Next(row) && !Stopped(stop); ++index) {
        const BlockRow& block = row.block;
        const bool known = block.known;
        const RowName name = known ? ReadEntryRowName(row.cells[0], block.entry.level,
                                                      block.entry.IsFolder(), block.gone)
                                   : ReadRowNameIn(row.cells[0], block.gone, checked.shape.Tree());
        finder.Add({index, block.kind, block.gone, name.name, CellOf(row.cells, at.size),
                    CellOf(row.cells, at.date), CommentOf(row.cells, at.comments)});
    }
    return finder.Finish();
}

} // namespace

std::size_t SearchTable(const SearchQuery& query, const ListingTable& table,
                        const SearchHitHandler& onHit) {
    const SearchColumns at{table.ColumnIndex(kCommentsTitle), table.ColumnIndex(kSizeTitle),
                           table.ColumnIndex(kLastModifiedTitle)};
    const bool tree = ReadsAsTree(table);
    const EntryList* entries = table.Entries();
    HitFinder finder(query, onHit);
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
        finder.Add({row, kind, gone, name.name, CellOf(cells, at.size), CellOf(cells, at.date),
                    CommentOf(cells, at.comments)});
    }
    return finder.Finish();
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

std::size_t
SearchDocuments(const SearchQuery& query, const std::vector<std::string>& paths, Notice& notice,
                Progress& progress,
                const std::function<void(const std::string& document, const SearchHit&)>& onHit,
                const StopFlag* stop) {
    const std::vector<std::string> documents = FindDocuments(paths, notice, stop);
    progress.Begin();
    progress.SetRange(static_cast<std::int64_t>(documents.size()));
    std::size_t matches = 0;
    for (const std::string& document : documents) {
        if (Stopped(stop))
            break;
        progress.Step();
        try {
            matches += SearchDocument(query, document, onHit, stop);
        } catch (const Error& error) {
            notice.Show(kCaption, error.what());
        }
    }
    progress.End();
    return matches;
}

} // namespace dirscribe
