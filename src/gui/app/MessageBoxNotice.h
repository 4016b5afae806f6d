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

// Lines gathered from any thread to be named together in one message: all are counted,
// the first kNamed kept.
class GatheredLines {
public:
    static constexpr std::size_t kNamed = 20;

    void Add(std::string line);
    void Clear();
    // "1 ONE" or "N MANY", then TAIL, then each kept line on a line of its own and
    // "... and N more" for the others; empty when nothing was gathered. Starts afresh.
    std::string TakeMessage(std::string_view one, std::string_view many, std::string_view tail);

private:
    std::mutex m_lock;
    std::vector<std::string> m_named;
    std::size_t m_count = 0;
};

// Keeps every message, from any thread, for a long task that names them all at its end.
class GatheringNotice final : public Notice {
public:
    void Show(std::string_view caption, std::string_view text, NoticeIcon icon) override;
    void SubfolderUnreadable(std::string_view path, std::string_view reason) override;
    [[nodiscard]] GatheredLines& Lines() { return m_lines; }

private:
    GatheredLines m_lines;
};

// Passes messages to another Notice on the interface thread: a reader thread waits
// until the user has seen its message, as the reading would on the interface thread.
// Subfolders a read cannot open are gathered instead (a Linux disk holds many a user may
// not read), to be shown together in one message when the read ends.
class InterfaceThreadNotice final : public QObject, public Notice {
    Q_OBJECT

public:
    explicit InterfaceThreadNotice(Notice& target) : m_target(target) {}
    void Show(std::string_view caption, std::string_view text, NoticeIcon icon) override;
    // Gathers; any thread may call it.
    void SubfolderUnreadable(std::string_view path, std::string_view reason) override;
    // Shows the subfolders gathered since the last call, if any, in one message: their
    // count and the first GatheredLines::kNamed, each with its reason. Interface thread only.
    void ShowGathered();
    // Forgets the gathered subfolders.
    void DropGathered() { m_gathered.Clear(); }
    // From now on messages from other threads are dropped: the window is closing and
    // waits for its reader, which must not wait for the window in turn.
    void Silence() { m_silenced = true; }

private:
    Notice& m_target;
    std::atomic<bool> m_silenced{false};
    GatheredLines m_gathered; // "path: reason"
};

} // namespace dirscribe
