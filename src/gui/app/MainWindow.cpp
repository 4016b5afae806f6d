// SPDX-License-Identifier: MIT
#include "gui/app/MainWindow.h"

#include "core/Error.h"
#include "core/ops/ListingSession.h"
#include "core/options/Profile.h"
#include "core/platform/Clock.h"
#include "gui/app/Commands.h"
#include "gui/app/ListingFind.h"
#include "gui/app/ListingView.h"
#include "gui/app/ToolbarIcons.h"
#include "gui/app/WorkingProgress.h"
#include "gui/dialogs/AboutBox.h"
#include "gui/dialogs/OptionsDialog.h"
#include "gui/print/ListingPrinter.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <algorithm>
#include <array>
#include <cmath>

namespace dirscribe {

using namespace command;

namespace {

const QString kDepthTitle = QStringLiteral("&TreeDepth");
const QString kCustomItem = QStringLiteral("Depth = Custom");
const QString kFilter = QStringLiteral("Folder Files (*.dsc)");
const QString kReportFilter = QStringLiteral("Text report (*.txt)");
const QString kAllFiles = QStringLiteral("All Files (*)");
const QString kTitle = QStringLiteral("Dirscribe:   ");
const QString kReady = QStringLiteral("Ready");
constexpr int kTitlePathLength = 25;
constexpr int kWidth = 450;
constexpr int kHeight = 350;
constexpr int kPlainIconSpacing = 75;

// Icons are spaced 75 pixels apart at 96 dots per inch and proportionally wider above.
int IconSpacing(const QScreen& screen) {
    return static_cast<int>(std::lround(75.0 * screen.logicalDotsPerInchX() / 96.0));
}

// Commands that work while a folder is being read; the others would change the listing
// under the reader.
bool WorksWhileReading(int id) {
    return id == kStop || id == kToolBar || id == kAbout || id == kExit || id == kFindInSaved;
}

// The commands that flip one setting, and those that choose a layout.
struct SettingToggle {
    int id;
    std::int32_t ListingOptions::*flag;
};
constexpr std::array kToggles{
    SettingToggle{kAddSize, &ListingOptions::addSize},
    SettingToggle{kAddDate, &ListingOptions::addDate},
    SettingToggle{kAddAttributes, &ListingOptions::addAttribute},
    SettingToggle{kAddComments, &ListingOptions::addComments},
    SettingToggle{kFontSize, &ListingOptions::largeFont},
};

struct LayoutCommand {
    int id;
    int printAs;
};
constexpr std::array kLayouts{LayoutCommand{kPageFormat, 0}, LayoutCommand{kFileData, 1},
                              LayoutCommand{kCdFormat, 2}, LayoutCommand{kZipFormat, 3}};

// The entry of a command table for a command id, or null.
template <typename Table> auto Find(const Table& table, int id) -> decltype(&*std::begin(table)) {
    const auto found = std::find_if(std::begin(table), std::end(table),
                                    [id](const auto& entry) { return entry.id == id; });
    return found == std::end(table) ? nullptr : &*found;
}

QString DepthText(int depth) {
    return depth == -1 ? QStringLiteral("All") : QString::number(depth);
}

} // namespace

QString FolderOf(const QString& fileName) {
    return QFileInfo(fileName).absolutePath();
}

int FindMenuItem(const QList<QAction*>& items, const QString& text) {
    for (int position = 0; position < items.size(); ++position)
        if (items[position]->text().contains(text))
            return position;
    return -1;
}

MainWindow::MainWindow(ListingSession& session, Notice& notice, std::string profilePath,
                       QWidget* parent)
    : QMainWindow(parent), m_session(session), m_notice(notice),
      m_profilePath(std::move(profilePath)),
      m_progress(std::make_unique<WorkingProgress>(*statusBar())),
      m_printer(std::make_unique<ListingPrinter>(session, notice, *this)) {
    statusBar()->setObjectName(QStringLiteral("statusBar"));
    if (!m_profilePath.empty()) {
        try {
            m_state = LoadWindowState(IniFile::Load(m_profilePath));
        } catch (const Error&) {
            // the settings' reading has said why the profile cannot be read
        }
    }
    m_view = new ListingView(session, notice, *m_progress, this);
    m_view->SetColumnWidths(m_state.columnWidths);
    setCentralWidget(m_view);
    m_find = new ListingFind(session.Table(), *m_view->Table().model(), this);
    CreateActions();
    CreateMenus();
    CreateToolBar();
    AddAcceleratorsWithoutHandler();
    Connect();
    setAcceptDrops(true);
    UpdateTitle();
    setWindowIcon(ProgramIcon());
    statusBar()->showMessage(kReady);
    PlaceOnScreen();
    m_saveQuestion = [this](const QString& text) {
        return QMessageBox::question(this, QStringLiteral("Dirscribe"), text,
                                     QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    };
}

MainWindow::~MainWindow() {
    // A read still under way reports to the progress bar and the printer's session; the
    // view stops it and waits, so it must go before those members do.
    delete m_view;
}

QRect MainWindow::InitialGeometry(const QRect& screen, int iconSpacing) {
    const double scale = iconSpacing <= kPlainIconSpacing ? 1.0 : iconSpacing * 0.0125;
    const int width = static_cast<int>(kWidth * scale);
    const int height = static_cast<int>(kHeight * scale);
    return {screen.left() + (screen.width() - width) / 2,
            screen.top() + (screen.height() - height) / 2, width, height};
}

// Where the window was last time; on the first start, or when that place is on no screen
// any more, the size rule of a new window.
void MainWindow::PlaceOnScreen() {
    if (m_state.geometry) {
        const WindowGeometry& place = *m_state.geometry;
        const QRect remembered(place.left, place.top, place.width, place.height);
        if (QGuiApplication::screenAt(remembered.center()) != nullptr)
            setGeometry(remembered);
        else
            m_state.geometry.reset();
    }
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!m_state.geometry && screen != nullptr)
        setGeometry(InitialGeometry(screen->geometry(), IconSpacing(*screen)));
    if (m_state.maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
}

QAction* MainWindow::Action(int commandId) const {
    const auto found = m_actions.find(commandId);
    return found == m_actions.end() ? nullptr : found->second;
}

void MainWindow::CreateActions() {
    for (const CommandText& texts : CommandTexts()) {
        const QString prompt = QString::fromUtf8(texts.prompt);
        const QString text = *texts.text ? QString::fromUtf8(texts.text) : prompt;
        auto* action = new QAction(ToolbarIcon(texts.id), text, this);
        action->setObjectName(QStringLiteral("command%1").arg(texts.id));
        action->setData(texts.id);
        action->setStatusTip(prompt);
        action->setToolTip(*texts.tip ? QString::fromUtf8(texts.tip) : QString());
        action->setIconVisibleInMenu(false);
        m_actions[texts.id] = action;
        connect(action, &QAction::triggered, this, [this, id = texts.id] { Run(id); });
    }
    for (const int id :
         {kPageFormat, kFileData, kCdFormat, kZipFormat, kAddSize, kAddDate, kAddAttributes,
          kAddComments, kFontSize, kToolBar, kTypeInPath, kBrowse, kFoldersListing, kDepthCustom})
        Action(id)->setCheckable(true);
    for (const DepthCommand& depth : DepthCommands())
        Action(depth.id)->setCheckable(true);
    // Every key a menu shows works; a text field with the focus still gets its own keys
    // first (Ctrl+V pastes there).
    Action(kOpen)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    Action(kPrint)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    Action(kPreview)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    Action(kRefresh)->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_F), QKeySequence(Qt::Key_F5)});
    // Ctrl+F, the usual Find key, has always refreshed here.
    Action(kFind)->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
    Action(kFindNext)->setShortcut(QKeySequence(Qt::Key_F3));
    Action(kSaveDb)->setEnabled(false);
    Action(kHelp)->setEnabled(false);
}

