// SPDX-License-Identifier: MIT
// Undo and redo of what the user changed in the rows of the listing on show.
#pragma once

#include "core/ops/ListingSession.h"

#include <QObject>
#include <QUndoStack>
#include <vector>

namespace dirscribe {

class CellListView;
class ListingTableModel;

// Each change is kept as the rows it replaced, taken from the table with all they hold
// (ListingSession::CopyRows), so an undo puts back exactly the rows that were there; a sort
// is kept as the new order of the rows (RecordOrder). The history ends whenever the model is
// refilled (a read, an open, New, an update): the rows it knew are gone. Undoing or redoing back to
// the listing as it was last read, opened or saved clears the listing's modified mark; any other
// state sets it.
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
    // Records a new order of every row already made (a sort): row i of it was row moved[i].
    // An order that moved nothing is not recorded.
    void RecordOrder(const QString& what, std::vector<int> moved);
    void Undo();
    void Redo();
    [[nodiscard]] bool CanUndo() const { return m_stack.canUndo(); }
    [[nodiscard]] bool CanRedo() const { return m_stack.canRedo(); }
    // What the change Undo or Redo would make is called when recorded ("Sort", "Typing").
    [[nodiscard]] QString UndoText() const { return m_stack.undoText(); }
    [[nodiscard]] QString RedoText() const { return m_stack.redoText(); }
    // The listing on show was saved: undoing back to here clears the modified mark.
    void Saved();
    // The listing changed in what no step of the history holds (its volume's label or note):
    // it stays changed whatever is undone, until it is saved.
    void ChangedBeside();

    // Puts `other` in place of the `count` rows at `first`; afterwards `other` holds the
    // rows taken out and `count` the number put in. An undo and a redo are both this.
    void Swap(int first, int& count, ListingSession::RowSlice& other);
    // Puts every row into `order` (new row i is row order[i]); an undo or redo of a sort.
    void Reorder(const std::vector<int>& order);

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
