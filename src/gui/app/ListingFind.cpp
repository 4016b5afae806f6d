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

ListingFind::Found ListingFind::Next(int row) {
    if (!m_found) {
        m_rows.clear();
        SearchTable(SearchQuery(m_text.toStdString()), m_table,
                    [this](const SearchHit& hit) { m_rows.push_back(hit.row); });
        m_found = true;
    }
    const QString quoted = '"' + m_text + '"';
    if (m_rows.empty())
        return {-1, QStringLiteral("No row matches %1").arg(quoted)};
    const int from = std::exchange(m_passedEnd, false) ? -1 : row;
    const auto next = std::upper_bound(m_rows.begin(), m_rows.end(), from);
    if (next == m_rows.end()) {
        m_passedEnd = true;
        return {
            -1,
            QStringLiteral("No more rows match %1; Find Next starts again at the top").arg(quoted)};
    }
    return {*next, QStringLiteral("Match %1 of %2: %3")
                       .arg(next - m_rows.begin() + 1)
                       .arg(m_rows.size())
                       .arg(quoted)};
}

} // namespace dirscribe
