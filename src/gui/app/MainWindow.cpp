// SPDX-License-Identifier: MIT
// The window's events, its place on the screen and what it keeps in the profile.
#include "gui/app/MainWindow.h"

#include "core/Error.h"
#include "core/format/SizeFormat.h"
#include "core/ops/ListingSession.h"
#include "core/options/Profile.h"
#include "core/table/TablePopulation.h"
#include "gui/app/ListingFind.h"
#include "gui/app/ListingView.h"
#include "gui/app/ToolbarIcons.h"
#include "gui/app/WorkingProgress.h"
#include "gui/print/ListingPrinter.h"
#include "gui/table/CellListView.h"
#include "render/QtText.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QMimeData>
#include <QMoveEvent>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <algorithm>
#include <cmath>

namespace dirscribe {

namespace {

const QString kTitle = QStringLiteral("Dirscribe:   ");
const QString kTitleDocument = QStringLiteral(" — ");
const QString kReady = QStringLiteral("Ready");
const QString kWorking = QStringLiteral("Working...");
constexpr int kTitlePathLength = 25;
constexpr int kWidth = 450;
constexpr int kHeight = 350;
constexpr int kPlainIconSpacing = 75;

// Icons are spaced 75 pixels apart at 96 dots per inch and proportionally wider above.
int IconSpacing(const QScreen& screen) {
    return static_cast<int>(std::lround(75.0 * screen.logicalDotsPerInchX() / 96.0));
}

QRect Centred(QSize size, const QRect& within) {
    return {within.left() + (within.width() - size.width()) / 2,
            within.top() + (within.height() - size.height()) / 2, size.width(), size.height()};
}

} // namespace

QString FolderOf(const QString& fileName) {
    return QFileInfo(fileName).absolutePath();
}

MainWindow::MainWindow(ListingSession& session, Notice& notice, std::string profilePath,
                       QWidget* parent)
    : QMainWindow(parent), m_session(session), m_notice(notice),
      m_profilePath(std::move(profilePath)),
      m_progress(std::make_unique<WorkingProgress>(*statusBar())),
      m_printer(std::make_unique<ListingPrinter>(session, notice, *this)) {
    statusBar()->setObjectName(QStringLiteral("statusBar"));
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("listingSummary"));
    statusBar()->addPermanentWidget(m_summary);
    if (!m_profilePath.empty()) {
        try {
            m_state = LoadWindowState(IniFile::Load(m_profilePath));
        } catch (const Error&) {
            // the settings' reading has said why the profile cannot be read
        }
    }
    m_view = new ListingView(session, notice, *m_progress, this);
    m_view->SetColumnWidths(m_state.columnWidths);
    m_view->SetTreeBeside(m_state.treeBeside);
    m_view->SetTreeWidth(m_state.treeWidth);
    setCentralWidget(m_view);
    m_find = new ListingFind(session.Listing().table, *m_view->Table().model(), this);
    CreateActions();
    CreateMenus();
    CreateToolBar();
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
    return Centred({static_cast<int>(kWidth * scale), static_cast<int>(kHeight * scale)}, screen);
}

QRect MainWindow::FirstGeometry(const QRect& available, int iconSpacing, QSize wanted) {
    const QSize least = InitialGeometry(available, iconSpacing).size();
    return Centred(least.expandedTo(wanted).boundedTo(available.size()), available);
}

QRect MainWindow::FittedGeometry(const QRect& remembered, const QRect& available) {
    QRect fitted(remembered.topLeft(), remembered.size().boundedTo(available.size()));
    fitted.moveLeft(std::clamp(fitted.left(), available.left(),
                               available.left() + available.width() - fitted.width()));
    fitted.moveTop(std::clamp(fitted.top(), available.top(),
                              available.top() + available.height() - fitted.height()));
    return fitted;
}

QSize MainWindow::WantedSize() const {
    // The standard columns at their widths, the table's frame and scroll bar beside them.
    int columns = 0;
    ListingOptions standard;
    standard.addComments = standard.addSize = standard.addAttribute = standard.addDate = 1;
    for (const TableColumn& column : ListingColumns(standard))
        columns += column.width;
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int width = std::max(m_toolBar->sizeHint().width(), columns + scrollBar + 4 * 5);
    // Landscape, as a listing reads best: a third wider than high.
    return {width, width * 3 / 4};
}

// Where the window was last time, within the screen it is on now; on the first start, or
// when that place is on no screen any more, a size that shows the whole toolbar and the
// standard columns. Room is left for the frame the window manager puts around the window,
// which is not known before it does.
void MainWindow::PlaceOnScreen() {
    const int border = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
    const QMargins frame(border, style()->pixelMetric(QStyle::PM_TitleBarHeight) + border, border,
                         border);
    if (m_state.geometry) {
        // Kept in the screen's pixels, so a start at another scale shows the same window.
        const qreal ratio = devicePixelRatioF();
        const WindowGeometry& place = *m_state.geometry;
        const QRect remembered(static_cast<int>(std::lround(place.left / ratio)),
                               static_cast<int>(std::lround(place.top / ratio)),
                               static_cast<int>(std::lround(place.width / ratio)),
                               static_cast<int>(std::lround(place.height / ratio)));
        if (const QScreen* screen = QGuiApplication::screenAt(remembered.center()))
            setGeometry(FittedGeometry(remembered, screen->availableGeometry() - frame));
        else
            m_state.geometry.reset();
    }
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!m_state.geometry && screen != nullptr)
        setGeometry(
            FirstGeometry(screen->availableGeometry() - frame, IconSpacing(*screen), WantedSize()));
    if (m_state.maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
}

