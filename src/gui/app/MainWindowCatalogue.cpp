// SPDX-License-Identifier: MIT
// The window's catalogue commands: export, find in the listing and in saved listings, update.
#include "core/ops/ListingSession.h"
#include "core/ops/ListingUpdate.h"
#include "core/platform/Clock.h"
#include "gui/app/Commands.h"
#include "gui/app/DuplicatesDialog.h"
#include "gui/app/ListingFind.h"
#include "gui/app/ListingView.h"
#include "gui/app/MainWindow.h"
#include "gui/app/SavedListingsDialog.h"
#include "gui/dialogs/ListingPropertiesDialog.h"
#include "gui/table/CellListView.h"
#include "gui/table/ListingHistory.h"

#include <QDir>
#include <QFileInfo>
#include <QInputDialog>
#include <QStatusBar>
#include <algorithm>
#include <array>
#include <initializer_list>

namespace dirscribe {

namespace {

struct ExportType {
    const char* filter;
    const char* suffix;
    ExportFormat format;
};
constexpr std::array kExportTypes{
    ExportType{"CSV for a spreadsheet (*.csv)", "csv", ExportFormat::Csv},
    ExportType{"JSON for scripts (*.json)", "json", ExportFormat::Json},
    ExportType{"HTML web page (*.html *.htm)", "html", ExportFormat::Html},
};

const ExportType& ExportTypeOf(const QString& filter) {
    const auto* found = std::find_if(kExportTypes.begin(), kExportTypes.end(),
                                     [&](const ExportType& type) { return filter == type.filter; });
    return found == kExportTypes.end() ? kExportTypes.front() : *found;
}

// The first folder a dialog has used, or nothing.
std::string FirstFolder(std::initializer_list<const std::string*> folders) {
    for (const std::string* folder : folders)
        if (!folder->empty())
            return *folder;
    return {};
}

} // namespace

void MainWindow::ExportWithDialog() {
    QStringList filters;
    for (const ExportType& type : kExportTypes)
        filters << QLatin1String(type.filter);
    QFileDialog* dialog = NewFileDialog(
        QStringLiteral("exportDialog"), QFileDialog::AcceptSave, filters,
        FirstFolder({&m_state.exportFolder, &m_state.saveFolder, &m_state.openFolder}));
    dialog->setWindowTitle(QStringLiteral("Export"));
    // A name without an extension gets the one of the type chosen.
    dialog->setDefaultSuffix(QLatin1String(kExportTypes.front().suffix));
    connect(dialog, &QFileDialog::filterSelected, dialog, [dialog](const QString& filter) {
        dialog->setDefaultSuffix(QLatin1String(ExportTypeOf(filter).suffix));
    });
    // Named after the document, or else after the folder listed.
    const QString name =
        QFileInfo(windowFilePath().isEmpty() ? QString::fromStdString(m_session.Listing().path)
                                             : windowFilePath())
            .completeBaseName();
    dialog->selectFile(name.isEmpty() ? QStringLiteral("Dscrb") : name);
    connect(dialog, &QFileDialog::fileSelected, this, [this, dialog](const QString& fileName) {
        ExportTo(fileName, ExportTypeOf(dialog->selectedNameFilter()).format);
    });
    dialog->open();
}

void MainWindow::ExportTo(const QString& fileName, ExportFormat chosen) {
    const std::string name = fileName.toStdString();
    if (!ExportListing(m_session, ExportFormatFor(name).value_or(chosen), name, m_notice, Now()))
        return;
    m_state.exportFolder = FolderOf(fileName).toStdString();
    statusBar()->showMessage(QStringLiteral("Exported to ") + fileName);
}

void MainWindow::AskFindText() {
    auto* dialog = new QInputDialog(this);
    dialog->setObjectName(QStringLiteral("findDialog"));
    dialog->setWindowTitle(QStringLiteral("Find"));
    dialog->setLabelText(QStringLiteral("A name pattern such as *.mp3, or a text to find in "
                                        "names and comments:"));
    dialog->setTextValue(m_find->Text());
    connect(dialog, &QInputDialog::textValueSelected, this, [this](const QString& text) {
        if (text.isEmpty())
            return;
        m_find->SetText(text);
        // The whole listing, from the focused row (which may match itself) round to it.
        ShowFound(m_find->From(std::max(m_view->Table().FocusedRow(), 0)));
    });
    OpenDialog(dialog);
}

void MainWindow::FindNext() {
    if (m_find->Text().isEmpty())
        AskFindText();
    else
        FindFrom(m_view->Table().FocusedRow());
}

void MainWindow::FindFrom(int row) {
    ShowFound(m_find->Next(row));
}

void MainWindow::ShowFound(const ListingFind::Found& found) {
    if (found.row >= 0)
        m_view->ShowRow(found.row);
    statusBar()->showMessage(found.status);
}

void MainWindow::FindInSavedListings() {
    if (!m_searchDialog) {
        std::string folder =
            FirstFolder({&m_state.searchFolder, &m_state.saveFolder, &m_state.openFolder});
        m_searchDialog = new SavedListingsDialog(
            folder.empty() ? QDir::homePath() : QString::fromStdString(folder), this);
        m_searchDialog->setObjectName(QStringLiteral("savedListingsDialog"));
        connect(m_searchDialog, &SavedListingsDialog::Searched, this,
                [this](const QString& searched) { m_state.searchFolder = searched.toStdString(); });
        connect(m_searchDialog, &SavedListingsDialog::OpenRequested, this, &MainWindow::OpenAtRow);
    }
    m_searchDialog->show();
    m_searchDialog->raise();
    m_searchDialog->activateWindow();
}

void MainWindow::FindDuplicatesInSavedListings() {
    if (!m_duplicatesDialog) {
        std::string folder =
            FirstFolder({&m_state.searchFolder, &m_state.saveFolder, &m_state.openFolder});
        m_duplicatesDialog = new DuplicatesDialog(
            m_notice, folder.empty() ? QDir::homePath() : QString::fromStdString(folder), this);
        m_duplicatesDialog->setObjectName(QStringLiteral("duplicatesDialog"));
        connect(m_duplicatesDialog, &DuplicatesDialog::Searched, this,
                [this](const QString& searched) { m_state.searchFolder = searched.toStdString(); });
        connect(m_duplicatesDialog, &DuplicatesDialog::OpenRequested, this, &MainWindow::OpenAtRow);
    }
    m_duplicatesDialog->show();
    m_duplicatesDialog->raise();
    m_duplicatesDialog->activateWindow();
}

// A change of the label or the note is no change of rows, which the history undoes: the
// listing stays changed until it is saved.
void MainWindow::ShowListingProperties() {
    const ListingTable& table = m_session.Listing().table;
    int entries = 0;
    for (int row = 0; row < table.RowCount(); ++row)
        entries += table.Kind(row) == RowKind::Entry ? 1 : 0;
    auto* dialog = new ListingPropertiesDialog(m_session.Listing().folder, entries,
                                               m_session.Listing().doc.volume, this);
    dialog->setObjectName(QStringLiteral("listingPropertiesDialog"));
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        const ListingVolume before = m_session.Listing().doc.volume;
        m_session.SetVolume(dialog->Label(), dialog->Note());
        if (!(m_session.Listing().doc.volume == before))
            m_view->History().ChangedBeside();
        UpdateCommandStates();
    });
    OpenDialog(dialog);
}

// Opened afresh even when it is on show: the rows found are the file's, not those of a
// listing sorted or changed since.
void MainWindow::OpenAtRow(const QString& document, int row) {
    if (m_view->Reading()) {
        statusBar()->showMessage(kReadingNow);
        return;
    }
    if (!OpenDocument(document))
        return;
    m_view->ShowRow(row);
    raise();
    activateWindow();
}

// Nothing typed is lost, so nothing is asked: the updated listing is a changed one, which
// Save writes where the listing came from.
void MainWindow::UpdateListing() {
    m_view->UpdateShownListing([this](const UpdateCounts& counts) {
        statusBar()->showMessage(QStringLiteral("Listing updated: %1 kept, %2 new, %3 gone")
                                     .arg(counts.kept)
                                     .arg(counts.added)
                                     .arg(counts.gone));
    });
}

} // namespace dirscribe