void MainWindow::CreateMenus() {
    for (const MenuPopup& popup : MainMenu()) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(popup.title));
        menu->setObjectName(QString::fromUtf8(popup.title).remove('&') + QStringLiteral("Menu"));
        connect(menu, &QMenu::aboutToShow, this, &MainWindow::UpdateCommandStates);
        for (const int id : popup.items) {
            if (id == -1)
                menu->addSeparator();
            else
                menu->addAction(Action(id));
        }
    }
}

void MainWindow::CreateToolBar() {
    m_toolBar = addToolBar(QStringLiteral("ToolBar"));
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    for (const int id : ToolbarSlots()) {
        if (id == -1)
            m_toolBar->addSeparator();
        else
            m_toolBar->addAction(Action(id));
    }
}

// The new-document, save, edit and pane keys are taken and, except for New and Save,
// do nothing; a text field still gets its own copy and paste keys first. Ctrl+V, which the
// File menu shows for Preview, previews.
void MainWindow::AddAcceleratorsWithoutHandler() {
    const auto add = [this](int id, std::initializer_list<QKeySequence> keys,
                            void (MainWindow::*handler)()) {
        auto* action = new QAction(this);
        action->setObjectName(QStringLiteral("command%1").arg(id));
        action->setShortcuts(QList<QKeySequence>(keys));
        addAction(action);
        m_actions[id] = action;
        if (handler)
            connect(action, &QAction::triggered, this, handler);
    };
    add(kNew, {QKeySequence(Qt::CTRL | Qt::Key_N)}, &MainWindow::NewDocument);
    add(kSaveShortcut, {QKeySequence(Qt::CTRL | Qt::Key_S)}, &MainWindow::Save);
    add(kUndo, {QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_Backspace)},
        nullptr);
    add(kCut, {QKeySequence(Qt::CTRL | Qt::Key_X), QKeySequence(Qt::SHIFT | Qt::Key_Delete)},
        nullptr);
    add(kCopy, {QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)},
        nullptr);
    add(kPaste, {QKeySequence(Qt::SHIFT | Qt::Key_Insert)}, nullptr);
    add(kNextPane, {QKeySequence(Qt::Key_F6)}, nullptr);
    add(kPreviousPane, {QKeySequence(Qt::SHIFT | Qt::Key_F6)}, nullptr);
}

