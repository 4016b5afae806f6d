// SPDX-License-Identifier: MIT
// The main window: menus, toolbar, status bar and the listing view.
#pragma once

#include "core/ops/ListingExport.h"
#include "core/options/PageLayout.h"
#include "core/options/WindowState.h"
#include "gui/app/ListingFind.h"
#include "gui/app/WindowCommand.h"

#include <QFileDialog>
#include <QMainWindow>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>

class QAction;
class QDialog;
class QLabel;
class QMenu;
class QToolBar;

namespace dirscribe {

class ListingPrinter;
class ListingSession;
class ListingView;
class Notice;
class DuplicatesDialog;
class SavedListingsDialog;
class WorkingProgress;
struct ListingOptions;

// The program's one window over one listing session. Its commands come from one table
// (Commands()) that the menus, the toolbar, the keys and the dispatch all read; each calls
// the session's operations and redraws. Settings are read by the caller before the window
// exists and written to the profile when it closes. The code is split by concern:
// MainWindow.cpp (events, place, profile), MainWindowCommands.cpp (the table, menus and
// toolbar), MainWindowDocuments.cpp (new, open, save, recent documents) and
// MainWindowCatalogue.cpp (export, find, update).
class MainWindow final : public QMainWindow {
    Q_OBJECT

public:
    // The window takes its place (in the screen's pixels, whatever the scale), folders,
    // recent documents and column widths from the profile's "Window" section (first start:
    // FirstGeometry on the primary screen) and writes them there with the settings at close;
    // an empty profile path reads and writes nothing. Once the window manager has framed it,
    // a frame that is not wholly on the screen is fitted to it.
    MainWindow(ListingSession& session, Notice& notice, std::string profilePath,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    // The old rule for a new window: 450 by 350, scaled by icon spacing / 80 when the
    // spacing is above 75, centred on the screen.
    static QRect InitialGeometry(const QRect& screen, int iconSpacing);
    // A first start: InitialGeometry grown to `wanted` (room for the whole toolbar and the
    // standard columns), within and centred on the available screen.
    static QRect FirstGeometry(const QRect& available, int iconSpacing, QSize wanted);
    // A remembered place made to fit the available screen: no larger than it, and moved
    // inside it.
    static QRect FittedGeometry(const QRect& remembered, const QRect& available);

    // Every command of the window.
    static std::span<const WindowCommand> Commands();
    // The action of a command id, or null.
    [[nodiscard]] QAction* Action(int commandId) const;
    [[nodiscard]] ListingView& View() const { return *m_view; }

    // Opens a document file as Open does after its dialog (asking first whether to save a
    // changed listing); false when it was refused or kept.
    bool OpenDocument(const QString& fileName);
    // Saves as Save does after its dialog: a report for a name ending in "txt", else a
    // document file; false (after a message) when it failed. The status bar says it.
    bool SaveDocument(const QString& fileName);
    // windowFilePath() is the file Save writes to; empty while the listing is untitled, which
    // it becomes when a folder other than the document's is listed.

    // Comes to the front and opens `file` as OpenDocument does (nothing for an empty one):
    // a later start of the program handed it over.
    void OpenHandedOver(const QString& file);

    // Puts " (text)" after "&TreeDepth" in the depth menu's title.
    void SetDepthMenuTitle(const QString& text);
    // Puts " (text)" after "Depth = Custom" in the depth menu.
    void SetCustomDepthItem(const QString& text);
    // Asks whether to save a changed listing; answers Yes, No or Cancel.
    using SaveQuestion = std::function<int(const QString& text)>;
    void SetSaveQuestion(SaveQuestion question) { m_saveQuestion = std::move(question); }

    // Sets every command's check mark and enabled state from the settings and the view.
    void UpdateCommandStates();

protected:
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Events, place and profile (MainWindow.cpp).
    void PlaceOnScreen();
    // The size a first start asks for: the whole toolbar and the standard columns.
    [[nodiscard]] QSize WantedSize() const;
    void Connect();
    void SaveProfile();
    // "Dirscribe:   " and the path box's text, cut to 25 characters; then " — " and the
    // document's file name ("Untitled" for a listing not saved yet), and the changed mark.
    void UpdateTitle();
    // What the listing holds, in the status bar: entries listed, files, folders and bytes
    // below the listed folder.
    void UpdateSummary();
    void ListingRead(bool read);
    // "Ready", or "Working..." while a folder is read.
    void ShowIdleText();

    // The command table, menus and toolbar (MainWindowCommands.cpp).
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void Run(const WindowCommand& command);
    [[nodiscard]] bool Allows(CommandWhen when) const;
    void ToggleSetting(std::int32_t ListingOptions::*setting);
    void ChooseLayout(PageLayout layout);
    void ChooseDepth(int depth);
    void ShowSettings();
    static void OpenDialog(QDialog* dialog);
    [[nodiscard]] QMenu* DepthMenu() const;

    // New, open, save and the recent documents (MainWindowDocuments.cpp).
    // A file dialog, not yet shown, for files of these types, starting in `folder`.
    QFileDialog* NewFileDialog(const QString& objectName, QFileDialog::AcceptMode mode,
                               const QStringList& filters, const std::string& folder);
    // A file dialog for documents, not yet shown, that hands the chosen file to `chosen`.
    QFileDialog* OpenFileDialog(const QString& objectName, QFileDialog::AcceptMode mode,
                                bool (MainWindow::*chosen)(const QString&));
    void OpenWithDialog();
    // Opens without asking: the question has been asked.
    bool LoadDocument(const QString& fileName);
    void Save();
    void SaveAsWithDialog();
    void NewDocument();
    // False when the user wants to keep a changed listing (or to save it first by hand).
    bool MayDiscardChanges();
    // A document that was opened or saved names the listing on show.
    void SetDocument(const QString& fileName);
    void RememberRecent(const QString& fileName);
    void FillRecentMenu();
    void OpenRecent(const QString& fileName);

    // The catalogue commands (MainWindowCatalogue.cpp).
    void ExportWithDialog();
    // Writes the export atomically in the format the name's extension asks for, else in
    // `chosen`; a failure is shown in a message.
    void ExportTo(const QString& fileName, ExportFormat chosen);
    void AskFindText();
    void FindNext();
    // Moves to the first match below `row` and says so, or why not, in the status bar.
    void FindFrom(int row);
    // Moves to a match found and says which it is, or why there is none.
    void ShowFound(const ListingFind::Found& found);
    void FindInSavedListings();
    void FindDuplicatesInSavedListings();
    // Opens a document found by a search at the row that matched.
    void OpenAtRow(const QString& document, int row);
    void UpdateListing();
    // The volume the listing was read from, its label and note to change.
    void ShowListingProperties();

    ListingSession& m_session;
    Notice& m_notice;
    std::string m_profilePath;
    std::map<int, QAction*> m_actions;
    QToolBar* m_toolBar = nullptr;
    QMenu* m_recentMenu = nullptr;
    std::unique_ptr<WorkingProgress> m_progress;
    std::unique_ptr<ListingPrinter> m_printer;
    ListingView* m_view = nullptr;
    QLabel* m_summary = nullptr;
    std::string m_documentFolder; // the folder the document's listing is of
    WindowState m_state;
    bool m_initialUpdateDone = false;
    bool m_settling = false; // shown, but not yet in the window manager's frame
    SaveQuestion m_saveQuestion;
    ListingFind* m_find = nullptr;
    QPointer<SavedListingsDialog> m_searchDialog;
    QPointer<DuplicatesDialog> m_duplicatesDialog;
};

// A listing not saved yet, as the title and the question before it is replaced name it.
inline const QString kUntitled = QStringLiteral("Untitled");
// Why a document is not opened now.
inline const QString kReadingNow =
    QStringLiteral("A folder is being read: open the listing when the read has ended, or stop it");

// The folder a file is in, as an absolute path.
QString FolderOf(const QString& fileName);
// The position of the first action whose text contains `text`, or -1.
int FindMenuItem(const QList<QAction*>& items, const QString& text);

} // namespace dirscribe
