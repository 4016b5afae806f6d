// SPDX-License-Identifier: MIT
// Which saved listing holds a file: names and comments searched in tables and documents.
#pragma once

#include "core/docfile/DocumentCheck.h"
#include "core/platform/Notice.h"
#include "core/platform/Progress.h"
#include "core/platform/StopFlag.h"
#include "core/search/SearchFilter.h"
#include "core/search/SearchGroup.h"
#include "core/search/SearchQuery.h"
#include "core/table/ListingTable.h"

#include <functional>
#include <string>
#include <vector>

namespace dirscribe {

// Calls onHit for every row of the table that matches, in row order: an entry row by its
// name or its whole comment (a match in one of its comment rows is the entry's, reported
// once), a details row or an inserted row by its own comment. Whether a row is an entry,
// and whether it is gone, is its kind and mark, never its text. Returns the number of
// matches.
std::size_t SearchTable(const SearchQuery& query, const ListingTable& table,
                        const SearchHitHandler& onHit);

// The document files a search looks at: each path that is not a folder as it is; in a
// folder and every folder below it (links not followed), each file whose name ends in
// ".dsc" in any case, in the order listings use. A folder that cannot be read is reported
// and the search goes on. A stop request ends the walk early with what was found so far.
std::vector<std::string> FindDocuments(const std::vector<std::string>& paths, Notice& notice,
                                       const StopFlag* stop = nullptr);

using DocumentHitHandler = std::function<void(const std::string& document, const SearchHit&)>;

// Searches every document FindDocuments finds, one progress step each, as SearchTable
// searches a table, reading each one row by row (DocumentRowReader): the memory a search
// takes does not grow with the documents. Only the entries that pass the filter match, and
// only in documents of the volume it names. A document that cannot be read is reported by
// name and skipped, before any of its rows is matched. onHit receives the document's path and
// the hit. Returns the number of matches. A stop request, polled per folder and per
// document, ends the search early.
std::size_t SearchDocuments(const SearchQuery& query, const std::vector<std::string>& paths,
                            Notice& notice, Progress& progress, const DocumentHitHandler& onHit,
                            const StopFlag* stop = nullptr, const SearchFilter& filter = {});

// Reads the document at path row by row and hands its groups over in order (with the raw
// paths of their entries when keepPaths is set), once `proceed` (when given) has said yes to
// what the check of the whole document found; a stop request ends the reading early.
// Returns what the check found. Throws Error, naming the document, when it cannot be read
// or is not a well-formed document, before any group is handed over.
CheckedDocument ReadDocumentGroups(const std::string& path,
                                   const SearchGrouper::GroupHandler& onGroup, bool keepPaths,
                                   const StopFlag* stop = nullptr,
                                   const std::function<bool(const CheckedDocument&)>& proceed = {});

} // namespace dirscribe
