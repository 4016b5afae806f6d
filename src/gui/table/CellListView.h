// SPDX-License-Identifier: MIT
// The listing table's view: an active column, cell navigation and edit requests.
#pragma once

#include <QTableView>
#include <functional>

namespace dirscribe {

// A row-selecting table view that also keeps an active column. Left and Right move it in
// on-screen order (the header sections may be dragged), scrolling it wholly into view;
// the focused row's cell in it is framed, so the user sees which cell a second click on
// the focused row, or F2, asks to edit. The view does not edit by itself: whoever listens
// to EditRequested decides what an edit is. The Menu key and Shift+F10 ask for the context
// menu at that cell. A cell whose text is cut off shows it whole in a tooltip. Enter, or a
// double click on a name, opens the row (see SetRowOpener).
// Columns are addressed by index (the model's column) or by display position.
class CellListView : public QTableView {
    Q_OBJECT

public:
    explicit CellListView(QWidget* parent = nullptr);

    // Whether clicks and F2 send EditRequested; off at the start.
    [[nodiscard]] bool EditNotify() const { return m_editNotify; }
    void SetEditNotify(bool editNotify) { m_editNotify = editNotify; }

    // The display position of a column index, -1 when the table has no such column.
    [[nodiscard]] int OrderOfColumn(int column) const;
    // The column index shown at a display position, -1 when there is none.
    [[nodiscard]] int ColumnAtOrder(int position) const;
    // Scrolls horizontally so that the column's left edge is at the viewport's left edge,
    // unless the column is already wholly visible. A negative index does nothing.
    void MakeColumnVisible(int column);
    // Puts an editor (a child of the viewport) over a cell: scrolls the row into view and
    // the column wholly into view, then places the editor 4 px inside the cell's left edge,
    // 3 px narrower than the column and never beyond the viewport. False, and the editor
    // stays where it is, for a row or column the table does not have or a column narrower
    // than 5 px.
    bool PlaceEditor(QWidget& editor, int row, int column);

    // Moves the active column one position right; stays at the last column.
    virtual void NextColumn();
    // Moves the active column one position left, with the same clamp and scrolling.
    virtual void PrevColumn();
    // Asks to edit the focused row's cell in the active column (when edits are on);
    // nothing without a focused row or an active column.
    virtual void EditCurrentCell();

    // Asked to open a row: Enter on the focused row, or a double click on its name. True
    // when it opened (say, a folder row listed its folder); otherwise a double click counts
    // as a second click on the cell.
    using RowOpener = std::function<bool(int row)>;
    void SetRowOpener(RowOpener opener) { m_rowOpener = std::move(opener); }

    // Scrolls `index` into view up and down only: sideways the view moves where the active
    // column is moved (MakeColumnVisible), or by the user.
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

    // The focused row, -1 for none.
    [[nodiscard]] int FocusedRow() const;
    // Makes `row` the focused and only selected row without scrolling sideways.
    void FocusRow(int row);

signals:
    // An edit of cell (row, column index) was asked for.
    void EditRequested(int row, int column);
    // A context menu was asked for at a global position (from the keyboard: below the
    // framed cell, or 5, 5 inside without one).
    void MenuRequested(const QPoint& globalPosition);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    // The framed cell in viewport coordinates; empty without one.
    [[nodiscard]] QRect ActiveCell() const;
    [[nodiscard]] QPoint KeyboardMenuPoint() const;
    void ShowCellTip(const QHelpEvent& event);
    void ActiveColumnMoved();
    void UserScrolled();
    void RequestEdit(int row, int column);

    int m_currentColumn = -1;
    bool m_editNotify = false;
    RowOpener m_rowOpener;
};

} // namespace dirscribe
