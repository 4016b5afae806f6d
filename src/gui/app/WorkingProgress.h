// SPDX-License-Identifier: MIT
// "Working..." and the progress bar in the status bar, fed from any thread.
#pragma once

#include "core/platform/Progress.h"

#include <QObject>
#include <QPointer>
#include <QProgressBar>
#include <QTimer>
#include <atomic>

class QStatusBar;

namespace dirscribe {

// The status bar's indicator of long operations: "Working..." in the pane and a bar to its
// right while one runs, "Ready" once it has ended. A reader thread calls Begin, Step,
// Advance and End as often as it likes (each is a few atomic operations); the interface
// thread shows the latest state a few times a second. Called on the interface thread
// itself, the bar is updated at once. Until SetRange says how much there is to do, the bar
// is a busy indicator; after it, it shows the steps done of that amount. Names given with
// SetMessage are not shown: they would flicker under the bar. The bar, a child of the
// status bar named "progressBar", is there only while an operation runs.
class WorkingProgress final : public QObject, public Progress {
    Q_OBJECT

public:
    explicit WorkingProgress(QStatusBar& statusBar);

    void Begin() override;
    void SetRange(std::int64_t maximum) override;
    void Step() override;
    void Advance(std::int64_t steps) override;
    void SetMessage(std::string_view) override {}
    void End() override;

private:
    // ShowWorkingProgress: "Working..." in the pane, the bar to the right of that text.
    void ShowBar();
    void Refresh();
    [[nodiscard]] bool OnInterfaceThread() const;

    QStatusBar& m_statusBar;
    QPointer<QProgressBar> m_bar;
    QTimer m_timer;
    std::atomic<bool> m_active{false};
    std::atomic<bool> m_refreshPosted{false};
    std::atomic<std::int64_t> m_maximum{0};
    std::atomic<std::int64_t> m_value{0};
};

} // namespace dirscribe
