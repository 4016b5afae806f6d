// SPDX-License-Identifier: MIT
#include "gui/app/ListingView.h"

#include "core/format/Utf8.h"
#include "core/ops/FolderScan.h"
#include "core/ops/ListingSession.h"
#include "core/ops/ListingUpdate.h"
#include "core/platform/Progress.h"
#include "core/table/CommentFlow.h"
#include "core/table/TableColumn.h"
#include "gui/table/CellListView.h"
#include "gui/table/ListingHistory.h"
#include "gui/table/TableEditing.h"
#include "gui/tree/FolderTree.h"
#include "render/QtText.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QSplitter>
#include <QStyle>
#include <QThread>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>
#include <new>
#include <optional>
#include <utility>

namespace dirscribe {

namespace {

constexpr int kPathLength = 255;
constexpr int kMargin = 5;
// Columns are fitted to the longest text of this many first rows: enough to see the names,
// and quick whatever the size of the listing.
constexpr int kFittedRows = 1000;
const QString kStopped = QStringLiteral("Stopped: the listing on show is kept");
const QString kTreeUnsorted =
    QStringLiteral("A tree listing keeps its order: choose Depth = 0 and refresh to sort");
const QString kAtNextRefresh =
    QStringLiteral("A listing opened from a document shows the change when it is refreshed (F5)");
const QString kCommentsStay =
    QStringLiteral("The Comments column stays: the listing holds comments");
const QString kSortStep = QStringLiteral("Sort");

// The screen font of the table and the tree: the printing face, 16 px at weight 500,
// or 18 px at weight 600 with the larger font.
QFont ListingFont(const ListingOptions& options) {
    QFont font(QString::fromStdString(options.currentFont));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(options.largeFont ? 18 : 16);
    font.setWeight(options.largeFont ? QFont::DemiBold : QFont::Medium);
    return font;
}

} // namespace

ListingView::ListingView(ListingSession& session, Notice& notice, Progress& progress,
                         QWidget* parent)
    : QWidget(parent), m_session(session), m_progress(progress), m_notice(notice),
      m_model(session.Listing().table), m_pathBox(new QLineEdit(this)),
      m_split(new QSplitter(this)), m_tree(new FolderTree(m_split)),
      m_table(new CellListView(m_split)),
      m_editing(new TableEditing(session, m_model, *m_table, this)),
      m_history(new ListingHistory(session, m_model, *m_table, this)) {
    m_pathBox->setObjectName(QStringLiteral("pathBox"));
    m_pathBox->setAccessibleName(QStringLiteral("Folder path"));
    m_pathBox->setMaxLength(kPathLength);
    connect(m_pathBox, &QLineEdit::returnPressed, this, [this] {
        // Once the folder is listed, the keys are the table's (Ctrl+V previews there).
        m_focusTableAfterRead = true;
        ReadSelectedFolder();
    });
    m_editing->SetHistory(m_history);
    connect(m_history, &ListingHistory::Changed, this, &ListingView::HistoryChanged);

    m_table->setObjectName(QStringLiteral("listingTable"));
    m_table->setAccessibleName(QStringLiteral("Listing"));
    m_table->setModel(&m_model);
    m_table->setShowGrid(false);
    m_table->setWordWrap(false);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    // Fixed row heights let the view place a million rows without measuring any.
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    QHeaderView* header = m_table->horizontalHeader();
    header->setSectionsMovable(true);
    header->setHighlightSections(false);
    header->setSortIndicatorShown(true);
    header->setSortIndicator(-1, Qt::AscendingOrder);
    connect(header, &QHeaderView::sectionClicked, this, &ListingView::SortByColumn);
    connect(header, &QHeaderView::sectionResized, this,
            [this](int column, int, int width) { RememberColumnWidth(column, width); });

    m_editing->SetDetailsRequest([this](int row) { FetchFileDetails(row); });
    m_table->SetRowOpener([this](int row) { return OpenFolderRow(row); });
    connect(&m_model, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& first, const QModelIndex& last) {
                WidenComments(first.row(), last.row());
            });
    connect(&m_model, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) { WidenComments(first, last); });

    m_tree->setObjectName(QStringLiteral("folderTree"));
    m_tree->setAccessibleName(QStringLiteral("Folders"));
    // Alone, the tree is where the next folder is picked; beside the table, the path box
    // still names the listing on show.
    connect(m_tree, &FolderTree::Expanding, this, [this] {
        if (!m_treeBeside)
            m_pathBox->clear();
    });
    connect(m_tree, &FolderTree::FolderChosen, this,
            [this](const std::string& path) { ReadFolder(path); });

    m_split->setObjectName(QStringLiteral("treeAndTable"));
    m_split->setChildrenCollapsible(false);
    m_split->addWidget(m_tree);
    m_split->addWidget(m_table);
    m_split->setStretchFactor(1, 1);
    m_table->hide();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    layout->setSpacing(kMargin);
    layout->addWidget(m_pathBox);
    layout->addWidget(m_split, 1);
}

