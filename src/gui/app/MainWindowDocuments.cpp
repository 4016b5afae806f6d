// SPDX-License-Identifier: MIT
// The window's documents: new, open, save, the question before a changed listing is
// replaced, and the recent documents.
#include "core/docfile/SaveFormat.h"
#include "core/ops/ListingSession.h"
#include "core/platform/Clock.h"
#include "gui/app/ListingView.h"
#include "gui/app/MainWindow.h"
#include "gui/table/ListingHistory.h"

#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QStatusBar>
#include <algorithm>

namespace dirscribe {

namespace {

const QString kFilter = QStringLiteral("Folder Files (*.dsc)");
const QString kReportFilter = QStringLiteral("Text report (*.txt)");
const QString kAllFiles = QStringLiteral("All Files (*)");

} // namespace

void MainWindow::NewDocument() {
    if (m_view->Reading() || !MayDiscardChanges())
        return;
    m_view->NewDocument();
    SetDocument({});
    UpdateCommandStates();
}

bool MainWindow::OpenDocument(const QString& fileName) {
    return MayDiscardChanges() && LoadDocument(fileName);
}

bool MainWindow::LoadDocument(const QString& fileName) {
    if (!m_view->OpenDocument(fileName))
        return false;
    const int depth = m_session.Options().lastDepth; // the document's depth
    SetDepthMenuTitle(depth == -1 ? QStringLiteral("All") : QString::number(depth));
    SetDocument(fileName);
    m_state.openFolder = FolderOf(fileName).toStdString();
    RememberRecent(fileName);
    UpdateCommandStates();
    return true;
}

bool MainWindow::SaveDocument(const QString& fileName) {
    const std::string name = fileName.toStdString();
    if (!m_session.Save(name, SaveFormatFor(name), m_notice, Now()))
        return false;
    m_session.SetModified(false);
    m_view->History().Saved();
    SetDocument(fileName);
    m_state.saveFolder = FolderOf(fileName).toStdString();
    if (SaveFormatFor(name) == SaveFormat::DocumentFile)
        RememberRecent(fileName);
    statusBar()->showMessage(QStringLiteral("Saved ") + QFileInfo(fileName).fileName());
    return true;
}

void MainWindow::SetDocument(const QString& fileName) {
    setWindowFilePath(fileName);
    m_documentFolder = m_session.Listing().path;
    UpdateTitle();
    UpdateSummary();
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

// The question comes first, not over the file dialog: once a file is picked, it opens.
void MainWindow::OpenWithDialog() {
    if (!MayDiscardChanges())
        return;
    QFileDialog* dialog = OpenFileDialog(QStringLiteral("openDialog"), QFileDialog::AcceptOpen,
                                         &MainWindow::LoadDocument);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->open();
}

void MainWindow::Save() {
    if (windowFilePath().isEmpty())
        SaveAsWithDialog();
    else
        SaveDocument(windowFilePath());
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
    if (windowFilePath().isEmpty())
        dialog->selectFile(QStringLiteral("Dscrb"));
    else
        dialog->selectFile(windowFilePath());
    dialog->open();
}

// Typed comments live only in the table: offer to save them before they are lost.
bool MainWindow::MayDiscardChanges() {
    if (!m_session.Listing().modified)
        return true;
    const QString name =
        windowFilePath().isEmpty() ? kUntitled : QFileInfo(windowFilePath()).fileName();
    switch (m_saveQuestion(QStringLiteral("Save changes to %1?").arg(name))) {
    case QMessageBox::Yes:
        if (windowFilePath().isEmpty()) {
            SaveAsWithDialog(); // the user goes on once the listing is saved
            return false;
        }
        return SaveDocument(windowFilePath());
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}

void MainWindow::RememberRecent(const QString& fileName) {
    const std::string path = QFileInfo(fileName).absoluteFilePath().toStdString();
    std::vector<std::string>& recent = m_state.recentDocuments;
    std::erase(recent, path);
    recent.insert(recent.begin(), path);
    if (recent.size() > kRecentDocuments)
        recent.resize(kRecentDocuments);
}

void MainWindow::FillRecentMenu() {
    m_recentMenu->clear();
    int number = 0;
    for (const std::string& path : m_state.recentDocuments) {
        const QString file = QString::fromStdString(path);
        QString name = QFileInfo(file).fileName();
        QAction* item = m_recentMenu->addAction(
            QStringLiteral("&%1 %2").arg(++number).arg(name.replace('&', QStringLiteral("&&"))));
        item->setStatusTip(file);
        connect(item, &QAction::triggered, this, [this, file] { OpenRecent(file); });
    }
    if (number == 0)
        m_recentMenu->addAction(QStringLiteral("No recent documents"))->setEnabled(false);
}

void MainWindow::OpenRecent(const QString& fileName) {
    if (QFileInfo::exists(fileName)) {
        OpenDocument(fileName);
        return;
    }
    std::erase(m_state.recentDocuments, fileName.toStdString());
    m_notice.Show(kCaption,
                  "Cannot open \"" + fileName.toStdString() +
                      "\": the file is no longer there. It is taken off the recent documents.",
                  NoticeIcon::Warning);
}

} // namespace dirscribe
