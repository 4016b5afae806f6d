// SPDX-License-Identifier: MIT
#include "gui/app/SavedListingsDialog.h"

#include "core/catalogue/CatalogueSearch.h"
#include "core/format/Utf8.h"
#include "gui/app/WorkingProgress.h"
#include "render/QtText.h"

#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QThread>
#include <QVBoxLayout>
#include <algorithm>
#include <new>
#include <utility>

namespace dirscribe {

namespace {

// A few times a second is enough for the list to grow while the search runs.
constexpr int kDrainMilliseconds = 100;

QString Counted(std::size_t count, const char* one, const char* many) {
    return QString::number(count) + ' ' + QLatin1String(count == 1 ? one : many);
}

} // namespace

SavedListingsDialog::SavedListingsDialog(const QString& folder, QWidget* parent)
    : QDialog(parent), m_pattern(new QLineEdit(this)), m_folder(new QLineEdit(folder, this)),
      m_results(new QTableView(this)), m_search(new QPushButton(QStringLiteral("&Search"), this)),
      m_stopButton(new QPushButton(QStringLiteral("S&top"), this)),
      m_open(new QPushButton(QStringLiteral("&Open"), this)), m_status(new QStatusBar(this)),
      m_progress(std::make_unique<WorkingProgress>(*m_status)) {
    setWindowTitle(QStringLiteral("Find in Saved Listings"));
    m_pattern->setPlaceholderText(QStringLiteral("*.mp3, or a text in names and comments"));
    auto* browse = new QPushButton(QStringLiteral("&Browse..."), this);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    // Enter starts a search from the text boxes and opens a match from the list, so no
    // button takes it.
    for (QPushButton* button : {m_search, m_stopButton, m_open, browse, close})
        button->setAutoDefault(false);

    m_pattern->setObjectName(QStringLiteral("pattern"));
    m_folder->setObjectName(QStringLiteral("folder"));
    m_status->setObjectName(QStringLiteral("status"));
    m_results->setObjectName(QStringLiteral("results"));
    m_results->setModel(&m_model);
    m_results->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_results->setSelectionMode(QAbstractItemView::SingleSelection);
    m_results->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_results->setWordWrap(false);
    m_results->verticalHeader()->hide();
    m_results->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_results->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    m_results->horizontalHeader()->setStretchLastSection(true);

    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(m_folder, 1);
    folderRow->addWidget(browse);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Find:"), m_pattern);
    auto* folderLabel = new QLabel(QStringLiteral("In the listings saved &in:"), this);
    folderLabel->setBuddy(m_folder);
    form->addRow(folderLabel, folderRow);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_search);
    buttons->addWidget(m_stopButton);
    buttons->addStretch();
    buttons->addWidget(m_open);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_results, 1);
    layout->addLayout(buttons);
    layout->addWidget(m_status);
    resize(640, 400);

    connect(m_pattern, &QLineEdit::returnPressed, this, &SavedListingsDialog::Search);
    connect(m_folder, &QLineEdit::returnPressed, this, &SavedListingsDialog::Search);
    connect(m_pattern, &QLineEdit::textChanged, this, &SavedListingsDialog::UpdateButtons);
    connect(m_folder, &QLineEdit::textChanged, this, &SavedListingsDialog::UpdateButtons);
    connect(m_search, &QPushButton::clicked, this, &SavedListingsDialog::Search);
    connect(m_stopButton, &QPushButton::clicked, this, &SavedListingsDialog::Stop);
    connect(m_open, &QPushButton::clicked, this, &SavedListingsDialog::OpenCurrent);
    connect(browse, &QPushButton::clicked, this, &SavedListingsDialog::ChooseFolder);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_results, &QAbstractItemView::activated, this, &SavedListingsDialog::OpenCurrent);
    connect(m_results->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &SavedListingsDialog::UpdateButtons);
    // Closing the dialog ends its search; the matches found stay for the next time.
    connect(this, &QDialog::finished, this, &SavedListingsDialog::Stop);
    m_drain.setInterval(kDrainMilliseconds);
    connect(&m_drain, &QTimer::timeout, this, &SavedListingsDialog::TakeMatches);
    m_typing.setSingleShot(true);
    m_typing.setInterval(kTypingPauseMilliseconds);
    connect(m_pattern, &QLineEdit::textEdited, this, &SavedListingsDialog::Typed);
    connect(&m_typing, &QTimer::timeout, this, &SavedListingsDialog::SearchAsTyped);
    UpdateButtons();
}

SavedListingsDialog::~SavedListingsDialog() {
    if (!m_searcher)
        return;
    m_stop.Request();
    m_searcher->wait();
}

void SavedListingsDialog::Typed() {
    m_typing.start();
    if (Searching()) {
        m_typedAgain = true;
        m_stop.Request();
    }
}

void SavedListingsDialog::SearchAsTyped() {
    if (Searching()) {
        m_typedAgain = true;
        return;
    }
    Search();
}

