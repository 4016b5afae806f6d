// SPDX-License-Identifier: MIT
// The listing table's view: an active column, cell navigation and edit requests.
#include "gui/table/CellListView.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <algorithm>

namespace dirscribe {

namespace {

// An editor is not put over a column narrower than this.
constexpr int kNarrowestEditable = 5;
// The editor starts this far inside the cell and is this much narrower than the column.
constexpr int kEditorInset = 4;
constexpr int kEditorShrink = 3;
// Where a menu asked for from the keyboard opens, inside the view.
constexpr QPoint kKeyboardMenuPoint(5, 5);

} // namespace

CellListView::CellListView(QWidget* parent) : QTableView(parent) {
    // Cells are edited through EditRequested only, never by the item view's own editors.
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    // Columns are brought into view to the pixel.
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    horizontalHeader()->setSectionsMovable(true);
    // Columns may be dragged as narrow as the user likes, down to nothing.
    horizontalHeader()->setMinimumSectionSize(0);
    // Scrolling by hand takes the focus, which ends an edit in progress: an editor must
    // not stay open over a cell that moved.
    connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this, &CellListView::UserScrolled);
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this, &CellListView::UserScrolled);
}

int CellListView::OrderOfColumn(int column) const {
    if (!model() || column < 0 || column >= model()->columnCount())
        return -1;
    return horizontalHeader()->visualIndex(column);
}

int CellListView::ColumnAtOrder(int position) const {
    if (!model() || position < 0 || position >= model()->columnCount())
        return -1;
    return horizontalHeader()->logicalIndex(position);
}

void CellListView::MakeColumnVisible(int column) {
    if (!model() || column < 0 || column >= model()->columnCount())
        return;
    const int x = columnViewportPosition(column);
    if (x >= 0 && x + columnWidth(column) <= viewport()->width())
        return;
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() + x);
}

bool CellListView::PlaceEditor(QWidget& editor, int row, int column) {
    if (!model() || row < 0 || row >= model()->rowCount())
        return false;
    const int rowTop = rowViewportPosition(row);
    if (rowTop + rowHeight(row) <= 0 || rowTop >= viewport()->height()) {
        const int sideways = horizontalScrollBar()->value();
        scrollTo(model()->index(row, 0), QAbstractItemView::EnsureVisible);
        horizontalScrollBar()->setValue(sideways);
    }
    if (column < 0 || column >= model()->columnCount())
        return false;
    // The column's own width decides, wherever its header was dragged to.
    const int width = columnWidth(column);
    if (width < kNarrowestEditable)
        return false;
    MakeColumnVisible(column);
    const int left = columnViewportPosition(column) + kEditorInset;
    const int right = std::min(left + width - kEditorShrink, viewport()->width());
    editor.setGeometry(left, rowViewportPosition(row), right - left, rowHeight(row));
    editor.update();
    return true;
}

void CellListView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    const int sideways = horizontalScrollBar()->value();
    QTableView::scrollTo(index, hint);
    horizontalScrollBar()->setValue(sideways);
}

void CellListView::NextColumn() {
    const int count = model() ? model()->columnCount() : 0;
    if (++m_currentColumn > count - 1) {
        m_currentColumn = count - 1;
        return;
    }
    ActiveColumnMoved();
}

void CellListView::PrevColumn() {
    // Left of the first column is no column; left of none stays none.
    if (m_currentColumn < 0)
        return;
    const int count = model() ? model()->columnCount() : 0;
    m_currentColumn = std::min(m_currentColumn - 1, count - 1);
    ActiveColumnMoved();
}

void CellListView::EditCurrentCell() {
    const int row = FocusedRow();
    if (m_currentColumn == -1 || row == -1)
        return;
    RequestEdit(row, ColumnAtOrder(m_currentColumn));
}

int CellListView::FocusedRow() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

void CellListView::FocusRow(int row) {
    if (!model() || !selectionModel() || row < 0 || row >= model()->rowCount())
        return;
    const int sideways = horizontalScrollBar()->value();
    const QModelIndex index = model()->index(row, std::max(ColumnAtOrder(m_currentColumn), 0));
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                 QItemSelectionModel::Rows);
    horizontalScrollBar()->setValue(sideways);
}

QRect CellListView::ActiveCell() const {
    const int row = FocusedRow();
    const int column = ColumnAtOrder(m_currentColumn);
    if (row < 0 || column < 0)
        return {};
    return visualRect(model()->index(row, column));
}

