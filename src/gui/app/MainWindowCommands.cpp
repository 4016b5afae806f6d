// SPDX-License-Identifier: MIT
// The window's commands: one table that the menus, the toolbar, the keys and the dispatch
// read, and the check marks and enabled states it decides.
#include "core/ops/ListingSession.h"
#include "gui/app/Commands.h"
#include "gui/app/ListingView.h"
#include "gui/app/MainWindow.h"
#include "gui/app/ToolbarIcons.h"
#include "gui/dialogs/AboutBox.h"
#include "gui/dialogs/OptionsDialog.h"
#include "gui/print/ListingPrinter.h"
#include "gui/table/ListingHistory.h"
#include "gui/table/TableEditing.h"

#include <QAction>
#include <QActionGroup>
#include <QMenuBar>
#include <QToolBar>
#include <array>

namespace dirscribe {

using namespace command;
using When = CommandWhen;

namespace {

const QString kDepthTitle = QStringLiteral("&TreeDepth");
const QString kCustomItem = QStringLiteral("Depth = Custom");
constexpr int kLayoutGroup = 1;
constexpr int kDepthGroup = 2;

// The depths the menu names with items of their own.
constexpr bool IsPresetDepth(int depth) {
    return depth == -1 || depth == 0 || depth == 1 || depth == 2 || depth == 3 || depth == 5 ||
           depth == 10;
}

} // namespace

int FindMenuItem(const QList<QAction*>& items, const QString& text) {
    for (int position = 0; position < items.size(); ++position)
        if (items[position]->text().contains(text))
            return position;
    return -1;
}

std::span<const WindowCommand> MainWindow::Commands() {
    using W = MainWindow;
    using Options = ListingOptions;
    static constexpr std::array kCommands{
        // File
        WindowCommand{.id = kNew,
                      .text = "&New",
                      .prompt = "Start a new, empty listing",
                      .keys = "Ctrl+N",
                      .run =
                          [](W& w) {
                              w.NewDocument();
                          }},
        WindowCommand{.id = kOpen,
                      .text = "&Open...",
                      .prompt = "Open an existing document",
                      .tip = "Open",
                      .keys = "Ctrl+O",
                      .themeIcon = "document-open",
                      .iconFile = "icons/document-open.svg",
                      .run =
                          [](W& w) {
                              w.OpenWithDialog();
                          }},
        WindowCommand{.id = kRecent,
                      .text = "Recent &Documents",
                      .prompt = "Open a document opened or saved lately"},
        WindowCommand{.id = kSave,
                      .text = "Save...",
                      .prompt = "Save the listing to its document",
                      .keys = "Ctrl+S",
                      .run =
                          [](W& w) {
                              w.Save();
                          }},
        WindowCommand{.id = kSaveDb,
                      .text = "Save DB...",
                      .prompt = "Save as Delimited File ( Database Import Ready)",
                      .enabled = When::Never},
        WindowCommand{.id = kSaveAs,
                      .text = "Save as...",
                      .prompt = "Save As",
                      .tip = "Save As",
                      .keys = "Ctrl+Shift+S",
                      .themeIcon = "document-save-as",
                      .iconFile = "icons/document-save-as.svg",
                      .run =
                          [](W& w) {
                              w.SaveAsWithDialog();
                          }},
        WindowCommand{.id = kExport,
                      .text = "&Export...",
                      .prompt = "Export the listing as CSV, JSON or a web page",
                      .tip = "Export",
                      .keys = "Ctrl+E",
                      .run = [](W& w) { w.ExportWithDialog(); },
                      .enabled = When::Listing},
        WindowCommand{.id = kListingProperties,
                      .text = "Listing P&roperties...",
                      .prompt = "The volume the listing was read from, its label and note",
                      .tip = "Listing Properties",
                      .run = [](W& w) { w.ShowListingProperties(); },
                      .enabled = When::Listing},
        WindowCommand{.id = kPrint,
                      .text = "&Print\tCtrl+P",
                      .prompt = "Print listing",
                      .tip = "Print",
                      .keys = "Ctrl+P",
                      .themeIcon = "document-print",
                      .iconFile = "icons/document-print.svg",
                      .run =
                          [](W& w) {
                              w.m_printer->Print();
                          }},
        // Ctrl+V previews, as the menu has always said; a text field still pastes with it.
        WindowCommand{.id = kPreview,
                      .text = "Pre&view\tCtrl+V",
                      .prompt = "Display full pages",
                      .tip = "Print Preview",
                      .keys = "Ctrl+V",
                      .run =
                          [](W& w) {
                              w.m_printer->Preview();
                          }},
        WindowCommand{.id = kPrintSetup,
                      .text = "P&rint Setup...",
                      .prompt = "Change the printer and printing options",
                      .run =
                          [](W& w) {
                              w.m_printer->Setup();
                          }},
        // Ctrl+F, the usual Find key, has always refreshed here.
        WindowCommand{.id = kRefresh,
                      .text = "Refre&sh\tCntl+F",
                      .prompt = "Refresh Options",
                      .tip = "Refresh",
                      .keys = "Ctrl+F; F5",
                      .themeIcon = "view-refresh",
                      .iconFile = "icons/view-refresh.svg",
                      .run =
                          [](W& w) {
                              w.m_view->Refresh();
                          }},
        WindowCommand{.id = kExit,
                      .text = "E&xit",
                      .keys = "Ctrl+Q",
                      .run = [](W& w) { w.close(); },
                      .enabled = When::Always},
        // Edit
        WindowCommand{.id = kUndo,
                      .text = "&Undo",
                      .prompt = "Undo the last change of the listing's rows",
                      .keys = "Ctrl+Z; Alt+Backspace",
                      .run = [](W& w) { w.m_view->Undo(); },
                      .enabled = When::Undoable},
        WindowCommand{.id = kRedo,
                      .text = "&Redo",
                      .prompt = "Make the change last undone again",
                      .keys = "Ctrl+Shift+Z; Ctrl+Y",
                      .run = [](W& w) { w.m_view->Redo(); },
                      .enabled = When::Redoable},
        // Ins and Del work in the table only; elsewhere they are the text fields' keys.
        WindowCommand{.id = kInsertRow,
                      .text = "&Insert Row",
                      .prompt = "Insert a blank row below the focused row",
                      .keys = "Ins",
                      .run = [](W& w) { w.m_view->Editing().OnInsertRow(); },
                      .enabled = When::Table},
        WindowCommand{.id = kDeleteRow,
                      .text = "&Delete Row",
                      .prompt = "Delete the focused row",
                      .keys = "Del",
                      .run = [](W& w) { w.m_view->Editing().OnDeleteRow(); },
                      .enabled = When::Table},
        // View: the layout, the columns, the font, where the tree stands.
        WindowCommand{
            .id = kPageFormat,
            .text = "&Page Format",
            .prompt = "Page format",
            .tip = "Page",
            .keys = "Ctrl+1",
            .iconFile = "icons/page.svg",
            .run = [](W& w) { w.ChooseLayout(PageLayout::Standard); },
            .checked =
                [](const W& w) { return w.m_session.Options().printAs == PageLayout::Standard; },
            .group = kLayoutGroup},
        WindowCommand{
            .id = kFileData,
            .text = "&File Data",
            .keys = "Ctrl+2",
            .iconFile = "icons/file-data.svg",
            .run = [](W& w) { w.ChooseLayout(PageLayout::FileData); },
            .checked =
                [](const W& w) { return w.m_session.Options().printAs == PageLayout::FileData; },
            .group = kLayoutGroup},
        WindowCommand{
            .id = kCdFormat,
            .text = "&CD Insert",
            .prompt = "CD format",
            .tip = "CD",
            .keys = "Ctrl+3",
            .iconFile = "icons/cd.svg",
            .run = [](W& w) { w.ChooseLayout(PageLayout::CdInsert); },
            .checked =
                [](const W& w) { return w.m_session.Options().printAs == PageLayout::CdInsert; },
            .group = kLayoutGroup},
        WindowCommand{
            .id = kZipFormat,
            .text = "&ZIP / LS-120 Insert",
            .prompt = "ZIP / LS 120 format",
            .tip = "ZIP",
            .keys = "Ctrl+4",
            .iconFile = "icons/zip.svg",
            .run = [](W& w) { w.ChooseLayout(PageLayout::ZipInsert); },
            .checked =
                [](const W& w) { return w.m_session.Options().printAs == PageLayout::ZipInsert; },
            .group = kLayoutGroup},
        WindowCommand{.id = kAddSize,
                      .text = "Add &Size",
                      .prompt = "Add Size",
                      .tip = "Add Size",
                      .iconFile = "icons/add-size.svg",
                      .run = [](W& w) { w.ToggleSetting(&Options::addSize); },
                      .checked =
                          [](const W& w) {
                              return w.m_session.Options().addSize != 0;
                          }},
        WindowCommand{.id = kAddDate,
                      .text = "Add &Date",
                      .prompt = "Add Date",
                      .tip = "Add Date",
                      .iconFile = "icons/add-date.svg",
                      .run = [](W& w) { w.ToggleSetting(&Options::addDate); },
                      .checked =
                          [](const W& w) {
                              return w.m_session.Options().addDate != 0;
                          }},
        WindowCommand{.id = kAddAttributes,
                      .text = "Add &Attributes",
                      .prompt = "Add Attributes",
                      .tip = "Add Attributes",
                      .iconFile = "icons/add-attributes.svg",
                      .run = [](W& w) { w.ToggleSetting(&Options::addAttribute); },
                      .checked =
                          [](const W& w) {
                              return w.m_session.Options().addAttribute != 0;
                          }},
        WindowCommand{.id = kAddComments,
                      .text = "Add Co&mments",
                      .prompt = "Add Comments",
                      .tip = "Add Comments",
                      .iconFile = "icons/add-comments.svg",
                      .run = [](W& w) { w.ToggleSetting(&Options::addComments); },
                      .checked =
                          [](const W& w) {
                              return w.m_session.Options().addComments != 0;
                          }},
        WindowCommand{.id = kFontSize,
                      .text = "&Larger Font",
                      .prompt = "Font Size",
                      .tip = "Font Size",
                      .iconFile = "icons/font-size.svg",
                      .run =
                          [](W& w) {
                              w.ToggleSetting(&Options::largeFont);
                              w.m_view->Refresh();
                          },
                      .checked =
                          [](const W& w) {
                              return w.m_session.Options().largeFont != 0;
                          }},
        WindowCommand{.id = kTreeBeside,
                      .text = "Folder &Tree Beside the Listing",
                      .prompt = "Show the folder tree and the listing side by side",
                      .keys = "F9",
                      .run = [](W& w) { w.m_view->SetTreeBeside(!w.m_view->TreeBeside()); },
                      .enabled = When::Always,
                      .checked =
                          [](const W& w) {
                              return w.m_view->TreeBeside();
                          }},
        // Command
        WindowCommand{.id = kBrowse,
                      .text = "B&rowse for F&older",
                      .prompt = "Browse for Folder",
                      .tip = "Browse for Folder",
                      .keys = "Ctrl+B",
                      .themeIcon = "folder-open",
                      .iconFile = "icons/folder-open.svg",
                      .run = [](W& w) { w.m_view->BrowseForFolder(); },
                      .checked =
                          [](const W& w) {
                              return !w.m_view->TableVisible();
                          }},
        WindowCommand{.id = kFoldersListing,
                      .text = "F&older's Listing",
                      .prompt = "Folder's Listing",
                      .tip = "Folder's Listing",
                      .themeIcon = "view-list-details",
                      .iconFile = "icons/view-list-details.svg",
                      .run = [](W& w) { w.m_view->ShowFoldersListing(); },
                      .checked =
                          [](const W& w) {
                              return w.m_view->TableVisible();
                          }},
        WindowCommand{.id = kStop,
                      .text = "S&top",
                      .prompt = "Stop Reading Media",
                      .tip = "Stop",
                      .keys = "Esc",
                      .themeIcon = "process-stop",
                      .iconFile = "icons/process-stop.svg",
                      .run = [](W& w) { w.m_view->Stop(); },
                      .enabled = When::Reading},
        // Ctrl+L goes to the path box, as in file managers and browsers.
        WindowCommand{.id = kGoToPath,
                      .text = "&Go to Path",
                      .prompt = "Type the path of the folder to list",
                      .keys = "Ctrl+L",
                      .run = [](W& w) { w.m_view->FocusPathBox(); },
                      .enabled = When::Always},
        WindowCommand{.id = kBack,
                      .text = "B&ack",
                      .prompt = "List the folder listed before this one",
                      .keys = "Alt+Left",
                      .run = [](W& w) { w.m_view->GoBack(); },
                      .enabled = When::Back},
        WindowCommand{.id = kForward,
                      .text = "For&ward",
                      .prompt = "List the folder listed before going back",
                      .keys = "Alt+Right",
                      .run = [](W& w) { w.m_view->GoForward(); },
                      .enabled = When::Forward},
        WindowCommand{.id = kUp,
                      .text = "&Parent Folder",
                      .prompt = "List the folder that holds this one",
                      .keys = "Alt+Up",
                      .run = [](W& w) { w.m_view->GoUp(); },
                      .enabled = When::Listing},
        WindowCommand{.id = kToolBar,
                      .text = "Tool&Bar  ",
                      .run = [](W& w) { w.m_toolBar->setVisible(w.m_toolBar->isHidden()); },
                      .enabled = When::Always,
                      .checked =
                          [](const W& w) {
                              return !w.m_toolBar->isHidden();
                          }},
        WindowCommand{.id = kTypeInPath,
                      .text = "Type In Path",
                      .prompt = "Show Path  Box (manual Path entry)",
                      .run = [](W& w) { w.m_view->TogglePathBox(); },
                      .checked =
                          [](const W& w) {
                              return w.m_view->PathBoxVisible();
                          }},
        WindowCommand{.id = kFind,
                      .text = "&Find...\tCtrl+Shift+F",
                      .prompt = "Find a name or a comment in the listing",
                      .tip = "Find",
                      .keys = "Ctrl+Shift+F",
                      .run = [](W& w) { w.AskFindText(); },
                      .enabled = When::ListingInTable},
        WindowCommand{.id = kFindNext,
                      .text = "Find &Next\tF3",
                      .prompt = "Find the next row that matches",
                      .tip = "Find Next",
                      .keys = "F3",
                      .run = [](W& w) { w.FindNext(); },
                      .enabled = When::ListingInTable},
        WindowCommand{.id = kFindInSaved,
                      .text = "Find in Saved &Listings...",
                      .prompt = "Find which saved listing holds a file",
                      .tip = "Find in Saved Listings",
                      .run = [](W& w) { w.FindInSavedListings(); },
                      .enabled = When::Always},
        WindowCommand{.id = kDuplicatesInSaved,
                      .text = "&Duplicates in Saved Listings...",
                      .prompt = "Find the files stored more than once across saved listings",
                      .tip = "Duplicates in Saved Listings",
                      .run = [](W& w) { w.FindDuplicatesInSavedListings(); },
                      .enabled = When::Always},
        WindowCommand{.id = kUpdateListing,
                      .text = "&Update Listing (keep comments)",
                      .prompt = "List the folder again, keeping every comment",
                      .tip = "Update Listing",
                      .run = [](W& w) { w.UpdateListing(); },
                      .enabled = When::Listing},
        WindowCommand{.id = kSettings,
                      .text = "&Settings",
                      .prompt = "Sorting order, print line numbers, etc.",
                      .tip = "Setting",
                      .keys = "Ctrl+,",
                      .run =
                          [](W& w) {
                              w.ShowSettings();
                          }},
        // TreeDepth: one depth is chosen; the custom depth is marked only when no other
        // item names it.
        WindowCommand{.id = kDepth0,
                      .text = "Depth = 0",
                      .run = [](W& w) { w.ChooseDepth(0); },
                      .checked = [](const W& w) { return w.m_session.Options().lastDepth == 0; },
                      .group = kDepthGroup},
        WindowCommand{.id = kDepth1,
                      .text = "Depth = 1",
                      .run = [](W& w) { w.ChooseDepth(1); },
                      .checked = [](const W& w) { return w.m_session.Options().lastDepth == 1; },
                      .group = kDepthGroup},
        WindowCommand{.id = kDepth2,
                      .text = "Depth = 2",
                      .run = [](W& w) { w.ChooseDepth(2); },
                      .checked = [](const W& w) { return w.m_session.Options().lastDepth == 2; },
                      .group = kDepthGroup},
        WindowCommand{.id = kDepth3,
                      .text = "Depth = 3",
                      .run = [](W& w) { w.ChooseDepth(3); },
                      .checked = [](const W& w) { return w.m_session.Options().lastDepth == 3; },
                      .group = kDepthGroup},
        WindowCommand{.id = kDepth5,
                      .text = "Depth = 5",
                      .run = [](W& w) { w.ChooseDepth(5); },
                      .checked = [](const W& w) { return w.m_session.Options().lastDepth == 5; },
                      .group = kDepthGroup},
        WindowCommand{.id = kDepth10,
                      .text = "Depth = 10",
                      .run = [](W& w) { w.ChooseDepth(10); },
                      .checked = [](const W& w) { return w.m_session.Options().lastDepth == 10; },
                      .group = kDepthGroup},
        WindowCommand{.id = kDepthCustom,
                      .text = "Depth = Custom",
                      .run = [](W& w) { w.ChooseDepth(w.m_session.Options().customDepth); },
                      .checked =
                          [](const W& w) {
                              const Options& options = w.m_session.Options();
                              return options.lastDepth == options.customDepth &&
                                     !IsPresetDepth(options.customDepth);
                          },
                      .group = kDepthGroup},
        WindowCommand{.id = kDepthAll,
                      .text = "Depth = All",
                      .run = [](W& w) { w.ChooseDepth(-1); },
                      .checked = [](const W& w) { return w.m_session.Options().lastDepth == -1; },
                      .group = kDepthGroup},
        // Help
        WindowCommand{.id = kHelp, .text = "Help", .enabled = When::Never},
        WindowCommand{.id = kAbout,
                      .text = "&About Dirscribe...",
                      .run = [](W& w) { W::OpenDialog(new AboutBox(&w)); },
                      .enabled = When::Always},
        // Keys that are taken and do nothing; a text field still gets its own first.
        WindowCommand{.id = kCut, .keys = "Ctrl+X; Shift+Del"},
        WindowCommand{.id = kCopy, .keys = "Ctrl+C; Ctrl+Ins"},
        WindowCommand{.id = kPaste, .keys = "Shift+Ins"},
        WindowCommand{.id = kNextPane, .keys = "F6"},
        WindowCommand{.id = kPreviousPane, .keys = "Shift+F6"},
    };
    return kCommands;
}

QAction* MainWindow::Action(int commandId) const {
    const auto found = m_actions.find(commandId);
    return found == m_actions.end() ? nullptr : found->second;
}

void MainWindow::CreateActions() {
    std::map<int, QActionGroup*> groups;
    for (const WindowCommand& command : Commands()) {
        const QString prompt = QString::fromUtf8(command.prompt);
        // The label before its tab: the menu shows the keys beside it, and a screen reader
        // reads the label alone as the item's name.
        const QString label = QString::fromUtf8(command.text).section('\t', 0, 0);
        auto* action = new QAction(CommandIcon(command), label, this);
        action->setObjectName(QStringLiteral("command%1").arg(command.id));
        action->setData(command.id);
        action->setStatusTip(prompt);
        if (*command.tip)
            action->setToolTip(QString::fromUtf8(command.tip));
        action->setIconVisibleInMenu(false);
        if (*command.keys)
            action->setShortcuts(QKeySequence::listFromString(QString::fromUtf8(command.keys)));
        action->setCheckable(command.checked != nullptr);
        if (command.group != 0) {
            QActionGroup*& group = groups[command.group];
            if (!group) {
                group = new QActionGroup(this);
                // One layout is always chosen; a custom depth that a fixed item names is
                // marked there, so no depth item may be marked.
                group->setExclusionPolicy(command.group == kLayoutGroup
                                              ? QActionGroup::ExclusionPolicy::Exclusive
                                              : QActionGroup::ExclusionPolicy::ExclusiveOptional);
            }
            group->addAction(action);
        }
        // Keys without a menu item work all the same.
        addAction(action);
        if (command.id == kInsertRow || command.id == kDeleteRow) {
            action->setShortcutContext(Qt::WidgetShortcut);
            m_view->Table().addAction(action);
        }
        m_actions[command.id] = action;
        connect(action, &QAction::triggered, this, [this, &command] { Run(command); });
    }
}

void MainWindow::CreateMenus() {
    menuBar()->setAccessibleName(QStringLiteral("Menu bar"));
    for (const MenuPopup& popup : MainMenu()) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(popup.title));
        menu->setObjectName(QString::fromUtf8(popup.title).remove('&') + QStringLiteral("Menu"));
        connect(menu, &QMenu::aboutToShow, this, &MainWindow::UpdateCommandStates);
        for (const int id : popup.items) {
            if (id == -1) {
                menu->addSeparator();
            } else if (id == kRecent) {
                m_recentMenu = menu->addMenu(Action(kRecent)->text());
                m_recentMenu->setObjectName(QStringLiteral("recentMenu"));
                m_recentMenu->menuAction()->setStatusTip(Action(kRecent)->statusTip());
                m_recentMenu->menuAction()->setData(kRecent);
                connect(m_recentMenu, &QMenu::aboutToShow, this, &MainWindow::FillRecentMenu);
                // The submenu takes the command's place, so its state follows the table.
                m_actions[kRecent] = m_recentMenu->menuAction();
            } else {
                menu->addAction(Action(id));
            }
        }
    }
}

