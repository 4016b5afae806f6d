// SPDX-License-Identifier: MIT
// The system's messages as message boxes, from whichever thread raises them.
#pragma once

#include "core/platform/Notice.h"

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <atomic>
#include <mutex>
#include <string>
#include <vector>

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
// Subfolders a read cannot open are gathered instead (a Linux disk holds many a user may
// not read), to be shown together in one message when the read ends.
class InterfaceThreadNotice final : public QObject, public Notice {
    Q_OBJECT

public:
    // The most subfolders one message names; it counts them all.
    static constexpr std::size_t kNamedSubfolders = 20;

    explicit InterfaceThreadNotice(Notice& target) : m_target(target) {}
    void Show(std::string_view caption, std::string_view text, NoticeIcon icon) override;
    // Gathers; any thread may call it.
    void SubfolderUnreadable(std::string_view path, std::string_view reason) override;
    // Shows the subfolders gathered since the last call, if any, in one message: their
    // count and the first kNamedSubfolders, each with its reason. Interface thread only.
    void ShowGathered();
    // Forgets the gathered subfolders.
    void DropGathered();
    // From now on messages from other threads are dropped: the window is closing and
    // waits for its reader, which must not wait for the window in turn.
    void Silence() { m_silenced = true; }

private:
    Notice& m_target;
    std::atomic<bool> m_silenced{false};
    std::mutex m_gatheredLock;
    std::vector<std::string> m_named; // "path: reason", the first kNamedSubfolders
    std::size_t m_gathered = 0;
};

} // namespace dirscribe
