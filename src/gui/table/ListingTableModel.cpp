// SPDX-License-Identifier: MIT
#include "gui/table/ListingTableModel.h"

#include "core/table/ListingTable.h"
#include "render/QtText.h"

namespace dirscribe {

namespace {

Qt::Alignment ToQtAlignment(ColumnAlignment alignment) {
    switch (alignment) {
    case ColumnAlignment::Center:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    case ColumnAlignment::Right:
        return Qt::AlignRight | Qt::AlignVCenter;
    case ColumnAlignment::Left:
        break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

} // namespace

ListingTableModel::ListingTableModel(const ListingTable& table, QObject* parent)
    : QAbstractTableModel(parent), m_table(table) {}

int ListingTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_table.RowCount();
}

int ListingTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_table.ColumnCount();
}

QVariant ListingTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return ToQString(m_table.Cell(index.row(), index.column()));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(ToQtAlignment(m_table.Columns()[index.column()].alignment));
    default:
        return {};
    }
}

QVariant ListingTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= m_table.ColumnCount())
        return {};
    if (role == Qt::DisplayRole)
        return ToQString(m_table.GetColumnTitle(section));
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(ToQtAlignment(m_table.Columns()[section].alignment));
    return {};
}

void ListingTableModel::CellChanged(int row, int column) {
    const QModelIndex cell = index(row, column);
    emit dataChanged(cell, cell, {Qt::DisplayRole, Qt::EditRole});
}

} // namespace dirscribe