void SavedListingsDialog::Search() {
    const std::string pattern = m_pattern->text().toStdString();
    m_searched = m_folder->text().trimmed();
    if (Searching() || pattern.empty() || m_searched.isEmpty())
        return;
    m_typing.stop();
    const std::string folder = m_searched.toStdString();
    m_model.Clear(folder);
    m_results->clearSpans();
    m_listed = m_matches = m_documents = m_matchedDocuments = m_unsearched = 0;
    m_stop.Clear();
    emit Searched(m_searched);
    m_searcher.reset(
        QThread::create([this, query = SearchQuery(pattern), folder] { Run(query, folder); }));
    connect(m_searcher.get(), &QThread::finished, this, &SavedListingsDialog::FinishSearch);
    m_drain.start();
    UpdateButtons();
    m_searcher->start();
}

void SavedListingsDialog::Run(const SearchQuery& query, const std::string& folder) {
    try {
        // Found first, so that the end can say how many listings were searched.
        const std::vector<std::string> documents = FindDocuments({folder}, m_problems, &m_stop);
        m_documents = documents.size();
        const auto keep = [this, last = std::string()](const std::string& document,
                                                       const SearchHit& hit) mutable {
            // A document's matches come one after another.
            if (m_matchedDocuments == 0 || document != last) {
                ++m_matchedDocuments;
                last = document;
            }
            if (m_listed == kMostListed)
                return;
            ++m_listed;
            const std::lock_guard lock(m_pendingLock);
            m_pending.push_back({document, hit});
        };
        m_matches = SearchCatalogue(query, {}, documents, true, m_problems, m_remarks, *m_progress,
                                    keep, &m_stop);
    } catch (const std::bad_alloc&) {
        m_problems.Show(kCaption, kNotEnoughMemory, NoticeIcon::Stop);
    }
}

void SavedListingsDialog::TakeMatches() {
    std::vector<SavedMatch> taken;
    {
        const std::lock_guard lock(m_pendingLock);
        taken.swap(m_pending);
    }
    m_model.Append(std::move(taken));
}

void SavedListingsDialog::FinishSearch() {
    m_searcher->wait();
    m_searcher.reset();
    m_drain.stop();
    m_progress->End();
    TakeMatches();
    // The comment takes the rest; a long name or path leaves room for the others.
    const int widest = std::max(m_results->viewport()->width() / 3, 1);
    for (int column = 0; column + 1 < m_model.columnCount(); ++column) {
        m_results->resizeColumnToContents(column);
        m_results->setColumnWidth(column, std::min(m_results->columnWidth(column), widest));
    }
    ListProblems();
    QString status = Summary();
    if (const std::string remark = m_remarks.Take(); !remark.empty())
        status += QStringLiteral(" (") + ToQString(DisplayText(remark)) + ')';
    m_status->showMessage(status);
    UpdateButtons();
    emit SearchEnded();
    if (std::exchange(m_typedAgain, false))
        m_typing.start();
}

// What could not be searched stands below the matches, a line each, where the user reads on.
void SavedListingsDialog::ListProblems() {
    auto [named, count] = m_problems.Lines().TakeLines();
    m_unsearched = count;
    if (count > named.size())
        named.push_back("... and " + std::to_string(count - named.size()) + " more");
    std::vector<SavedMatch> rows;
    for (const std::string& line : named) {
        SavedMatch& row = rows.emplace_back();
        row.problem = "Could not be searched: " + line;
    }
    const int first = m_model.rowCount();
    m_model.Append(std::move(rows));
    for (int row = first; row < m_model.rowCount(); ++row)
        m_results->setSpan(row, 0, 1, m_model.columnCount());
}

QString SavedListingsDialog::Summary() const {
    const QString matches = Counted(m_matches, "match", "matches");
    if (m_stop.Requested())
        return QStringLiteral("Stopped: ") + matches + QStringLiteral(" so far");
    if (m_documents == 0)
        return QStringLiteral("No saved listing (*.dsc) in ") + m_searched;
    QString text = m_matches == 0 ? QStringLiteral("No match") : matches;
    text += QStringLiteral(" in ");
    if (m_matches != 0 && m_matchedDocuments != m_documents)
        text += QString::number(m_matchedDocuments) + QStringLiteral(" of ");
    text += Counted(m_documents, "saved listing", "saved listings");
    if (m_matches > m_listed)
        text += QStringLiteral("; the first %1 are listed").arg(m_listed);
    if (m_unsearched != 0)
        text += QStringLiteral("; %1 could not be searched").arg(m_unsearched);
    return text;
}

void SavedListingsDialog::OpenCurrent() {
    const QModelIndex current = m_results->currentIndex();
    if (!current.isValid())
        return;
    const SavedMatch& match = m_model.At(current.row());
    if (match.problem.empty())
        emit OpenRequested(QString::fromStdString(match.document), match.hit.row);
}

void SavedListingsDialog::ChooseFolder() {
    auto* dialog =
        new QFileDialog(this, QStringLiteral("Folder of Saved Listings"), m_folder->text());
    dialog->setObjectName(QStringLiteral("folderDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    connect(dialog, &QFileDialog::fileSelected, m_folder, &QLineEdit::setText);
    dialog->open();
}

void SavedListingsDialog::UpdateButtons() {
    const bool searching = Searching();
    m_search->setEnabled(!searching && !m_pattern->text().isEmpty() &&
                         !m_folder->text().trimmed().isEmpty());
    m_stopButton->setEnabled(searching);
    m_open->setEnabled(m_results->currentIndex().isValid());
}

} // namespace dirscribe
