// SPDX-License-Identifier: MIT
// Comments typed into the listing table, and the row commands of its context menu.
#include "gui/table/TableEditing.h"

#include "core/ops/ListingSession.h"
#include "gui/table/CellEdit.h"
#include "gui/table/CellListView.h"
#include "gui/table/ListingHistory.h"
#include "gui/table/ListingTableModel.h"
#include "render/QtText.h"

#include <QFontMetrics>
#include <QMenu>
#include <algorithm>
#include <string>

namespace dirscribe {

TableEditing::TableEditing(ListingSession& session, ListingTableModel& model, CellListView& view,
                           QObject* parent)
    : QObject(parent), m_session(session), m_model(model), m_view(view) {
    m_view.SetEditNotify(m_session.Listing().EditNotify());
    connect(&m_view, &CellListView::EditRequested, this, &TableEditing::OnBeginLabelEdit);
    connect(&m_view, &CellListView::MenuRequested, this, &TableEditing::OnContextMenu);
    connect(&m_model, &QAbstractItemModel::modelAboutToBeReset, this, &TableEditing::AbandonEdit);
    connect(&m_model, &QAbstractItemModel::modelReset, this, [this] {
        m_view.SetEditNotify(m_session.Listing().EditNotify());
        m_flow.EditEnded();
    });
}

TableEditing::~TableEditing() {
    if (CellEdit* editor = m_activeEditor) {
        editor->Abandon();
        editor->deleteLater();
    }
}

void TableEditing::OnBeginLabelEdit(int row, int column) {
    if (m_locked)
        return;
    if (m_session.Options().printAs == PageLayout::FileData) {
        if (m_detailsRequest)
            m_detailsRequest(row);
        return;
    }
    if (CellEdit* open = m_activeEditor)
        open->Finish();
    if (!m_continuing)
        BeginChange(row);

    const QString initial = ToQString(m_session.Listing().table.Cell(row, column));
    // Owned by the viewport, so it scrolls with the cell it covers.
    auto* editor = new CellEdit(row, column, initial, m_view.viewport());
    connect(editor, &CellEdit::Typed, this, [this, editor] { OnTyped(editor); });
    connect(editor, &CellEdit::Ended, this,
            [this, editor](bool keep, const QString& text) { OnEndLabelEdit(editor, keep, text); });
    m_activeEditor = editor;
    editor->setGeometry(0, 0, 1, 1);
    editor->setFont(m_view.font());
    editor->setText(initial);
    editor->show();
    editor->setFocus(Qt::OtherFocusReason);
    // Sized once where it was made: a comment row that already reaches the printable
    // width marks its line full.
    AutoSize(*editor);
    editor->selectAll();
    m_view.PlaceEditor(*editor, row, column);
}

void TableEditing::OnEndLabelEdit(CellEdit* editor, bool keep, const QString& text) {
    if (!m_activeEditor || editor != m_activeEditor)
        return;
    m_activeEditor = nullptr;
    const int row = editor->Item();
    const int column = editor->SubItem();
    if (keep && m_session.SetCellText(row, column, text.toStdString()))
        m_model.CellChanged(row, column);
    m_flow.EditEnded();
    Release(editor);
    if (!m_continuing)
        EndChange();
}

void TableEditing::FinishEdit() {
    if (CellEdit* editor = m_activeEditor)
        editor->Finish();
}

void TableEditing::BeginChange(int row) {
    m_change = PendingChange{row, m_session.Listing().CopyRows(row, 1),
                             m_session.Listing().table.RowCount()};
}

void TableEditing::EndChange() {
    if (!m_change)
        return;
    PendingChange change = std::move(*m_change);
    m_change.reset();
    Record(QStringLiteral("Typing"), change.first, std::move(change.before),
           1 + m_session.Listing().table.RowCount() - change.rowCount);
}

void TableEditing::Record(const QString& what, int first, ListingSession::RowSlice before,
                          int afterCount) {
    if (m_history)
        m_history->Record(what, first, std::move(before), afterCount);
}

void TableEditing::Release(CellEdit* editor) {
    // The editor may be inside its own key or focus handling: hide it now, free it later.
    if (editor->hasFocus())
        m_view.setFocus(Qt::OtherFocusReason);
    editor->hide();
    editor->deleteLater();
}

void TableEditing::AbandonEdit() {
    CellEdit* editor = m_activeEditor;
    if (!editor)
        return;
    // The rows are about to be replaced: the text goes into the row it was typed for.
    if (!editor->Cancelled())
        m_session.SetCellText(editor->Item(), editor->SubItem(), editor->text().toStdString());
    editor->Abandon();
    m_activeEditor = nullptr;
    m_change.reset(); // the rows it changed are being replaced
    m_flow.EditEnded();
    Release(editor);
}

void TableEditing::OnTyped(CellEdit* editor) {
    if (editor != m_activeEditor)
        return;
    if (!AutoSize(*editor))
        return;
    const bool commentRow = m_session.Listing().table.IsCommentRow(editor->Item());
    if (m_flow.WantsCommentRow(commentRow, editor->InitialText().isEmpty()))
        AddCommentRow();
}

bool TableEditing::AutoSize(CellEdit& editor) {
    const QFontMetrics metrics(m_view.font());
    const TextMeasure measure = [&metrics](std::string_view text) {
        return metrics.horizontalAdvance(ToQString(text));
    };
    const QRect shape = editor.geometry();
    EditorBox box{shape.left(), shape.top(), shape.left() + shape.width(),
                  shape.top() + shape.height()};
    const bool full = m_flow.AutoSize(editor.text().toStdString(), measure, box,
                                      m_session.Listing().table.IsCommentRow(editor.Item()),
                                      m_session.Options().printAs);
    if (box.right != shape.left() + shape.width()) {
        editor.setGeometry(box.left, box.top, box.right - box.left, shape.height());
        editor.update();
    }
    return full;
}

void TableEditing::AddCommentRow() {
    CellEdit* editor = m_activeEditor;
    if (!editor)
        return;
    const bool editingCommentRow = m_session.Listing().table.IsCommentRow(editor->Item());
    if (!m_flow.Chained()) {
        if (editor->SubItem() != 1)
            return;
        ContinueBelow(editor->Item());
        const CellEdit* next = m_activeEditor;
        if (!next || next->SubItem() <= 0)
            return;
        m_flow.SetChained(true);
    }
    if (editingCommentRow && m_flow.LineFull()) {
        const CellEdit* open = m_activeEditor;
        if (!open)
            return;
        ContinueBelow(open->Item());
        const CellEdit* next = m_activeEditor;
        m_flow.SetChained(next && next->SubItem() > 0);
        m_flow.ClearLineFull();
    }
}

void TableEditing::ContinueBelow(int row) {
    const int below = row + 1;
    m_continuing = true;
    m_model.InsertRows(below, 1, [&] { m_session.InsertCommentRow(row); });
    std::string carried;
    if (CellEdit* editor = m_activeEditor) {
        const std::string line = editor->text().toStdString();
        const LineBreak split = CommentFlow::BreakFullLine(line);
        carried = split.carried;
        editor->setText(ToQString(split.kept));
        // Stored in the new row, so the word stays there even if its edit is cancelled.
        if (m_session.SetCellText(below, editor->SubItem(), carried))
            m_model.CellChanged(below, editor->SubItem());
    }
    m_view.FocusRow(below);
    // Ends the edit above, keeping what was typed, then edits the new row's cell.
    if (CellEdit* editor = m_activeEditor)
        editor->Finish();
    m_view.setFocus(Qt::OtherFocusReason);
    m_view.EditCurrentCell();
    m_continuing = false;
    // Typing goes on after the word that came down.
    if (CellEdit* next = m_activeEditor; next && !carried.empty())
        next->end(false);
    if (!m_activeEditor)
        EndChange();
}

void TableEditing::OnInsertRow() {
    const int focused = m_view.FocusedRow();
    const int row = m_session.Listing().BlankRowAt(focused);
    m_model.InsertRows(row, 1, [&] { m_session.InsertBlankRow(focused); });
    Record(QStringLiteral("Insert Row"), row, {}, 1);
    m_view.FocusRow(row); // where the user types next
}

void TableEditing::OnDeleteRow() {
    const int focused = m_view.FocusedRow();
    if (focused < 0 || focused >= m_session.Listing().table.RowCount())
        return;
    ListingSession::RowSlice deleted = m_session.Listing().CopyRows(focused, 1);
    m_model.RemoveRows(focused, 1, [&] { m_session.DeleteRow(focused); });
    Record(QStringLiteral("Delete Row"), focused, std::move(deleted), 0);
}

void TableEditing::SetLocked(bool locked) {
    m_locked = locked;
    if (!locked)
        return;
    if (CellEdit* editor = m_activeEditor)
        editor->Finish();
    if (m_menu)
        m_menu->close();
}

void TableEditing::OnContextMenu(const QPoint& globalPosition) {
    if (m_locked || !m_view.isVisible() || !m_session.Listing().shown)
        return;
    if (m_menu)
        m_menu->close();
    auto* menu = new QMenu(&m_view);
    menu->setObjectName(QStringLiteral("rowMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const auto add = [&](int id, const QString& text, void (TableEditing::*handler)()) {
        QAction* action = menu->addAction(text);
        action->setData(id);
        connect(action, &QAction::triggered, this, handler);
    };
    add(command::kInsertRowUnnamed, QString(), &TableEditing::OnInsertRow);
    add(command::kInsertRow, QStringLiteral("Insert Row"), &TableEditing::OnInsertRow);
    add(command::kDeleteRow, QStringLiteral("Delete Row"), &TableEditing::OnDeleteRow);
    m_menu = menu;
    menu->popup(globalPosition);
}

} // namespace dirscribe
