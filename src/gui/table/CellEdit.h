// SPDX-License-Identifier: MIT
// The line editor put over one cell of the listing table while it is edited.
#pragma once

#include <QLineEdit>

namespace dirscribe {

// Edits one cell. Enter, or losing the focus (a click elsewhere, scrolling the table),
// ends the edit keeping the text; Esc ends it discarding the text. Every end is reported
// once through Ended; whoever listens may release the editor from inside that signal,
// so the editor touches nothing of its own after emitting it (release it with
// deleteLater, never delete).
class CellEdit final : public QLineEdit {
    Q_OBJECT

public:
    // The cell (row `item`, column index `subItem`) and its text when editing began.
    CellEdit(int item, int subItem, QString initialText, QWidget* parent);

    [[nodiscard]] int Item() const { return m_item; }
    [[nodiscard]] int SubItem() const { return m_subItem; }
    [[nodiscard]] const QString& InitialText() const { return m_initialText; }
    [[nodiscard]] bool Cancelled() const { return m_cancelled; }

    // Ends the edit (once): Ended carries the text, or nothing after a cancel.
    void Finish();
    // Ends the edit without reporting it, for an edit overtaken by a new listing.
    void Abandon() { m_finished = true; }

signals:
    // A key put a character into the editor (or took one out).
    void Typed();
    // The edit is over: `keep` is false after Esc, and `text` is then empty.
    void Ended(bool keep, const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int m_item;
    int m_subItem;
    QString m_initialText;
    bool m_cancelled = false;
    bool m_finished = false;
};

} // namespace dirscribe
