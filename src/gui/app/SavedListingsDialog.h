// SPDX-License-Identifier: MIT
// Which saved listing holds a file: the documents of a folder searched from the window.
#pragma once

#include "core/platform/StopFlag.h"
#include "core/search/SearchQuery.h"
#include "gui/app/GatheringNotice.h"
#include "gui/app/RemarkNotice.h"
#include "gui/app/SearchResultsModel.h"

#include <QDialog>
#include <QTimer>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class QLineEdit;
class QPushButton;
class QStatusBar;
class QTableView;
class QThread;

namespace dirscribe {

class WorkingProgress;

// Asks for a pattern (or a text) and a folder, searches every document in the folder and
// the folders below it through the catalogue's index (SearchCatalogue) on a thread of its
// own, so the window stays responsive and Stop ends it, and lists the matches as they come.
// A search starts as the pattern is typed, once typing pauses; typing on stops the one that
// runs and starts another. Open, a double click or Enter asks to open a match's document at
// its row. Documents and folders that cannot be read are named below the matches when the
// search ends, a line each. Its parts are named "pattern", "folder", "results" and "status".
class SavedListingsDialog final : public QDialog {
    Q_OBJECT

public:
    // The most matches the list holds; the others are only counted.
    static constexpr std::size_t kMostListed = 100000;

    explicit SavedListingsDialog(const QString& folder, QWidget* parent = nullptr);
    ~SavedListingsDialog() override;

    [[nodiscard]] bool Searching() const { return m_searcher != nullptr; }

    // Starts a search of the folder for the pattern; nothing while one runs or while either
    // is empty.
    void Search();
    // How long typing must pause before a search starts by itself.
    static constexpr int kTypingPauseMilliseconds = 300;
    void Stop() { m_stop.Request(); }
    // Asks to open the match of the current row.
    void OpenCurrent();

signals:
    // A search of this folder has begun.
    void Searched(const QString& folder);
    // The search has ended; the status bar says what it found.
    void SearchEnded();
    // Asks for `document` to be opened at `row` (from 0).
    void OpenRequested(const QString& document, int row);

private:
    // The search itself, on the searching thread.
    void Run(const SearchQuery& query, const std::string& folder);
    // Moves the matches found so far into the list.
    void TakeMatches();
    void FinishSearch();
    void ListProblems();
    [[nodiscard]] QString Summary() const;
    void ChooseFolder();
    void UpdateButtons();
    // The pattern changed: a search once typing pauses, the one running stopped first.
    void Typed();
    void SearchAsTyped();

    QLineEdit* m_pattern;
    QLineEdit* m_folder;
    QTableView* m_results;
    QPushButton* m_search;
    QPushButton* m_stopButton;
    QPushButton* m_open;
    QStatusBar* m_status;
    std::unique_ptr<WorkingProgress> m_progress;
    SearchResultsModel m_model;
    GatheringNotice m_problems;
    RemarkNotice m_remarks;
    StopFlag m_stop;
    QTimer m_drain;
    QTimer m_typing;
    bool m_typedAgain = false; // typing went on while it ran: another is due
    std::unique_ptr<QThread> m_searcher;
    std::mutex m_pendingLock;
    std::vector<SavedMatch> m_pending;
    QString m_searched; // the folder of the last search
    // Written by the searching thread, read once it has ended.
    std::size_t m_listed = 0;
    std::size_t m_matches = 0;
    std::size_t m_documents = 0;
    std::size_t m_matchedDocuments = 0; // documents with a match
    std::size_t m_unsearched = 0;       // documents and folders that could not be searched
};

} // namespace dirscribe
