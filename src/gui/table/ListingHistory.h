// SPDX-License-Identifier: MIT
// Undo and redo of what the user changed in the rows of the listing on show.
#pragma once

#include "core/ops/ListingSession.h"

#include <QObject>
#include <QUndoStack>

namespace dirscribe {

class CellListView;
class ListingTableModel;

// Each change is kept as the rows it replaced, taken from the table with all they hold
// (ListingSession::CopyRows), so an undo puts back exactly the rows that were there. The
// history ends whenever the model is refilled (a read, an open, New, a sort, an update):
// the rows it knew are gone. Undoing or redoing back to the listing as it was last read,
// opened or saved clears the listing's modified mark; any other state sets it.
class ListingHistory final : public QObject {
    Q_OBJECT

public:
    // All three outlive the history. An undo or redo focuses the first row it changed.
    ListingHistory(ListingSession& session, ListingTableModel& model, CellListView& view,
                   QObject* parent = nullptr);
    ~ListingHistory() override;

    // Records a change already made: the rows [first, first + before.rows.Size()), as
    // CopyRows gave them before it, are now the rows [first, first + afterCount). A change
    // that left the rows as they were is not recorded.
    void Record(const QString& what, int first, ListingSession::RowSlice before, int afterCount);
    void Undo();
    void Redo();
    [[nodiscard]] bool CanUndo() const { return m_stack.canUndo(); }
    [[nodiscard]] bool CanRedo() const { return m_stack.canRedo(); }
    // The listing on show was saved: undoing back to here clears the modified mark.
    void Saved();
    // The listing changed in what no step of the history holds (its volume's label or note):
    // it stays changed whatever is undone, until it is saved.
    void ChangedBeside();

    // Puts `other` in place of the `count` rows at `first`; afterwards `other` holds the
    // rows taken out and `count` the number put in. An undo and a redo are both this.
    void Swap(int first, int& count, ListingSession::RowSlice& other);

signals:
    // Whether there is something to undo or redo may have changed.
    void Changed();

private:
    // The rows are refilled: nothing recorded can be put back. The modified mark stays as
    // the session has it, and undo can no longer reach an unmodified state when it is set.
    void Forget();

    ListingSession& m_session;
    ListingTableModel& m_model;
    CellListView& m_view;
    QUndoStack m_stack;
    bool m_forgetting = false;
};

} // namespace dirscribe
