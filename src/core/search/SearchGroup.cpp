// SPDX-License-Identifier: MIT
#include "core/search/SearchGroup.h"

#include "core/table/NameCell.h"

#include <algorithm>

namespace dirscribe {

namespace {

// A comment as a search line shows it: without the blanks at its ends.
std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

} // namespace

void SearchGrouper::Add(const SearchRow& row) {
    if (m_open && row.kind == RowKind::Continuation) {
        // The rows of a comment say what was typed when joined as they are: the editor
        // leaves the blank at the end of a row, the old one cut words where it liked.
        m_group.comment.append(row.comment);
        ++m_group.rows;
        return;
    }
    if (m_open && row.kind == RowKind::Details) {
        m_group.details.push_back({row.row, std::string(row.comment)});
        ++m_group.rows;
        return;
    }
    Finish();
    m_open = true;
    SearchGroup& group = m_group;
    group.row = row.row;
    group.rows = 1;
    group.entry = row.kind == RowKind::Entry;
    group.gone = row.gone;
    group.folder = row.folder;
    group.known = row.known;
    group.bytes = row.known ? row.bytes : 0;
    group.modified = row.known ? row.modified : 0;
    group.name.assign(row.name);
    group.size.assign(row.size);
    group.date.assign(row.date);
    group.comment.assign(row.comment);
    group.details.clear();
    if (m_keepPaths) {
        // The names it shares with the group before are there already, when that group had
        // its path: only the others are copied, into the room the names before took.
        const std::size_t depth = row.path != nullptr ? row.path->Size() : 0;
        group.pathKept = depth == 0 ? 0 : std::min(row.pathKept, group.path.size());
        group.path.resize(depth);
        for (std::size_t i = group.pathKept; i < depth; ++i)
            group.path[i].assign((*row.path)[i]);
    }
}

void SearchGrouper::Finish() {
    if (!m_open)
        return;
    m_open = false;
    m_onGroup(m_group);
}

namespace {

// Whether the entry (or inserted row) matches by its name or its whole comment; its details
// rows match by their own comments.
bool OwnRowMatches(const SearchQuery& query, const SearchGroup& group) {
    return (group.entry && query.MatchesName(group.name)) || query.MatchesComment(group.comment);
}

} // namespace

std::size_t ReportMatches(const SearchQuery& query, const SearchFilter& filter,
                          const SearchGroup& group, const SearchHitHandler& onHit) {
    if (!filter.Accepts(group))
        return 0;
    std::size_t matches = 0;
    std::string name;
    const auto shownName = [&]() -> const std::string& {
        if (name.empty())
            name = group.gone ? group.name + std::string(kGoneMark) : group.name;
        return name;
    };
    if (OwnRowMatches(query, group)) {
        onHit(
            {group.row, shownName(), group.size, group.date, std::string(Trimmed(group.comment))});
        ++matches;
    }
    for (const SearchGroup::Details& details : group.details) {
        if (!query.MatchesComment(details.comment))
            continue;
        onHit({details.row, shownName(), group.size, group.date,
               std::string(Trimmed(details.comment))});
        ++matches;
    }
    return matches;
}

bool AnyMatches(const SearchQuery& query, const SearchFilter& filter, const SearchGroup& group) {
    return filter.Accepts(group) && (OwnRowMatches(query, group) ||
                                     std::any_of(group.details.begin(), group.details.end(),
                                                 [&](const SearchGroup::Details& details) {
                                                     return query.MatchesComment(details.comment);
                                                 }));
}

} // namespace dirscribe
