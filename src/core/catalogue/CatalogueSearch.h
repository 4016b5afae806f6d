// SPDX-License-Identifier: MIT
// Which saved listing holds a file, answered through the catalogue's index.
#pragma once

#include "core/catalogue/CatalogueStore.h"
#include "core/search/ListingSearch.h"

#include <string>
#include <vector>

namespace dirscribe {

// The chunks that may hold a match: those whose text holds every three characters of the
// query's plain runs (case-folded), and whose entries' sizes and times reach the filter's
// bounds. Any chunk outside them holds no match.
ChunkQuery ChunkQueryFor(const SearchQuery& query, const SearchFilter& filter);

// Searches the saved listings in paths as SearchDocuments does, the same matches in the
// same order, through the catalogue's index (LookThroughCatalogue) unless useIndex is
// false, when it is SearchDocuments. Documents and folders that cannot be read go to
// `problems`, why the index was not used to `remarks`. Returns the number of matches.
std::size_t SearchCatalogue(const SearchQuery& query, const SearchFilter& filter,
                            const std::vector<std::string>& paths, bool useIndex, Notice& problems,
                            Notice& remarks, Progress& progress, const DocumentHitHandler& onHit,
                            const StopFlag* stop = nullptr);

} // namespace dirscribe