ListingView::~ListingView() {
    if (!m_reader)
        return;
    m_notice.Silence();
    m_stop.Request();
    m_reader->wait();
}

void ListingView::InitialUpdate(const std::string& lastFolder) {
    if (m_firstUpdate) {
        ApplyPageLayout(m_session.Options());
        ApplyTreeFont();
        ShowTree();
        m_tree->Populate();
        ShowPath(lastFolder);
        m_tree->ShowForBrowse(m_shownPath);
        m_firstUpdate = false;
    }
    m_pathBox->setVisible(m_session.Options().showManualPath != 0);
}

void ListingView::ReadSelectedFolder(ReadDone done) {
    ReadFolder(PathToRead(), std::move(done));
}

void ListingView::ReadFolder(const std::string& path, ReadDone done) {
    if (Reading())
        return;
    // An open editor's text counts as a change the question below asks about.
    m_editing->SetLocked(true);
    // The folder on show is read again with everything typed carried over: nothing to ask.
    // While the question is asked, the path box and the tree name the listing on show.
    if (!m_session.Listing().ReadingAgainLosesNothing(path) && m_mayReplace) {
        RearmTree();
        if (!m_mayReplace()) {
            m_editing->SetLocked(false);
            m_focusTableAfterRead = false;
            m_going = Going::Elsewhere;
            // Kept as it was: the path box names the listing again.
            ShowPath(m_session.Listing().path);
            RearmTree();
            return;
        }
    }
    m_listedBefore = m_session.Listing().shown ? m_session.Listing().folder : std::string();
    ShowPath(path);
    // The read goes into a value of its own, which only a read that succeeded and was not
    // stopped puts on show.
    auto read = std::make_shared<std::optional<FolderScan>>();
    StartReader(
        [this, read, path, options = m_session.Options()] {
            *read = ScanFolder(path, options, m_notice, m_progress, m_stop);
            return read->has_value();
        },
        [this, read] { return Populate(std::move(**read)); }, std::move(done));
}

void ListingView::UpdateShownListing(Updated updated) {
    if (Reading())
        return;
    m_editing->SetLocked(true);
    // The update reads the listing on show while the table only paints it.
    auto update = std::make_shared<std::optional<ListingUpdate>>();
    const auto work = [this, update] {
        try {
            *update = UpdateListing(m_session, m_notice, m_progress, m_stop);
        } catch (const std::bad_alloc&) {
            m_notice.Show(kCaption, kNotEnoughMemory, NoticeIcon::Stop);
        }
        return update->has_value();
    };
    const auto take = [this, update] {
        m_model.Change([&] { m_session.ShowUpdate(std::move((*update)->listing)); });
        ApplyTableLook();
        ShowTable();
        return true;
    };
    StartReader(work, take, [update, updated = std::move(updated)](bool done) {
        if (done && updated)
            updated((*update)->counts);
    });
}

