// SPDX-License-Identifier: MIT
// The line editor put over one cell of the listing table while it is edited.
#include "gui/table/CellEdit.h"

#include <QFocusEvent>
#include <QKeyEvent>

namespace dirscribe {

CellEdit::CellEdit(int item, int subItem, QString initialText, QWidget* parent)
    : QLineEdit(parent), m_item(item), m_subItem(subItem), m_initialText(std::move(initialText)) {
    setObjectName(QStringLiteral("cellEditor"));
}

void CellEdit::Finish() {
    if (m_finished)
        return;
    m_finished = true;
    const bool keep = !m_cancelled;
    // The listener may release this editor; nothing of it is used after the signal.
    emit Ended(keep, keep ? text() : QString());
}

void CellEdit::keyPressEvent(QKeyEvent* event) {
    if (m_finished) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Escape:
        m_cancelled = true;
        event->accept();
        Finish();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        Finish();
        return;
    default:
        break;
    }
    const QString before = text();
    QLineEdit::keyPressEvent(event);
    if (!event->text().isEmpty() || text() != before)
        emit Typed();
}

void CellEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // The editor's own context menu takes the focus only for a moment.
    if (event->reason() != Qt::PopupFocusReason)
        Finish();
}

} // namespace dirscribe