void MainWindow::Connect() {
    connect(m_view, &ListingView::ReadingChanged, this, [this] {
        ShowIdleText();
        UpdateCommandStates();
    });
    connect(m_view, &ListingView::ShownChanged, this, &MainWindow::UpdateCommandStates);
    connect(m_view, &ListingView::HistoryChanged, this, &MainWindow::UpdateCommandStates);
    connect(m_view, &ListingView::ReadFinished, this, &MainWindow::ListingRead);
    connect(m_view, &ListingView::StatusText, statusBar(),
            [this](const QString& text) { statusBar()->showMessage(text); });
    connect(&m_view->PathBox(), &QLineEdit::textChanged, this, &MainWindow::UpdateTitle);
    connect(m_toolBar, &QToolBar::visibilityChanged, this, &MainWindow::UpdateCommandStates);
    // A pointer leaving a button or menu item clears its prompt; the idle text comes back.
    connect(statusBar(), &QStatusBar::messageChanged, this, [this](const QString& text) {
        if (text.isEmpty())
            ShowIdleText();
    });
    m_view->SetReplaceCheck([this] { return MayDiscardChanges(); });
}

void MainWindow::ShowIdleText() {
    const QString idle = m_view->Reading() ? kWorking : kReady;
    if (statusBar()->currentMessage().isEmpty() || m_view->Reading())
        statusBar()->showMessage(idle);
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (m_initialUpdateDone)
        return;
    m_initialUpdateDone = true;
    m_settling = !isMaximized();
    m_view->InitialUpdate(m_state.lastFolder);
    const ListingOptions& options = m_session.Options();
    SetCustomDepthItem(QString::number(options.customDepth));
    SetDepthMenuTitle(options.lastDepth == -1 ? QStringLiteral("All")
                                              : QString::number(options.lastDepth));
    UpdateCommandStates();
}

// The window manager's frame is known once it has put the window in it: the frame's first
// place is made to fit the screen, whatever the frame the window was placed for.
void MainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    if (!m_settling || frameGeometry() == geometry())
        return;
    m_settling = false;
    const QScreen* shown = screen();
    if (shown == nullptr || isMaximized() || shown->availableGeometry().contains(frameGeometry()))
        return;
    const QMargins frame(geometry().left() - frameGeometry().left(),
                         geometry().top() - frameGeometry().top(),
                         frameGeometry().right() - geometry().right(),
                         frameGeometry().bottom() - geometry().bottom());
    setGeometry(FittedGeometry(geometry(), shown->availableGeometry() - frame));
}

void MainWindow::ListingRead(bool read) {
    if (!read)
        return;
    UpdateSummary();
    m_state.lastFolder = m_session.Listing().path;
    // Save must not put another folder's listing over the document's file.
    if (m_session.Listing().path != m_documentFolder)
        setWindowFilePath(QString());
}

// The text the title has always had, then the document and Qt's changed mark, so unsaved
// work shows ("[*]" in a name is written doubled, which Qt shows once).
void MainWindow::UpdateTitle() {
    const QList<uint> characters = m_view->PathBox().text().toUcs4();
    const QList<uint> shown = characters.mid(0, kTitlePathLength);
    QString title =
        kTitle + QString::fromUcs4(reinterpret_cast<const char32_t*>(shown.data()), shown.size());
    if (!windowFilePath().isEmpty())
        title += kTitleDocument + QFileInfo(windowFilePath()).fileName();
    else if (m_session.Listing().shown)
        title += kTitleDocument + kUntitled;
    title.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    setWindowTitle(title + QStringLiteral("[*]"));
    setWindowModified(m_session.Listing().modified);
}

void MainWindow::UpdateSummary() {
    const ListingTable& table = m_session.Listing().table;
    if (!m_session.Listing().shown) {
        m_summary->clear();
        return;
    }
    int entries = 0;
    for (int row = 0; row < table.RowCount(); ++row)
        entries += table.Kind(row) == RowKind::Entry ? 1 : 0;
    const ListingSummary& summary = m_session.Listing().doc.summary;
    const QLocale numbers(QLocale::English);
    const auto counted = [&](long long count, const char* one, const char* many) {
        return numbers.toString(count) + ' ' + QLatin1String(count == 1 ? one : many);
    };
    m_summary->setText(QStringLiteral("%1 listed; %2 and %3 in all, %4")
                           .arg(counted(entries, "entry", "entries"),
                                counted(summary.fileCount, "file", "files"),
                                counted(summary.folderCount, "folder", "folders"),
                                ToQString(FormatSize(summary.totalBytes, 0, false)).trimmed()));
}

// A later start of the program handed this window a document, or asked for it.
void MainWindow::OpenHandedOver(const QString& file) {
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    if (file.isEmpty())
        return;
    if (m_view->Reading()) {
        statusBar()->showMessage(kReadingNow);
        return;
    }
    OpenDocument(file);
}

void MainWindow::SaveProfile() {
    if (m_profilePath.empty())
        return;
    const QRect place = normalGeometry();
    const qreal ratio = devicePixelRatioF();
    const auto pixels = [ratio](int logical) {
        return static_cast<int>(std::lround(logical * ratio));
    };
    m_state.geometry = WindowGeometry{pixels(place.left()), pixels(place.top()),
                                      pixels(place.width()), pixels(place.height())};
    m_state.maximized = isMaximized();
    m_state.columnWidths = m_view->ColumnWidths();
    m_state.treeBeside = m_view->TreeBeside();
    m_state.treeWidth = m_view->TreeWidth();
    try {
        IniFile profile = IniFile::Load(m_profilePath);
        SaveOptions(m_session.Options(), profile);
        SaveWindowState(m_state, profile);
        profile.Save(m_profilePath);
    } catch (const Error& error) {
        m_notice.Show(kCaption, error.what(), NoticeIcon::Warning);
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
