// SPDX-License-Identifier: MIT
#include "gui/table/ListingTableModel.h"

#include "core/table/ListingTable.h"
#include "gui/render/QtText.h"

namespace dirscribe {

namespace {

Qt::Alignment ToQtAlignment(ColumnAlignment alignment) {
    return (alignment == ColumnAlignment::Center ? Qt::AlignHCenter : Qt::AlignLeft) |
           Qt::AlignVCenter;
}

} // namespace

ListingTableModel::ListingTableModel(ListingTable& table, QObject* parent)
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

Qt::ItemFlags ListingTableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags result = QAbstractTableModel::flags(index);
    if (m_editable && index.isValid())
        result |= Qt::ItemIsEditable;
    return result;
}

bool ListingTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    m_table.SetCell(index.row(), index.column(), value.toString().toStdString());
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

void ListingTableModel::CellChanged(int row, int column) {
    const QModelIndex cell = index(row, column);
    emit dataChanged(cell, cell, {Qt::DisplayRole, Qt::EditRole});
}

} // namespace dirscribe