void MainWindow::Connect() {
    connect(m_view, &ListingView::ReadingChanged, this, &MainWindow::UpdateCommandStates);
    connect(m_view, &ListingView::ShownChanged, this, &MainWindow::UpdateCommandStates);
    connect(m_view, &ListingView::ReadFinished, this, &MainWindow::ListingRead);
    connect(m_view, &ListingView::StatusText, statusBar(),
            [this](const QString& text) { statusBar()->showMessage(text); });
    connect(&m_view->PathBox(), &QLineEdit::textChanged, this, &MainWindow::UpdateTitle);
    connect(m_toolBar, &QToolBar::visibilityChanged, this, &MainWindow::UpdateCommandStates);
    // A pointer leaving a button or menu item clears its prompt; the idle text comes back.
    connect(statusBar(), &QStatusBar::messageChanged, this, [this](const QString& text) {
        if (text.isEmpty())
            statusBar()->showMessage(kReady);
    });
    m_view->SetReplaceCheck([this] { return MayDiscardChanges(); });
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (m_initialUpdateDone)
        return;
    m_initialUpdateDone = true;
    m_view->InitialUpdate(QString::fromStdString(m_state.lastFolder));
    const ListingOptions& options = m_session.Options();
    SetCustomDepthItem(QString::number(options.customDepth));
    SetDepthMenuTitle(DepthText(options.lastDepth));
    UpdateCommandStates();
}

void MainWindow::Run(int commandId) {
    ListingOptions& options = m_session.Options();
    if (const SettingToggle* toggle = Find(kToggles, commandId)) {
        options.*toggle->flag = options.*toggle->flag ? 0 : 1;
        if (commandId == kFontSize)
            m_view->Refresh();
        else
            m_view->ApplySettings();
    } else if (const LayoutCommand* layout = Find(kLayouts, commandId)) {
        options.printAs = layout->printAs;
        ApplyPageLayout(options);
        m_view->ApplySettings();
    } else if (const DepthCommand* depth = Find(DepthCommands(), commandId)) {
        ChooseDepth(depth->depth);
    } else {
        RunCommand(commandId);
    }
    UpdateCommandStates();
}

