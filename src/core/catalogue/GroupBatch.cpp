// SPDX-License-Identifier: MIT
#include "core/catalogue/GroupBatch.h"

namespace dirscribe {

void GroupBatch::Add(const SearchGroup& group) {
    const std::size_t added = group.path.size() - group.pathKept;
    m_facts.push_back({.row = group.row,
                       .rows = group.rows,
                       .entry = group.entry,
                       .gone = group.gone,
                       .folder = group.folder,
                       .known = group.known,
                       .bytes = group.bytes,
                       .modified = group.modified,
                       .pathKept = group.pathKept,
                       .added = static_cast<std::uint32_t>(added),
                       .details = static_cast<std::uint32_t>(group.details.size()),
                       .name = static_cast<std::uint32_t>(group.name.size()),
                       .size = static_cast<std::uint32_t>(group.size.size()),
                       .date = static_cast<std::uint32_t>(group.date.size()),
                       .comment = static_cast<std::uint32_t>(group.comment.size())});
    m_texts.append(group.name).append(group.size).append(group.date).append(group.comment);
    for (const SearchGroup::Details& details : group.details) {
        m_detailRows.push_back(details.row);
        Text(details.comment);
    }
    for (std::size_t i = group.pathKept; i < group.path.size(); ++i)
        Text(group.path[i]);
}

void GroupBatch::Clear() {
    m_facts.clear();
    m_texts.clear();
    m_lengths.clear();
    m_detailRows.clear();
}

void GroupBatch::Text(std::string_view text) {
    m_lengths.push_back(static_cast<std::uint32_t>(text.size()));
    m_texts.append(text);
}

std::string_view GroupBatch::Take(std::size_t length, Cursor& cursor) const {
    const std::string_view text(m_texts.data() + cursor.text, length);
    cursor.text += length;
    return text;
}

void GroupBatch::Make(SearchGroup& group, const Facts& facts, Cursor& cursor) const {
    group.row = facts.row;
    group.rows = facts.rows;
    group.entry = facts.entry;
    group.gone = facts.gone;
    group.folder = facts.folder;
    group.known = facts.known;
    group.bytes = facts.bytes;
    group.modified = facts.modified;
    group.name.assign(Take(facts.name, cursor));
    group.size.assign(Take(facts.size, cursor));
    group.date.assign(Take(facts.date, cursor));
    group.comment.assign(Take(facts.comment, cursor));
    group.details.resize(facts.details);
    for (SearchGroup::Details& details : group.details) {
        details.row = m_detailRows[cursor.details++];
        details.comment.assign(Take(m_lengths[cursor.length++], cursor));
    }
    // The first pathKept names are those of the group made before, as the grouper left them.
    group.pathKept = facts.pathKept;
    group.path.resize(facts.pathKept + facts.added);
    for (std::size_t i = facts.pathKept; i < group.path.size(); ++i)
        group.path[i].assign(Take(m_lengths[cursor.length++], cursor));
}

} // namespace dirscribe
