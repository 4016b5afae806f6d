// SPDX-License-Identifier: MIT
#include "gui/app/SearchResultsModel.h"

#include "core/format/Utf8.h"
#include "render/QtText.h"

#include <array>
#include <iterator>

namespace dirscribe {

namespace {

constexpr std::array<const char*, 6> kTitles{"Document", "Row", "Name", "Size", "Date", "Comment"};

} // namespace

void SearchResultsModel::Clear(std::string folder) {
    beginResetModel();
    m_folder = std::move(folder);
    if (!m_folder.ends_with('/'))
        m_folder += '/';
    m_matches.clear();
    endResetModel();
}

void SearchResultsModel::Append(std::vector<SavedMatch> matches) {
    if (matches.empty())
        return;
    const int first = rowCount();
    beginInsertRows({}, first, first + static_cast<int>(matches.size()) - 1);
    m_matches.insert(m_matches.end(), std::make_move_iterator(matches.begin()),
                     std::make_move_iterator(matches.end()));
    endInsertRows();
}

int SearchResultsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_matches.size());
}

int SearchResultsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(kTitles.size());
}

QVariant SearchResultsModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount())
        return {};
    const SavedMatch& match = At(index.row());
    if (!match.problem.empty())
        return index.column() == 0 ? ToQString(DisplayText(match.problem)) : QVariant();
    switch (index.column()) {
    case 0: {
        std::string_view document = match.document;
        if (document.starts_with(m_folder))
            document.remove_prefix(m_folder.size());
        return ToQString(DisplayText(document));
    }
    case 1:
        return match.hit.row + 1;
    case 2:
        return ToQString(match.hit.name);
    case 3:
        return ToQString(match.hit.size);
    case 4:
        return ToQString(match.hit.date);
    default:
        return ToQString(match.hit.comment);
    }
}

QVariant SearchResultsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= columnCount())
        return {};
    return QString::fromLatin1(kTitles[static_cast<std::size_t>(section)]);
}

} // namespace dirscribe
