// SPDX-License-Identifier: MIT
// The system's messages from a reader thread, shown on the interface thread.
#pragma once

#include "core/platform/Notice.h"
#include "gui/app/GatheredLines.h"

#include <QObject>
#include <atomic>

namespace dirscribe {

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
    void SubfolderUnreadable(std::string_view path, std::string_view reason) override {
        m_gathered.AddSubfolder(path, reason);
    }
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
