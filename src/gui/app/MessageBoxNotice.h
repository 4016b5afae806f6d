// SPDX-License-Identifier: MIT
// The system's messages as message boxes, from whichever thread raises them.
#pragma once

#include "core/platform/Notice.h"

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <atomic>

namespace dirscribe {

// A modal message box with an OK button over the given window.
class MessageBoxNotice final : public Notice {
public:
    explicit MessageBoxNotice(QWidget* parent = nullptr) : m_parent(parent) {}
    void Show(std::string_view caption, std::string_view text, NoticeIcon icon) override;

private:
    QPointer<QWidget> m_parent;
};

// Passes messages to another Notice on the interface thread: a reader thread waits
// until the user has seen its message, as the reading would on the interface thread.
class InterfaceThreadNotice final : public QObject, public Notice {
    Q_OBJECT

public:
    explicit InterfaceThreadNotice(Notice& target) : m_target(target) {}
    void Show(std::string_view caption, std::string_view text, NoticeIcon icon) override;
    // From now on messages from other threads are dropped: the window is closing and
    // waits for its reader, which must not wait for the window in turn.
    void Silence() { m_silenced = true; }

private:
    Notice& m_target;
    std::atomic<bool> m_silenced{false};
};

} // namespace dirscribe
