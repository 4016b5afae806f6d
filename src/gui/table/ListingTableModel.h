// SPDX-License-Identifier: MIT
// The listing table as Qt item views see it, without a copy of any cell.
#pragma once

#include <QAbstractTableModel>

namespace dirscribe {

class ListingTable;

// Answers a view's questions straight from the core table, so a million rows cost no
// item objects: the view asks only for the cells it paints. Whoever changes the table
// outside setData() wraps the change in Change() so that views reset.
class ListingTableModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit ListingTableModel(ListingTable& table, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // Runs a change of rows or columns made directly on the table, telling the views.
    template <typename Function> void Change(Function&& change) {
        beginResetModel();
        change();
        endResetModel();
    }

    // Runs an insertion of `count` rows at `first` made directly on the table, so that
    // views keep their scroll position and selection.
    template <typename Function> void InsertRows(int first, int count, Function&& change) {
        beginInsertRows({}, first, first + count - 1);
        change();
        endInsertRows();
    }
    // Runs a removal of rows [first, first + count) made directly on the table.
    template <typename Function> void RemoveRows(int first, int count, Function&& change) {
        beginRemoveRows({}, first, first + count - 1);
        change();
        endRemoveRows();
    }
    // Tells the views that one cell's text was changed directly on the table.
    void CellChanged(int row, int column);

    // Whether cells take edits (only while the Comments column is shown).
    void SetEditable(bool editable) { m_editable = editable; }

private:
    ListingTable& m_table;
    bool m_editable = false;
};

} // namespace dirscribe
