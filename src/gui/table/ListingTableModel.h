// SPDX-License-Identifier: MIT
// The listing table as Qt item views see it, without a copy of any cell.
#pragma once

#include <QAbstractTableModel>
#include <utility>

namespace dirscribe {

class ListingTable;

// Answers a view's questions straight from the core table, so a million rows cost no
// item objects: the view asks only for the cells it paints. The table is changed directly
// (edits go through the cell editor), each change wrapped in one of the calls below.
class ListingTableModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit ListingTableModel(const ListingTable& table, QObject* parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index,
                                int role = Qt::DisplayRole) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                      int role = Qt::DisplayRole) const override;

    // Runs a change that fills the table afresh (a read, an open, New, an update), telling
    // the views; then Refilled.
    template <typename Function> void Change(Function&& change) {
        Reshape(std::forward<Function>(change));
        emit Refilled();
    }
    // Runs a change of rows that leaves the others as they were, when the rows it adds are
    // known only once it is made (a details fetch), or one that moves every row (a sort).
    template <typename Function> void Reshape(Function&& change) {
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

signals:
    // The rows were filled afresh: what was known of the rows before is void.
    void Refilled();

private:
    const ListingTable& m_table;
};

} // namespace dirscribe