void ListingView::StartReader(std::function<bool()> work, std::function<bool()> take,
                              ReadDone done) {
    m_notice.DropGathered();
    // Cleared here, not on the reader thread: a Stop pressed from now on counts.
    m_stop.Clear();
    m_reader.reset(QThread::create([this, work = std::move(work)] { m_readResult = work(); }));
    connect(m_reader.get(), &QThread::finished, this,
            [this, take = std::move(take), done = std::move(done)] { FinishRead(take, done); });
    emit ReadingChanged(true);
    m_reader->start();
}

void ListingView::FinishRead(const std::function<bool()>& take, const ReadDone& done) {
    m_reader->wait();
    m_reader.reset();
    m_progress.End();
    // A Stop the user gave before the result was shown counts, even if the reader had just
    // finished: what is on show is what the status bar will say is kept, and the result is
    // dropped with the reader's work.
    if (m_readResult && m_stop.Requested())
        m_readResult = false;
    if (m_readResult)
        m_readResult = take();
    // Whatever happened, the path box names the listing on show.
    ShowPath(m_session.Listing().path);
    const bool focusTable = std::exchange(m_focusTableAfterRead, false);
    if (m_readResult) {
        if (focusTable)
            m_table->setFocus(Qt::OtherFocusReason);
        m_notice.ShowGathered();
    } else if (!m_pathBox->isHidden()) {
        m_pathBox->setFocus();
        m_pathBox->selectAll();
    }
    if (!m_readResult && m_stop.Requested())
        emit StatusText(kStopped);
    RearmTree();
    m_editing->SetLocked(false);
    const bool listingRead = !std::exchange(m_fetchingDetails, false);
    if (listingRead)
        RememberGoing(m_readResult);
    // The names come first, whatever cell was framed or clicked before.
    ShowFirstColumn();
    emit ReadingChanged(false);
    if (listingRead)
        emit ReadFinished(m_readResult);
    if (done)
        done(m_readResult);
}

bool ListingView::Populate(FolderScan read) {
    bool filled = true;
    m_model.Change([&] {
        try {
            m_session.ShowRead(std::move(read), m_progress);
        } catch (const std::bad_alloc&) {
            filled = false; // the table keeps the listing it had
        }
    });
    if (!filled) {
        m_notice.Show(kCaption, kNotEnoughMemory, NoticeIcon::Stop);
        return false;
    }
    ApplyTableLook();
    ShowTable();
    return true;
}

// New rows: they come in the order of the disk or of the document.
void ListingView::ApplyTableLook() {
    m_sortedColumn = -1;
    const ListingOptions& options = m_session.Options();
    const QFont font = ListingFont(options);
    m_table->setFont(font);
    m_table->verticalHeader()->setDefaultSectionSize(QFontMetrics(font).height() + 4);
    const auto& columns = m_session.Listing().table.Columns();
    QHeaderView* header = m_table->horizontalHeader();
    m_applyingLook = true;
    for (int column = 0; column < static_cast<int>(columns.size()); ++column) {
        const TableColumn& shown = columns[static_cast<std::size_t>(column)];
        const auto chosen = m_widths.find(shown.title);
        m_table->setColumnWidth(column, chosen != m_widths.end() ? chosen->second
                                        : options.largeFont      ? shown.largeWidth
                                                                 : shown.width);
        // A new set of columns shows in its own order, whatever was dragged before.
        header->moveSection(header->visualIndex(column), column);
    }
    m_applyingLook = false;
    FitColumns();
    ShowSortIndicator();
    ApplyTreeFont();
}

// Each column shows its head and its texts whole (of its first rows): FileName up to half
// the view, Comments (its "comments:" rows whole, wherever they are) up to the printable
// width, the others as they need. A width the user set stands.
void ListingView::FitColumns() {
    const ListingTable& table = m_session.Listing().table;
    const int rows = table.RowCount();
    const bool applying = std::exchange(m_applyingLook, true);
    for (int column = 0; column < table.ColumnCount(); ++column) {
        int widest = m_table->horizontalHeader()->sectionSizeHint(column);
        std::string scratch;
        for (int row = 0; row < std::min(rows, kFittedRows); ++row)
            widest = std::max(widest, CellWidth(row, column, scratch));
        if (table.KindOfColumn(column) == ColumnKind::Comments)
            for (int row = kFittedRows; row < rows; ++row)
                if (table.Kind(row) != RowKind::Entry)
                    widest = std::max(widest, CellWidth(row, column, scratch));
        Widen(column, widest);
    }
    m_applyingLook = applying;
}