void MainWindow::CreateToolBar() {
    m_toolBar = addToolBar(QStringLiteral("ToolBar"));
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    m_toolBar->setAccessibleName(QStringLiteral("Toolbar"));
    for (const int id : ToolbarSlots()) {
        if (id == -1) {
            m_toolBar->addSeparator();
            continue;
        }
        QAction* action = Action(id);
        m_toolBar->addAction(action);
        // A button shows a picture; its name is its command's label.
        if (QWidget* button = m_toolBar->widgetForAction(action))
            button->setAccessibleName(action->iconText());
    }
}

void MainWindow::Run(const WindowCommand& command) {
    if (command.run)
        command.run(*this);
    UpdateCommandStates();
}

bool MainWindow::Allows(CommandWhen when) const {
    const bool reading = m_view->Reading();
    const bool listing = m_session.Listing().shown && !m_session.Listing().path.empty();
    switch (when) {
    case When::Idle:
        return !reading;
    case When::Always:
        return true;
    case When::Reading:
        return reading;
    case When::Table:
        return !reading && m_session.Listing().shown && m_view->TableVisible();
    case When::Listing:
        return !reading && listing;
    case When::ListingInTable:
        return !reading && listing && m_view->TableVisible();
    case When::Undoable:
        return !reading && m_view->History().CanUndo();
    case When::Redoable:
        return !reading && m_view->History().CanRedo();
    case When::Back:
        return !reading && m_view->CanGoBack();
    case When::Forward:
        return !reading && m_view->CanGoForward();
    case When::Never:
        break;
    }
    return false;
}

