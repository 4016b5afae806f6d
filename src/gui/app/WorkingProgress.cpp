// SPDX-License-Identifier: MIT
#include "gui/app/WorkingProgress.h"

#include <QApplication>
#include <QFontMetrics>
#include <QStatusBar>
#include <QThread>
#include <algorithm>
#include <limits>

namespace dirscribe {

namespace {

const QString kWorking = QStringLiteral("Working...");
const QString kReady = QStringLiteral("Ready");
constexpr int kBarMargin = 200;
constexpr int kRefreshMilliseconds = 100;

// A progress bar counts in int; larger counts are scaled down to fit.
int ScaledToInt(std::int64_t value, std::int64_t maximum) {
    constexpr std::int64_t kLimit = std::numeric_limits<int>::max();
    if (maximum <= kLimit)
        return static_cast<int>(std::clamp<std::int64_t>(value, 0, kLimit));
    return static_cast<int>(value / (maximum / kLimit + 1));
}

} // namespace

WorkingProgress::WorkingProgress(QStatusBar& statusBar) : m_statusBar(statusBar) {
    m_timer.setInterval(kRefreshMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, &WorkingProgress::Refresh);
}

bool WorkingProgress::OnInterfaceThread() const {
    return QThread::currentThread() == thread();
}

void WorkingProgress::Begin() {
    m_maximum = 0; // how much there is to do is not known until a range is set
    m_value = 0;
    m_active = true;
    if (OnInterfaceThread())
        Refresh();
    else
        QMetaObject::invokeMethod(
            this, [this] { Refresh(); }, Qt::QueuedConnection);
}

void WorkingProgress::SetRange(std::int64_t maximum) {
    m_maximum = std::max<std::int64_t>(maximum, 0);
    if (OnInterfaceThread())
        Refresh();
}

void WorkingProgress::Step() {
    m_value.fetch_add(1, std::memory_order_relaxed);
}

void WorkingProgress::Advance(std::int64_t steps) {
    m_value.fetch_add(steps, std::memory_order_relaxed);
}

void WorkingProgress::End() {
    m_active = false;
    if (OnInterfaceThread())
        Refresh();
}

void WorkingProgress::ShowBar() {
    if (m_bar)
        return;
    m_statusBar.showMessage(kWorking);
    m_statusBar.repaint();
    m_bar = new QProgressBar(&m_statusBar); // owned by the status bar, deleted in Refresh
    m_bar->setObjectName(QStringLiteral("progressBar"));
    m_bar->setTextVisible(false);
    m_bar->show();
    m_timer.start();
}

void WorkingProgress::Refresh() {
    if (!m_active) {
        m_timer.stop();
        if (m_bar) {
            delete m_bar;
            m_statusBar.showMessage(kReady);
        }
        return;
    }
    ShowBar();
    // Right of "Working...", to the end of the pane, however the window was resized.
    QRect pane = m_statusBar.contentsRect();
    pane.setLeft(pane.left() + QFontMetrics(m_statusBar.font()).horizontalAdvance(kWorking) +
                 kBarMargin);
    m_bar->setGeometry(pane);
    // Without a range the bar is Qt's busy indicator, which moves by itself.
    const std::int64_t maximum = m_maximum;
    m_bar->setRange(0, ScaledToInt(maximum, maximum));
    if (maximum > 0)
        m_bar->setValue(ScaledToInt(std::min(m_value.load(), maximum), maximum));
}

} // namespace dirscribe
