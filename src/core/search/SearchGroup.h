// SPDX-License-Identifier: MIT
// The rows of a listing as a search sees them: each entry with the rows that belong to it.
#pragma once

#include "core/docfile/DocumentBlock.h"
#include "core/search/SearchFilter.h"
#include "core/search/SearchQuery.h"
#include "core/table/RowKind.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace dirscribe {

// One row that matched. Texts are as the table shows them without their padding; the name
// also without brackets or tree decoration (a gone entry's keeps its mark). An entry's
// comment is its Comments cell and its comment rows joined without a separator (they hold the
// text as typed, a row's last blank at its end); a details row that matched gives the name,
// size and date of the entry it belongs to.
struct SearchHit {
    int row = 0; // from 0
    std::string name;
    std::string size;
    std::string date;
    std::string comment;
};

using SearchHitHandler = std::function<void(const SearchHit&)>;

// What a search needs of a row: its texts (views that last until the next row) and, for an
// entry its document or table knows, the entry's facts.
struct SearchRow {
    int row = 0;
    RowKind kind = RowKind::Free;
    bool gone = false;
    bool folder = false;   // as its entry or its name's decoration says
    std::string_view name; // bare, for an entry row
    std::string_view size;
    std::string_view date;
    std::string_view comment;
    bool known = false; // the facts below are the entry's own
    std::uint64_t bytes = 0;
    std::uint64_t modified = 0; // file time
    // The entry's path of raw names from the listed folder (known entries only), where the
    // caller keeps them; none otherwise.
    const NamePath* path = nullptr;
    // How many of its first names are those of the known entry's before it.
    std::size_t pathKept = 0;
};

// An entry, or a row the user inserted, with the rows up to the next one: its comment rows
// (their texts joined to its comment) and its details rows. A listing's first rows, when
// they belong to no entry, make a group of their own.
struct SearchGroup {
    struct Details {
        int row = 0;
        std::string comment;
    };

    int row = 0;        // the group's first row, from 0
    int rows = 0;       // how many rows it spans
    bool entry = false; // an entry row: its name is matched
    bool gone = false;
    bool folder = false;
    bool known = false;
    std::uint64_t bytes = 0;
    std::uint64_t modified = 0;
    std::string name;
    std::string size;
    std::string date;
    std::string comment;
    std::vector<Details> details;
    std::vector<std::string> path; // kept only where the grouper was asked to keep paths
    // How many of its first names are those of the path of the known group before it (0
    // when that is not known).
    std::size_t pathKept = 0;
};

// Takes the rows of a listing in order and hands each group over once it is complete.
class SearchGrouper {
public:
    using GroupHandler = std::function<void(const SearchGroup&)>;
    explicit SearchGrouper(GroupHandler onGroup, bool keepPaths = false)
        : m_onGroup(std::move(onGroup)), m_keepPaths(keepPaths) {}

    void Add(const SearchRow& row);
    // Hands over the group still open.
    void Finish();

private:
    GroupHandler m_onGroup;
    bool m_keepPaths = false;
    bool m_open = false;
    SearchGroup m_group;
};

// Reports the matches of one group, in row order: the entry (or inserted row) when it
// passes the filter and its name or its whole comment matches, then each of its details
// rows whose own comment matches. Returns how many were reported.
std::size_t ReportMatches(const SearchQuery& query, const SearchFilter& filter,
                          const SearchGroup& group, const SearchHitHandler& onHit);
// Whether ReportMatches would report anything of the group.
bool AnyMatches(const SearchQuery& query, const SearchFilter& filter, const SearchGroup& group);

} // namespace dirscribe
