// SPDX-License-Identifier: MIT
// Comments typed into the listing table, and the row commands of its context menu.
#pragma once

#include "core/ops/ListingSession.h"
#include "core/table/CommentFlow.h"
#include "gui/table/CellEdit.h"
#include "gui/table/RowCommands.h"

#include <QMenu>
#include <QObject>
#include <QPointer>
#include <functional>
#include <optional>

namespace dirscribe {

class CellListView;
class ListingHistory;
class ListingTableModel;

// Serves the table's edit requests: opens a CellEdit over the cell and stores what is
// typed into the session's table (the first edit of a listing turns sorting off). A
// comment that no longer fits flows onto a new "comments:" row below, and on from there
// whenever a comment line reaches the printable width of the page layout; the word being
// typed moves down whole (CommentFlow::BreakFullLine). In the
// FileData layout an edit request fetches the row's file details instead (through the
// details request). Also serves the context menu: insert a blank row below the focused
// row (and its comment rows), delete the focused row. Follows the model: a new listing closes an
// open editor (keeping its text in the old rows) and sets whether the view may ask for edits.
class TableEditing final : public QObject {
    Q_OBJECT

public:
    // All three outlive this object; the view gets its edit requests and menu from here.
    TableEditing(ListingSession& session, ListingTableModel& model, CellListView& view,
                 QObject* parent = nullptr);
    ~TableEditing() override;

    // Called with the row of an edit request in the FileData layout. The call changes the
    // table, so it wraps its change for the model.
    using DetailsRequest = std::function<void(int row)>;
    void SetDetailsRequest(DetailsRequest request) { m_detailsRequest = std::move(request); }

    // Where the changes made here are recorded for undo: a typed comment with the comment
    // rows it flowed onto as one change, an inserted or a deleted row. None at first.
    void SetHistory(ListingHistory* history) { m_history = history; }

    // The view's edit request for cell (row, column index).
    void OnBeginLabelEdit(int row, int column);
    // Inserts a blank row below the focused row and the rows that belong with it (at the top
    // without one), and focuses it.
    void OnInsertRow();
    // Deletes the focused row, if there is one.
    void OnDeleteRow();
    // Opens the row menu at a global position, once a listing has been shown.
    void OnContextMenu(const QPoint& globalPosition);
    // Ends an open edit, keeping its text.
    void FinishEdit();
    // While the rows on show are being replaced (a read or an update runs), whatever was
    // typed meanwhile would be lost unasked: edit requests and the row menu are refused,
    // and an open editor ends, keeping its text.
    void SetLocked(bool locked);

private:
    void OnEndLabelEdit(CellEdit* editor, bool keep, const QString& text);
    void OnTyped(CellEdit* editor);
    bool AutoSize(CellEdit& editor);
    void AddCommentRow();
    void ContinueBelow(int row);
    void Release(CellEdit* editor);
    void AbandonEdit();
    // A typed comment is one change from its first editor to the end of the last comment row
    // it flowed onto.
    void BeginChange(int row);
    void EndChange();
    void Record(const QString& what, int first, ListingSession::RowSlice before, int afterCount);

    ListingSession& m_session;
    ListingTableModel& m_model;
    CellListView& m_view;
    CommentFlow m_flow;
    QPointer<CellEdit> m_activeEditor;
    QPointer<QMenu> m_menu;
    DetailsRequest m_detailsRequest;
    ListingHistory* m_history = nullptr;
    struct PendingChange {
        int first;
        ListingSession::RowSlice before;
        int rowCount; // the table's, when the change began
    };
    std::optional<PendingChange> m_change;
    bool m_continuing = false; // the flow moves the edit on to the row below
    bool m_locked = false;
};

} // namespace dirscribe
