// SPDX-License-Identifier: MIT
#include "gui/table/ListingHistory.h"

#include "gui/table/CellListView.h"
#include "gui/table/ListingTableModel.h"

#include <QUndoCommand>
#include <algorithm>
#include <utility>
#include <vector>

namespace dirscribe {

namespace {

// One change of rows: it holds whichever rows are not on show, those it replaced until it
// is undone and those it put there once it is.
class RowsChange final : public QUndoCommand {
public:
    RowsChange(ListingHistory& history, const QString& what, int first,
               ListingSession::RowSlice before, int afterCount)
        : QUndoCommand(what), m_history(history), m_first(first), m_count(afterCount),
          m_other(std::move(before)) {}

    void undo() override { m_history.Swap(m_first, m_count, m_other); }
    void redo() override {
        // The stack redoes a command as it takes it; this change is made already.
        if (std::exchange(m_made, false))
            return;
        m_history.Swap(m_first, m_count, m_other);
    }

private:
    ListingHistory& m_history;
    int m_first;
    int m_count; // the rows on show that this change made
    ListingSession::RowSlice m_other;
    bool m_made = true;
};

// A change of the rows' order (a sort): it keeps where each row came from, four bytes a
// row, and puts the rows back in their order and again in the new one.
class OrderChange final : public QUndoCommand {
public:
    OrderChange(ListingHistory& history, const QString& what, std::vector<int> moved)
        : QUndoCommand(what), m_history(history), m_moved(std::move(moved)) {}

    void undo() override {
        std::vector<int> back(m_moved.size());
        for (std::size_t row = 0; row < m_moved.size(); ++row)
            back[static_cast<std::size_t>(m_moved[row])] = static_cast<int>(row);
        m_history.Reorder(back);
    }
    void redo() override {
        if (!std::exchange(m_made, false))
            m_history.Reorder(m_moved);
    }

private:
    ListingHistory& m_history;
    std::vector<int> m_moved; // row i of the new order was row m_moved[i]
    bool m_made = true;
};

} // namespace

ListingHistory::ListingHistory(ListingSession& session, ListingTableModel& model,
                               CellListView& view, QObject* parent)
    : QObject(parent), m_session(session), m_model(model), m_view(view) {
    connect(&m_model, &ListingTableModel::Refilled, this, &ListingHistory::Forget);
    connect(&m_stack, &QUndoStack::cleanChanged, this, [this](bool clean) {
        if (!m_forgetting)
            m_session.SetModified(!clean);
    });
    connect(&m_stack, &QUndoStack::indexChanged, this, &ListingHistory::Changed);
}

ListingHistory::~ListingHistory() {
    // Going with the view: nobody is left to hear of the commands going too.
    m_stack.disconnect();
}

void ListingHistory::Record(const QString& what, int first, ListingSession::RowSlice before,
                            int afterCount) {
    if (before.rows.Size() == afterCount &&
        m_session.Listing().CopyRows(first, afterCount).rows == before.rows)
        return;
    m_stack.push(new RowsChange(*this, what, first, std::move(before), afterCount));
}

void ListingHistory::RecordOrder(const QString& what, std::vector<int> moved) {
    bool same = true;
    for (std::size_t row = 0; same && row < moved.size(); ++row)
        same = moved[row] == static_cast<int>(row);
    if (!same)
        m_stack.push(new OrderChange(*this, what, std::move(moved)));
}

void ListingHistory::Reorder(const std::vector<int>& order) {
    if (static_cast<int>(order.size()) != m_session.Listing().table.RowCount())
        return;
    m_model.Reshape([&] { m_session.PermuteRows(order); });
    if (!order.empty()) {
        m_view.FocusRow(0);
        m_view.scrollTo(m_view.currentIndex());
    }
}

void ListingHistory::Undo() {
    m_stack.undo();
}

void ListingHistory::Redo() {
    m_stack.redo();
}

void ListingHistory::Saved() {
    m_stack.setClean();
}

void ListingHistory::ChangedBeside() {
    m_stack.resetClean();
    m_session.SetModified(true);
}

void ListingHistory::Forget() {
    const bool modified = m_session.Listing().modified;
    m_forgetting = true;
    m_stack.clear();
    if (modified)
        m_stack.resetClean();
    m_forgetting = false;
    emit Changed();
}

void ListingHistory::Swap(int first, int& count, ListingSession::RowSlice& other) {
    ListingSession::RowSlice shown;
    if (count > 0)
        m_model.RemoveRows(first, count, [&] { shown = m_session.TakeRows(first, count); });
    const int putBack = other.rows.Size();
    if (putBack > 0)
        m_model.InsertRows(first, putBack, [&] { m_session.PutRows(first, other); });
    other = std::move(shown);
    count = putBack;
    const int rows = m_session.Listing().table.RowCount();
    if (rows > 0) {
        m_view.FocusRow(std::min(first, rows - 1));
        m_view.scrollTo(m_view.currentIndex());
    }
}

} // namespace dirscribe