QPoint CellListView::KeyboardMenuPoint() const {
    const QRect cell = ActiveCell();
    if (cell.isEmpty()) {
        const QModelIndex focused = currentIndex();
        const QRect row = focused.isValid() ? visualRect(focused) : QRect();
        return viewport()->mapToGlobal(row.isEmpty() ? kKeyboardMenuPoint : row.bottomLeft());
    }
    return viewport()->mapToGlobal(cell.bottomLeft());
}

void CellListView::paintEvent(QPaintEvent* event) {
    QTableView::paintEvent(event);
    const QRect cell = ActiveCell();
    if (cell.isEmpty())
        return;
    // Drawn over the selected row in its text colour, so it stands out from the highlight.
    const bool selected =
        selectionModel() != nullptr && selectionModel()->isRowSelected(FocusedRow(), {});
    QPainter painter(viewport());
    painter.setPen(
        QPen(palette().color(selected ? QPalette::HighlightedText : QPalette::Highlight), 2));
    painter.drawRect(cell.adjusted(1, 1, -1, -1));
}

void CellListView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    viewport()->update(); // the frame leaves the row it was on
}

bool CellListView::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return QTableView::viewportEvent(event);
    ShowCellTip(*static_cast<QHelpEvent*>(event));
    return true;
}

void CellListView::ShowCellTip(const QHelpEvent& event) {
    const QModelIndex index = indexAt(event.pos());
    const QString text = index.data().toString().trimmed();
    const QRect cell = visualRect(index);
    // The item's text stands this far inside the cell on either side.
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    if (!index.isValid() || fontMetrics().horizontalAdvance(text) <= cell.width() - 2 * margin) {
        QToolTip::hideText();
        return;
    }
    QToolTip::showText(event.globalPos(), text, viewport(), cell);
}

void CellListView::ActiveColumnMoved() {
    MakeColumnVisible(ColumnAtOrder(m_currentColumn));
    const int row = FocusedRow();
    if (row != -1)
        viewport()->update(0, rowViewportPosition(row), viewport()->width(), rowHeight(row));
}

void CellListView::UserScrolled() {
    if (!hasFocus())
        setFocus(Qt::MouseFocusReason);
}

void CellListView::RequestEdit(int row, int column) {
    if (m_editNotify && row >= 0 && column >= 0)
        emit EditRequested(row, column);
}

void CellListView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Left:
        PrevColumn();
        event->accept();
        return;
    case Qt::Key_Right:
        NextColumn();
        event->accept();
        return;
    case Qt::Key_F2:
        EditCurrentCell();
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (event->modifiers() == Qt::NoModifier && m_rowOpener && FocusedRow() >= 0 &&
            m_rowOpener(FocusedRow())) {
            event->accept();
            return;
        }
        break;
    case Qt::Key_F10:
        if (event->modifiers() == Qt::ShiftModifier) {
            emit MenuRequested(KeyboardMenuPoint());
            event->accept();
            return;
        }
        break;
    default:
        break;
    }
    QTableView::keyPressEvent(event);
}

void CellListView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QTableView::mousePressEvent(event);
        return;
    }
    const QPoint point = event->position().toPoint();
    const int row = rowAt(point.y());
    const int column = columnAt(point.x());
    const int oldColumn = m_currentColumn;
    m_currentColumn = OrderOfColumn(column);
    MakeColumnVisible(ColumnAtOrder(m_currentColumn));
    const bool hadFocus = row != -1 && row == FocusedRow();

    QTableView::mousePressEvent(event);

    // A second click in the same column of the focused row.
    if (hadFocus && m_currentColumn != -1 && m_currentColumn == oldColumn)
        RequestEdit(row, column);
}

void CellListView::mouseDoubleClickEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    const int row = rowAt(point.y());
    if (event->button() == Qt::LeftButton && row >= 0 && columnAt(point.x()) == 0 && m_rowOpener &&
        m_rowOpener(row)) {
        event->accept();
        return;
    }
    // Otherwise the second press of a double click counts as a second click on the cell.
    mousePressEvent(event);
}

void CellListView::contextMenuEvent(QContextMenuEvent* event) {
    const QPoint global =
        event->reason() == QContextMenuEvent::Keyboard ? KeyboardMenuPoint() : event->globalPos();
    emit MenuRequested(global);
    event->accept();
}

} // namespace dirscribe
