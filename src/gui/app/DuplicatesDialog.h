// SPDX-License-Identifier: MIT
// Files stored more than once across the saved listings of a folder, found from the window.
#pragma once

#include "core/catalogue/Duplicates.h"
#include "core/platform/StopFlag.h"
#include "gui/app/GatheringNotice.h"
#include "gui/app/RemarkNotice.h"

#include <QDialog>
#include <memory>
#include <mutex>
#include <vector>

class QComboBox;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QThread;
class QTreeWidget;

namespace dirscribe {

class WorkingProgress;

// Asks for a folder and what copies share (name and size, also the date, or the size
// alone), finds the copies in the listings saved in it and below it (FindDuplicates,
// through the catalogue's index) on a thread of its own, Stop ending it, and shows each
// group with its copies, the most bytes stored again first. Open, a double click or Enter
// on a copy asks to open its document at its row. Its parts are named "folder", "key",
// "groups" and "status".
class DuplicatesDialog final : public QDialog {
    Q_OBJECT

public:
    // The most groups the list shows; the others are only counted.
    static constexpr std::size_t kMostShown = 5000;

    DuplicatesDialog(Notice& notice, const QString& folder, QWidget* parent = nullptr);
    ~DuplicatesDialog() override;

    [[nodiscard]] bool Searching() const { return m_searcher != nullptr; }

    // Starts looking for copies in the folder; nothing while a look runs.
    void Find();
    void Stop() { m_stop.Request(); }
    void OpenCurrent();

signals:
    void Searched(const QString& folder);
    void SearchEnded();
    void OpenRequested(const QString& document, int row);

private:
    void FinishSearch();
    void ShowGroups();
    [[nodiscard]] QString Summary() const;
    void ChooseFolder();
    void UpdateButtons();

    Notice& m_notice;
    QLineEdit* m_folder;
    QComboBox* m_key;
    QTreeWidget* m_groups;
    QPushButton* m_find;
    QPushButton* m_stopButton;
    QPushButton* m_open;
    QStatusBar* m_status;
    std::unique_ptr<WorkingProgress> m_progress;
    GatheringNotice m_problems;
    RemarkNotice m_remarks;
    StopFlag m_stop;
    std::unique_ptr<QThread> m_searcher;
    // Written by the searching thread, read once it has ended.
    std::vector<CopyGroup> m_found;
    std::size_t m_groupCount = 0;
};

} // namespace dirscribe