int ListingView::CellWidth(int row, int column, std::string& scratch) const {
    const int margin = 2 * (m_table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
    return QFontMetrics(m_table->font())
               .horizontalAdvance(
                   ToQString(m_session.Listing().table.CellText(row, column, scratch))) +
           2 * margin;
}

void ListingView::Widen(int column, int wanted) {
    const ListingTable& table = m_session.Listing().table;
    if (m_widths.contains(table.Columns()[static_cast<std::size_t>(column)].title))
        return; // the user's own width stands
    const int least = m_table->columnWidth(column);
    int most = (m_treeBeside ? m_table->width() : m_split->width()) / 2;
    if (table.KindOfColumn(column) == ColumnKind::Comments) {
        const int left = m_table->horizontalHeader()->sectionPosition(column);
        const std::optional<int> edge =
            CommentFlow::PrintableWidthLimit(m_session.Options().printAs, left);
        most = edge ? *edge - left : most;
    }
    if (wanted > least)
        m_table->setColumnWidth(column, std::min(wanted, std::max(least, most)));
}

// A comment typed on, or rows put in, may hold a line wider than the Comments column.
void ListingView::WidenComments(int first, int last) {
    const int column = m_session.Listing().table.ColumnIndex(ColumnKind::Comments);
    if (column < 0 || m_applyingLook)
        return;
    int widest = 0;
    std::string scratch;
    for (int row = std::max(first, 0);
         row <= std::min(last, m_session.Listing().table.RowCount() - 1); ++row)
        widest = std::max(widest, CellWidth(row, column, scratch));
    m_applyingLook = true;
    Widen(column, widest);
    m_applyingLook = false;
}

void ListingView::RememberColumnWidth(int column, int width) {
    const auto& columns = m_session.Listing().table.Columns();
    if (m_applyingLook || column < 0 || column >= static_cast<int>(columns.size()) || width <= 0)
        return;
    m_widths[columns[static_cast<std::size_t>(column)].title] = width;
}

void ListingView::SortByColumn(int column) {
    if (Reading())
        return;
    // The core decides; a tree listing keeps its order.
    if (m_session.Listing().Sortable()) {
        // A step of its own that can be undone, so the changes before it can be too.
        std::vector<int> moved;
        m_model.Reshape([&] { m_session.ClickColumn(column, &moved); });
        m_history->RecordOrder(kSortStep, std::move(moved));
        m_sortedColumn = column;
        m_sortedOrder =
            m_session.Sorting().sortAscending != 0 ? Qt::AscendingOrder : Qt::DescendingOrder;
    } else {
        emit StatusText(kTreeUnsorted);
    }
    ShowSortIndicator();
}

// The head shows the column and direction the rows are in, not just the last click.
void ListingView::ShowSortIndicator() {
    m_table->horizontalHeader()->setSortIndicator(m_sortedColumn, m_sortedOrder);
}

void ListingView::ApplyTreeFont() {
    const ListingOptions& options = m_session.Options();
    m_tree->SetTreeFont(QString::fromStdString(options.currentFont), options.largeFont != 0);
}

void ListingView::ApplySettings() {
    if (Reading() || !TableVisible())
        return;
    using Effect = ListingSession::SettingsEffect;
    Effect effect = Effect::None;
    m_model.Change([&] { effect = m_session.ApplySettings(); });
    if (effect == Effect::Shown || effect == Effect::CommentsStay)
        ApplyTableLook();
    if (effect == Effect::CommentsStay)
        emit StatusText(kCommentsStay);
    else if (effect == Effect::AtNextRefresh)
        emit StatusText(kAtNextRefresh);
    else if (effect == Effect::NeedsRead)
        Refresh();
}

void ListingView::Refresh() {
    if (TableVisible()) {
        ReadSelectedFolder();
        return;
    }
    ApplyTreeFont();
    ShowTree();
}

// A read that fails leaves the listing on show, as Refresh does: the path box, the
// summary and a save all still describe it.
// Back and forward go through the folders listed; any other listing of a new folder starts
// a new way forward.
void ListingView::RememberGoing(bool read) {
    const Going going = std::exchange(m_going, Going::Elsewhere);
    std::string before = std::exchange(m_listedBefore, {});
    if (!read || before.empty() || before == m_session.Listing().folder)
        return;
    if (going == Going::Back) {
        m_back.pop_back();
        m_forward.push_back(std::move(before));
    } else if (going == Going::Forward) {
        m_forward.pop_back();
        m_back.push_back(std::move(before));
    } else {
        m_back.push_back(std::move(before));
        m_forward.clear();
    }
}

void ListingView::GoBack() {
    if (Reading() || m_back.empty())
        return;
    m_going = Going::Back;
    ReadFolder(m_back.back());
}

void ListingView::GoForward() {
    if (Reading() || m_forward.empty())
        return;
    m_going = Going::Forward;
    ReadFolder(m_forward.back());
}

void ListingView::GoUp() {
    const std::string& folder = m_session.Listing().folder;
    if (Reading() || !m_session.Listing().shown || folder.empty() || folder == "/")
        return;
    const std::size_t slash = folder.find_last_of('/');
    ReadFolder(slash == 0 ? std::string("/") : folder.substr(0, slash));
}

bool ListingView::OpenFolderRow(int row) {
    if (Reading() || row < 0 || row >= m_session.Listing().table.RowCount() ||
        m_session.Listing().table.Kind(row) != RowKind::Entry)
        return false;
    const std::string path = m_session.Listing().EntryPath(row);
    if (path.empty() || !QFileInfo(QString::fromStdString(path)).isDir())
        return false;
    ReadFolder(path);
    return true;
}

void ListingView::FocusPathBox() {
    if (m_pathBox->isHidden())
        TogglePathBox();
    m_pathBox->setFocus(Qt::ShortcutFocusReason);
    m_pathBox->selectAll();
}

void ListingView::ShowFirstColumn() {
    m_table->horizontalScrollBar()->setValue(m_table->horizontalScrollBar()->minimum());
}

void ListingView::ShowFoldersListing() {
    ReadSelectedFolder([this](bool) { ShowTable(); });
}

void ListingView::SetTreeBeside(bool beside) {
    if (m_treeBeside == beside)
        return;
    if (!beside)
        m_treeWidth = TreeWidth();
    m_treeBeside = beside;
    if (!beside) {
        Show(!m_session.Listing().shown);
        ShowFirstColumn();
        return;
    }
    m_tree->show();
    m_table->show();
    const int whole = std::max(m_split->width(), 1);
    SetTreeWidth(m_treeWidth > 0 ? m_treeWidth : whole / 3);
    RearmTree();
    ShowFirstColumn();
    emit ShownChanged();
}

int ListingView::TreeWidth() const {
    return m_treeBeside && m_split->sizes().constFirst() > 0 ? m_split->sizes().constFirst()
                                                             : m_treeWidth;
}

void ListingView::SetTreeWidth(int width) {
    m_treeWidth = width;
    if (m_treeBeside && width > 0)
        m_split->setSizes({width, std::max(m_split->width() - width, 1)});
}

void ListingView::Undo() {
    m_editing->FinishEdit();
    const bool sort = m_history->UndoText() == kSortStep;
    m_history->Undo();
    if (sort)
        ForgetSortIndicator();
}

void ListingView::Redo() {
    m_editing->FinishEdit();
    const bool sort = m_history->RedoText() == kSortStep;
    m_history->Redo();
    if (sort)
        ForgetSortIndicator();
}

// The rows are in another order than the last sort left them.
void ListingView::ForgetSortIndicator() {
    m_sortedColumn = -1;
    ShowSortIndicator();
}

void ListingView::BrowseForFolder() {
    if (!TableVisible())
        return;
    m_tree->ShowForBrowse(m_session.Listing().path);
    ShowTree();
}

void ListingView::ShowPath(const std::string& path) {
    m_shownPath = path;
    m_pathBox->setText(ToQString(DisplayText(path)));
}

std::string ListingView::PathToRead() const {
    const QString typed = m_pathBox->text();
    if (typed == ToQString(DisplayText(m_shownPath)))
        return m_shownPath;
    // As in a shell, a leading "~" stands for the home folder.
    const QString path = typed.trimmed();
    if (path == u'~' || path.startsWith(QStringLiteral("~/")))
        return (QDir::homePath() + path.mid(1)).toStdString();
    return typed.toStdString();
}

void ListingView::TogglePathBox() {
    m_pathBox->setHidden(!m_pathBox->isHidden());
    m_session.Options().showManualPath = m_pathBox->isHidden() ? 0 : 1;
}

bool ListingView::OpenDocument(const QString& fileName) {
    bool opened = false;
    m_model.Change(
        [&] { opened = m_session.OpenDocument(fileName.toStdString(), m_notice, m_progress); });
    if (!opened)
        return false;
    ShowPath(m_session.Listing().path);
    ApplyTableLook();
    ShowTable();
    ShowFirstColumn();
    return true;
}

void ListingView::NewDocument() {
    m_model.Change([&] { m_session.NewDocument(); });
    m_pathBox->clear();
}

void ListingView::ShowRow(int row) {
    ShowTable();
    m_table->FocusRow(row);
    m_table->scrollTo(m_table->currentIndex(), QAbstractItemView::PositionAtCenter);
}

void ListingView::FetchFileDetails(int row) {
    if (Reading())
        return;
    auto request = m_session.RequestFileDetails(row);
    if (!request)
        return;
    // The file is read on the reader thread (within the reader's own time bound) while the
    // rows on show take no edits, as during a folder read.
    m_editing->SetLocked(true);
    m_fetchingDetails = true;
    auto details = std::make_shared<FileDetails>();
    StartReader(
        [request = std::move(*request), details] {
            *details = request.Read();
            return true;
        },
        [this, row, details] {
            InsertFileDetails(row, std::move(*details));
            return true;
        },
        {});
}

void ListingView::InsertFileDetails(int row, FileDetails details) {
    if (!details.note.empty())
        emit StatusText(ToQString(DisplayText(details.note)));
    // The rows below change in number, so the model resets; the place in the table stays.
    const int scrolled = m_table->verticalScrollBar()->value();
    const int rows = m_session.Listing().table.RowCount();
    ListingSession::RowSlice before = m_session.Listing().CopyRows(row, 1);
    m_model.Reshape([&] { m_session.InsertFileDetails(row, std::move(details)); });
    m_history->Record(QStringLiteral("File Data"), row, std::move(before),
                      1 + m_session.Listing().table.RowCount() - rows);
    m_table->FocusRow(row);
    m_table->verticalScrollBar()->setValue(scrolled);
    FitColumns();
}

bool ListingView::TableVisible() const {
    return !m_table->isHidden();
}

bool ListingView::PathBoxVisible() const {
    return !m_pathBox->isHidden();
}

void ListingView::ShowTable() {
    Show(false);
}

void ListingView::ShowTree() {
    Show(true);
    if (m_treeBeside)
        m_tree->setFocus(Qt::OtherFocusReason);
}

void ListingView::Show(bool tree) {
    if (!m_treeBeside) {
        m_tree->setHidden(!tree);
        m_table->setHidden(tree);
        // The one on show takes the whole place, whatever the other had.
        const int whole = std::max(m_split->width(), 1);
        m_split->setSizes({tree ? whole : 0, tree ? 0 : whole});
    }
    emit ShownChanged();
}

void ListingView::RearmTree() {
    if (!m_tree->isHidden())
        m_tree->ShowForBrowse(m_shownPath);
}

} // namespace dirscribe
