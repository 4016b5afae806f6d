// SPDX-License-Identifier: MIT
#include "gui/app/ListingFind.h"

#include "core/search/ListingSearch.h"

#include <QAbstractItemModel>
#include <algorithm>
#include <utility>

namespace dirscribe {

ListingFind::ListingFind(const ListingTable& table, const QAbstractItemModel& model,
                         QObject* parent)
    : QObject(parent), m_table(table) {
    connect(&model, &QAbstractItemModel::modelReset, this, &ListingFind::Forget);
    connect(&model, &QAbstractItemModel::rowsInserted, this, &ListingFind::Forget);
    connect(&model, &QAbstractItemModel::rowsRemoved, this, &ListingFind::Forget);
    connect(&model, &QAbstractItemModel::dataChanged, this, &ListingFind::Forget);
    connect(&model, &QAbstractItemModel::layoutChanged, this, &ListingFind::Forget);
}

void ListingFind::SetText(const QString& text) {
    m_text = text;
    m_found = false;
    m_passedEnd = false;
}

const std::vector<int>& ListingFind::Rows() {
    if (!m_found) {
        m_rows.clear();
        SearchTable(SearchQuery(m_text.toStdString()), m_table,
                    [this](const SearchHit& hit) { m_rows.push_back(hit.row); });
        m_found = true;
    }
    return m_rows;
}

ListingFind::Found ListingFind::At(std::vector<int>::const_iterator match) const {
    return {*match, QStringLiteral("Match %1 of %2: %3")
                        .arg(match - m_rows.begin() + 1)
                        .arg(m_rows.size())
                        .arg('"' + m_text + '"')};
}

ListingFind::Found ListingFind::From(int row) {
    const std::vector<int>& rows = Rows();
    m_passedEnd = false;
    if (rows.empty())
        return {-1, QStringLiteral("No row matches \"%1\"").arg(m_text)};
    const auto match = std::lower_bound(rows.begin(), rows.end(), row);
    return At(match == rows.end() ? rows.begin() : match);
}

ListingFind::Found ListingFind::Next(int row) {
    const std::vector<int>& rows = Rows();
    const QString quoted = '"' + m_text + '"';
    if (rows.empty())
        return {-1, QStringLiteral("No row matches %1").arg(quoted)};
    const int from = std::exchange(m_passedEnd, false) ? -1 : row;
    const auto next = std::upper_bound(rows.begin(), rows.end(), from);
    if (next == rows.end()) {
        m_passedEnd = true;
        return {
            -1,
            QStringLiteral("No more rows match %1; Find Next starts again at the top").arg(quoted)};
    }
    return At(next);
}

} // namespace dirscribe
