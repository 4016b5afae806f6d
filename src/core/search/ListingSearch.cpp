// SPDX-License-Identifier: MIT
#include "core/search/ListingSearch.h"

#include "core/Error.h"
#include "core/docfile/DocumentFile.h"
#include "core/export/ExportSource.h"
#include "core/format/AsciiCase.h"
#include "core/listing/EntryList.h"
#include "core/platform/Directory.h"
#include "core/table/RowName.h"
#include "core/table/TablePopulation.h"

#include <algorithm>
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

} // namespace

std::size_t SearchTable(const SearchQuery& query, const ListingTable& table,
                        const SearchHitHandler& onHit) {
    const int comments = table.ColumnIndex(kCommentsTitle);
    const int size = table.ColumnIndex(kSizeTitle);
    const int date = table.ColumnIndex(kLastModifiedTitle);
    std::size_t matches = 0;
    int owner = -1;
    for (int row = 0; row < table.RowCount(); ++row) {
        const bool continuation = FollowsEntry(table.Kind(row));
        owner = continuation ? owner : row;
        const std::string_view comment = comments >= 0 ? ExportedCell(table, row, comments) : "";
        const bool gone = table.Gone(owner);
        const RowName name = ReadRowName(table.Cell(owner, 0), gone);
        const bool match = continuation
                               ? query.MatchesComment(comment)
                               : query.MatchesName(name.name) || query.MatchesComment(comment);
        if (!match)
            continue;
        ++matches;
        std::string shown(owner >= 0 ? name.name : std::string_view());
        if (owner >= 0 && gone)
            shown += kGoneMark;
        onHit({row, std::move(shown), std::string(ExportedCell(table, owner, size)),
               std::string(ExportedCell(table, owner, date)), std::string(comment)});
    }
    return matches;
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
        DocumentContents contents;
        try {
            contents = LoadDocumentFile(document);
        } catch (const Error& error) {
            notice.Show(kCaption, error.what());
            continue;
        }
        ListingOptions options;
        contents.settings.ApplyTo(options);
        ListingTable table;
        table.SetColumns(ListingColumns(options));
        table.AdoptRows(std::move(contents.rows));
        matches += SearchTable(query, table, [&](const SearchHit& hit) { onHit(document, hit); });
    }
    progress.End();
    return matches;
}

} // namespace dirscribe
