// SPDX-License-Identifier: MIT
// Comments typed into the listing table, and the row commands of its context menu.
#pragma once

#include "core/table/CommentFlow.h"
#include "gui/table/CellEdit.h"

#include <QMenu>
#include <QObject>
#include <QPointer>
#include <functional>

namespace dirscribe {

class CellListView;
class ListingSession;
class ListingTableModel;

// Command ids of the table's context menu.
namespace command {
inline constexpr int kInsertRowUnnamed = 32777; // the menu's first item, with no text
inline constexpr int kInsertRow = 32805;
inline constexpr int kDeleteRow = 32778;
} // namespace command

// Serves the table's edit requests: opens a CellEdit over the cell and stores what is
// typed into the session's table (the first edit of a listing turns sorting off). A
// comment that no longer fits flows onto a new "comments:" row below, and on from there
// whenever a comment line reaches the printable width of the page layout; the word being
// typed moves down whole (CommentFlow::BreakFullLine). In the
// FileData layout an edit request fetches the row's file details instead (through the
// details request). Also serves the context menu: insert a blank row below the focused
// row, delete the focused row. Follows the model: a new listing closes an open editor
// (keeping its text in the old rows) and sets whether the view may ask for edits.
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

    // The open editor, or null.
    [[nodiscard]] CellEdit* ActiveEditor() const { return m_activeEditor; }
    // The context menu while it is open, or null.
    [[nodiscard]] QMenu* ContextMenu() const { return m_menu; }

    // The view's edit request for cell (row, column index).
    void OnBeginLabelEdit(int row, int column);
    // Inserts a blank row below the focused row (at the top without one).
    void OnInsertRow();
    // Deletes the focused row, if there is one.
    void OnDeleteRow();
    // Opens the row menu at a global position, once a listing has been shown.
    void OnContextMenu(const QPoint& globalPosition);
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

    ListingSession& m_session;
    ListingTableModel& m_model;
    CellListView& m_view;
    CommentFlow m_flow;
    QPointer<CellEdit> m_activeEditor;
    QPointer<QMenu> m_menu;
    DetailsRequest m_detailsRequest;
    bool m_locked = false;
};

} // namespace dirscribe
