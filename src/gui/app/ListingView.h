// SPDX-License-Identifier: MIT
// The window's view: the path box above the folder tree or the listing table.
#pragma once

#include "core/platform/StopFlag.h"
#include "core/table/FileDetails.h"
#include "gui/app/InterfaceThreadNotice.h"
#include "gui/table/CellListView.h"
#include "gui/table/ListingTableModel.h"

#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QLineEdit;
class QSplitter;
class QThread;

namespace dirscribe {

class FolderTree;
struct FolderScan;
class ListingHistory;
class ListingSession;
class Progress;
class TableEditing;
struct UpdateCounts;

// Shows one listing session: the folder tree to pick from, or the table of the last
// listing, one at a time in the same place, or both side by side. A folder is read on a
// thread of its own, so the window repaints and Stop works meanwhile; the table keeps its
// rows until the read has succeeded. What the user changes in the rows can be undone.
class ListingView final : public QWidget {
    Q_OBJECT

public:
    ListingView(ListingSession& session, Notice& notice, Progress& progress,
                QWidget* parent = nullptr);
    ~ListingView() override;

    // Called once the window is up: fits the columns to the layout, fills the tree and
    // shows the path box as the settings say, holding `lastFolder` (which is not read; the
    // tree shows it highlighted).
    void InitialUpdate(const std::string& lastFolder = {});

    // Asked before a read would replace the listing on show; false keeps it (and the read
    // does not start).
    using ReplaceCheck = std::function<bool()>;
    void SetReplaceCheck(ReplaceCheck check) { m_mayReplace = std::move(check); }

    using ReadDone = std::function<void(bool read)>;
    // Reads the folder the path box names and fills the table; `done` runs afterwards
    // with whether it did. Ignored while a read runs, or when the replace check says no.
    // Subfolders the read could not open are named in one message at its end.
    void ReadSelectedFolder(ReadDone done = {});
    // The same for `path`; the path box and the tree show it once the replace check has
    // said yes (until then they name the listing on show).
    void ReadFolder(const std::string& path, ReadDone done = {});
    // A file manager's ways: back and forward through the folders listed, up to the listed
    // folder's parent, into the folder of a folder row (false, doing nothing, for a row
    // that is no folder), and to the path box (shown, focused, its text selected).
    void GoBack();
    void GoForward();
    void GoUp();
    bool OpenFolderRow(int row);
    void FocusPathBox();
    [[nodiscard]] bool CanGoBack() const { return !m_back.empty(); }
    [[nodiscard]] bool CanGoForward() const { return !m_forward.empty(); }
    // Lists the folder of the listing on show again on the reader thread, carrying what was
    // typed over (UpdateListing); the result replaces the listing, marked changed, and
    // `updated` gets its counts. A folder that cannot be read changes nothing.
    using Updated = std::function<void(const UpdateCounts& counts)>;
    void UpdateShownListing(Updated updated);
    // A read, an update or a File Data fetch runs.
    [[nodiscard]] bool Reading() const { return m_reader != nullptr; }

    // Brings the listing on show in line with changed settings: at once where its entries
    // suffice, by reading its folder again (carrying everything over) where the depth or
    // content changed; for a listing from a document the status bar says a refresh shows it.
    void ApplySettings();
    // The view commands.
    void Refresh();
    void ShowFoldersListing();
    void BrowseForFolder();
    void TogglePathBox();
    void Stop() { m_stop.Request(); }
    // The tree beside the table, both live (picking a folder lists it), or one of them at a
    // time in the same place.
    void SetTreeBeside(bool beside);
    [[nodiscard]] bool TreeBeside() const { return m_treeBeside; }
    // The width the tree takes beside the table; 0 while it is not known.
    [[nodiscard]] int TreeWidth() const;
    void SetTreeWidth(int width);
    // Undo and Redo of the last change of the rows, ending an edit in progress first.
    void Undo();
    void Redo();
    [[nodiscard]] ListingHistory& History() const { return *m_history; }

    // Opens a document file into the table; false (after a message) when it was refused.
    bool OpenDocument(const QString& fileName);
    // Forgets the listing: no rows, no entries, an empty path.
    void NewDocument();
    // Brings the table to the front with `row` focused and in sight.
    void ShowRow(int row);