void MainWindow::RunCommand(int commandId) {
    switch (commandId) {
    case kOpen:
        OpenWithDialog();
        break;
    case kSave:
        Save();
        break;
    case kSaveAs:
        SaveAsWithDialog();
        break;
    case kPrint:
        m_printer->Print();
        break;
    case kPreview:
        m_printer->Preview();
        break;
    case kPrintSetup:
        m_printer->Setup();
        break;
    case kRefresh:
        m_view->Refresh();
        break;
    case kExit:
        close();
        break;
    case kBrowse:
        m_view->BrowseForFolder();
        break;
    case kToolBar:
        m_toolBar->setVisible(m_toolBar->isHidden());
        break;
    case kTypeInPath:
        m_view->TogglePathBox();
        break;
    case kDepthCustom:
        ChooseDepth(m_session.Options().customDepth);
        break;
    case kFoldersListing:
        m_view->ShowFoldersListing();
        break;
    case kSettings:
        ShowSettings();
        break;
    case kAbout:
        OpenDialog(new AboutBox(this));
        break;
    case kStop:
        m_view->Stop();
        break;
    case kExport:
        ExportWithDialog();
        break;
    case kFind:
        AskFindText();
        break;
    case kFindNext:
        FindNext();
        break;
    case kFindInSaved:
        FindInSavedListings();
        break;
    case kUpdateListing:
        UpdateListing();
        break;
    default:
        break;
    }
}