void MainWindow::UpdateCommandStates() {
    for (const WindowCommand& command : Commands()) {
        QAction* action = Action(command.id);
        action->setEnabled(Allows(command.enabled));
        if (command.checked)
            action->setChecked(command.checked(*this));
    }
    UpdateTitle(); // whether the listing has changes may have changed with it
}

void MainWindow::ToggleSetting(std::int32_t ListingOptions::*setting) {
    ListingOptions& options = m_session.Options();
    options.*setting = options.*setting ? 0 : 1;
    if (setting != &ListingOptions::largeFont) // the font refreshes the listing itself
        m_view->ApplySettings();
}

void MainWindow::ChooseLayout(PageLayout layout) {
    m_session.Options().printAs = layout;
    ApplyPageLayout(m_session.Options());
    m_view->ApplySettings();
}

void MainWindow::ChooseDepth(int depth) {
    m_session.Options().lastDepth = depth;
    SetDepthMenuTitle(depth == -1 ? QStringLiteral("All") : QString::number(depth));
    m_view->ApplySettings();
}

// Dialogs are opened window-modal and delete themselves, so the event loop keeps turning.
void MainWindow::OpenDialog(QDialog* dialog) {
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

void MainWindow::ShowSettings() {
    auto* dialog = new OptionsDialog(m_notice, this);
    dialog->setObjectName(QStringLiteral("optionsDialog"));
    dialog->LoadFrom(m_session.Options());
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        if (dialog->ApplyTo(m_session.Options()))
            SetCustomDepthItem(QString::number(m_session.Options().customDepth));
        m_view->ApplySettings();
        UpdateCommandStates();
    });
    OpenDialog(dialog);
}

QMenu* MainWindow::DepthMenu() const {
    const QList<QAction*> items = menuBar()->actions();
    const int position = FindMenuItem(items, kDepthTitle);
    return position < 0 ? nullptr : items[position]->menu();
}

void MainWindow::SetDepthMenuTitle(const QString& text) {
    const QList<QAction*> items = menuBar()->actions();
    const int position = FindMenuItem(items, kDepthTitle);
    if (position >= 0)
        items[position]->setText(kDepthTitle + QStringLiteral(" (") + text + ')');
}

void MainWindow::SetCustomDepthItem(const QString& text) {
    const QMenu* menu = DepthMenu();
    if (!menu)
        return;
    const QList<QAction*> items = menu->actions();
    const int position = FindMenuItem(items, kCustomItem);
    if (position >= 0)
        items[position]->setText(kCustomItem + QStringLiteral(" (") + text + ')');
}

} // namespace dirscribe
