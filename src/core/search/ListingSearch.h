// SPDX-License-Identifier: MIT
// Which saved listing holds a file: names and comments searched in tables and documents.
#pragma once

#include "core/platform/Notice.h"
#include "core/platform/Progress.h"
#include "core/platform/StopFlag.h"
#include "core/search/SearchQuery.h"
#include "core/table/ListingTable.h"

#include <functional>
#include <string>
#include <vector>

namespace dirscribe {

// One row that matched. Texts are as the table shows them without their padding; the name
// also without brackets or tree decoration (a gone entry's keeps its mark). An entry's
// comment is its Comments cell and its comment rows joined without a separator (they hold the
// text as typed, a row's last blank at its end); a details row
// that matched gives the name, size and date of the entry it belongs to.
struct SearchHit {
    int row = 0; // from 0
    std::string name;
    std::string size;
    std::string date;
    std::string comment;
};

using SearchHitHandler = std::function<void(const SearchHit&)>;

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

// Searches every document FindDocuments finds, one progress step each, as SearchTable
// searches a table, reading each one row by row (DocumentRowReader): the memory a search
// takes does not grow with the documents. A document that cannot be read is reported by
// name and skipped, before any of its rows is matched. onHit receives the document's path and
// the hit. Returns the number of matches. A stop request, polled per folder and per
// document, ends the search early.
std::size_t
SearchDocuments(const SearchQuery& query, const std::vector<std::string>& paths, Notice& notice,
                Progress& progress,
                const std::function<void(const std::string& document, const SearchHit&)>& onHit,
                const StopFlag* stop = nullptr);

} // namespace dirscribe