void MainWindow::ChooseDepth(int depth) {
    m_session.Options().lastDepth = depth;
    SetDepthMenuTitle(DepthText(depth));
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

void MainWindow::UpdateCommandStates() {
    const ListingOptions& options = m_session.Options();
    const auto check = [this](int id, bool checked) {
        Action(id)->setChecked(checked);
    };
    for (const LayoutCommand& layout : kLayouts)
        check(layout.id, options.printAs == layout.printAs);
    for (const SettingToggle& toggle : kToggles)
        check(toggle.id, options.*toggle.flag != 0);
    for (const DepthCommand& depth : DepthCommands())
        check(depth.id, options.lastDepth == depth.depth);
    check(kDepthCustom, options.lastDepth == options.customDepth);
    check(kTypeInPath, m_view->PathBoxVisible());
    check(kFoldersListing, m_view->TableVisible());
    check(kBrowse, !m_view->TableVisible());
    check(kToolBar, !m_toolBar->isHidden());

    const bool reading = m_view->Reading();
    for (const auto& [id, action] : m_actions)
        if (id != kSaveDb && id != kHelp)
            action->setEnabled(!reading || WorksWhileReading(id));
    // A listing that came from a folder or a document; Find moves in its table.
    const bool listing = !reading && m_session.ListingShown() && !m_session.Path().empty();
    for (const int id : {kExport, kUpdateListing})
        Action(id)->setEnabled(listing);
    for (const int id : {kFind, kFindNext})
        Action(id)->setEnabled(listing && m_view->TableVisible());
}

bool MainWindow::OpenDocument(const QString& fileName) {
    if (!MayDiscardChanges() || !m_view->OpenDocument(fileName))
        return false;
    SetDepthMenuTitle(DepthText(m_session.Options().lastDepth)); // the document's depth
    SetDocument(fileName);
    m_state.openFolder = FolderOf(fileName).toStdString();
    UpdateCommandStates();
    return true;
}

bool MainWindow::SaveDocument(const QString& fileName) {
    if (!m_session.Save(fileName.toStdString(), m_notice, Now()))
        return false;
    m_session.SetModified(false);
    SetDocument(fileName);
    m_state.saveFolder = FolderOf(fileName).toStdString();
    return true;
}

void MainWindow::SetDocument(const QString& fileName) {
    m_documentPath = fileName;
    m_documentFolder = m_session.Path();
}

void MainWindow::ListingRead(bool read) {
    if (!read)
        return;
    m_state.lastFolder = m_session.Path();
    // Save must not put another folder's listing over the document's file.
    if (m_session.Path() != m_documentFolder)
        m_documentPath.clear();
}

void MainWindow::UpdateTitle() {
    const QList<uint> characters = m_view->PathBox().text().toUcs4();
    const QList<uint> shown = characters.mid(0, kTitlePathLength);
    setWindowTitle(
        kTitle + QString::fromUcs4(reinterpret_cast<const char32_t*>(shown.data()), shown.size()));
}

void MainWindow::NewDocument() {
    if (m_view->Reading() || !MayDiscardChanges())
        return;
    m_view->NewDocument();
    SetDocument({});
    UpdateCommandStates();
}

QFileDialog* MainWindow::NewFileDialog(const QString& objectName, QFileDialog::AcceptMode mode,
                                       const QStringList& filters, const std::string& folder) {
    auto* dialog = new QFileDialog(this);
    dialog->setObjectName(objectName);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setAcceptMode(mode);
    dialog->setNameFilters(filters);
    if (!folder.empty())
        dialog->setDirectory(QString::fromStdString(folder));
    return dialog;
}

QFileDialog* MainWindow::OpenFileDialog(const QString& objectName, QFileDialog::AcceptMode mode,
                                        bool (MainWindow::*chosen)(const QString&)) {
    const bool saving = mode == QFileDialog::AcceptSave;
    const QStringList filters =
        saving ? QStringList{kFilter, kReportFilter, kAllFiles} : QStringList{kFilter, kAllFiles};
    // Each dialog starts where it was last used; Save falls back on Open's folder.
    const std::string& folder =
        saving && !m_state.saveFolder.empty() ? m_state.saveFolder : m_state.openFolder;
    QFileDialog* dialog = NewFileDialog(objectName, mode, filters, folder);
    connect(dialog, &QFileDialog::fileSelected, this, chosen);
    return dialog;
}

void MainWindow::OpenWithDialog() {
    QFileDialog* dialog = OpenFileDialog(QStringLiteral("openDialog"), QFileDialog::AcceptOpen,
                                         &MainWindow::OpenDocument);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->open();
}

void MainWindow::Save() {
    if (m_documentPath.isEmpty())
        SaveAsWithDialog();
    else
        SaveDocument(m_documentPath);
}

void MainWindow::SaveAsWithDialog() {
    QFileDialog* dialog = OpenFileDialog(QStringLiteral("saveDialog"), QFileDialog::AcceptSave,
                                         &MainWindow::SaveDocument);
    dialog->setDefaultSuffix(QStringLiteral("dsc"));
    // A name without an extension gets the one of the kind chosen.
    connect(dialog, &QFileDialog::filterSelected, dialog, [dialog](const QString& filter) {
        dialog->setDefaultSuffix(filter == kReportFilter ? QStringLiteral("txt")
                                                         : QStringLiteral("dsc"));
    });
    if (m_documentPath.isEmpty())
        dialog->selectFile(QStringLiteral("Dscrb"));
    else
        dialog->selectFile(m_documentPath);
    dialog->open();
}

void MainWindow::SaveProfile() {
    if (m_profilePath.empty())
        return;
    const QRect place = normalGeometry();
    m_state.geometry = WindowGeometry{place.left(), place.top(), place.width(), place.height()};
    m_state.maximized = isMaximized();
    m_state.columnWidths = m_view->ColumnWidths();
    try {
        IniFile profile = IniFile::Load(m_profilePath);
        SaveOptions(m_session.Options(), profile);
        SaveWindowState(m_state, profile);
        profile.Save(m_profilePath);
    } catch (const Error& error) {
        m_notice.Show(kCaption, error.what(), NoticeIcon::Warning);
    }
}

// Typed comments live only in the table: offer to save them before they are lost.
bool MainWindow::MayDiscardChanges() {
    if (!m_session.Modified())
        return true;
    const QString name = m_documentPath.isEmpty() ? QStringLiteral("Untitled")
                                                  : QFileInfo(m_documentPath).fileName();
    switch (m_saveQuestion(QStringLiteral("Save changes to %1?").arg(name))) {
    case QMessageBox::Yes:
        if (m_documentPath.isEmpty()) {
            SaveAsWithDialog(); // the user closes again once the listing is saved
            return false;
        }
        return SaveDocument(m_documentPath);
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!MayDiscardChanges()) {
        event->ignore();
        return;
    }
    SaveProfile();
    QMainWindow::closeEvent(event);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile() && !m_view->Reading()) {
            OpenDocument(url.toLocalFile());
            event->acceptProposedAction();
            return;
        }
    }
}

} // namespace dirscribe