    [[nodiscard]] bool TableVisible() const;
    [[nodiscard]] bool PathBoxVisible() const;
    [[nodiscard]] QLineEdit& PathBox() const { return *m_pathBox; }
    [[nodiscard]] CellListView& Table() const { return *m_table; }
    // Comment editing and the row commands of the table.
    [[nodiscard]] TableEditing& Editing() const { return *m_editing; }
    [[nodiscard]] FolderTree& Tree() const { return *m_tree; }

    // Column widths the user set, by column title; the table uses them whenever it shows
    // such a column, in place of the layout's own width.
    [[nodiscard]] const std::map<std::string, int>& ColumnWidths() const { return m_widths; }
    void SetColumnWidths(std::map<std::string, int> widths) { m_widths = std::move(widths); }

signals:
    void ReadingChanged(bool reading);
    void ReadFinished(bool read);
    // The tree or the table came to the front.
    void ShownChanged();
    // A text for the status bar, such as why a click on a column head did not sort.
    void StatusText(const QString& text);
    // Whether Undo or Redo has something to do may have changed.
    void HistoryChanged();

private:
    // Runs `work` on the reader thread; then, on this thread, `take` puts what it made on
    // show when it succeeded (false when it could not) and `done` learns the outcome.
    void StartReader(std::function<bool()> work, std::function<bool()> take, ReadDone done);
    void FinishRead(const std::function<bool()>& take, const ReadDone& done);
    void SortByColumn(int column);
    void ShowSortIndicator();
    void ForgetSortIndicator();
    void RememberColumnWidth(int column, int width);
    // The file-data layout's answer to an edit request: the row's file details, read on
    // the reader thread and then inserted below the row.
    void FetchFileDetails(int row);
    void InsertFileDetails(int row, FileDetails details);
    // Puts the read on show; false, after a message, when memory ran out.
    bool Populate(FolderScan read);
    // The path box shows a path as text; the bytes of a path that came from the disk or
    // the listing are kept, so a name that is not UTF-8 is read as it is.
    void ShowPath(const std::string& path);
    // The kept bytes while the box still shows them, else what was typed.
    [[nodiscard]] std::string PathToRead() const;
    void ApplyTableLook();
    // Widens each column to its head and its texts; see the definition.
    void FitColumns();
    [[nodiscard]] int CellWidth(int row, int column, std::string& scratch) const;
    // Widens a column to `wanted` within its bounds, unless the user set its width.
    void Widen(int column, int wanted);
    void WidenComments(int first, int last);
    // Scrolls the table back to its first column; the framed cell stays.
    void ShowFirstColumn();
    // After a listing read (or not), where back and forward lead.
    void RememberGoing(bool read);
    void ShowTable();
    void ShowTree();
    // Brings the tree or the table to the front, or, beside each other, keeps both.
    void Show(bool tree);
    // The tree, when it is on show after a read or a refusal, may be used to pick again.
    void RearmTree();
    void ApplyTreeFont();

    ListingSession& m_session;
    Progress& m_progress;
    InterfaceThreadNotice m_notice;
    StopFlag m_stop;
    ListingTableModel m_model;
    QLineEdit* m_pathBox;
    std::string m_shownPath; // the bytes of the path the box was last given
    QSplitter* m_split;
    FolderTree* m_tree;
    CellListView* m_table;
    TableEditing* m_editing;
    ListingHistory* m_history;
    std::unique_ptr<QThread> m_reader;
    ReplaceCheck m_mayReplace;
    std::map<std::string, int> m_widths;
    int m_sortedColumn = -1; // the column the rows on show were last sorted by, or -1
    Qt::SortOrder m_sortedOrder = Qt::AscendingOrder;
    bool m_applyingLook = false;
    bool m_readResult = false;
    bool m_fetchingDetails = false; // the reader thread reads a file's details, not a folder
    bool m_firstUpdate = true;
    bool m_treeBeside = false;
    bool m_focusTableAfterRead = false; // the read was asked for with Enter in the path box
    int m_treeWidth = 0;
    // The folders listed before and after the one on show, the nearest last.
    std::vector<std::string> m_back;
    std::vector<std::string> m_forward;
    enum class Going { Elsewhere, Back, Forward };
    Going m_going = Going::Elsewhere; // how the read under way was asked for
    std::string m_listedBefore;       // the folder on show when it started
};

} // namespace dirscribe
