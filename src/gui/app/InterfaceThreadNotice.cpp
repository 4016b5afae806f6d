// SPDX-License-Identifier: MIT
#include "gui/app/InterfaceThreadNotice.h"

#include <QThread>
#include <string>

namespace dirscribe {

void InterfaceThreadNotice::Show(std::string_view caption, std::string_view text, NoticeIcon icon) {
    if (QThread::currentThread() == thread()) {
        m_target.Show(caption, text, icon);
        return;
    }
    if (m_silenced)
        return;
    // The views stay valid: this thread waits until the message has been shown.
    QMetaObject::invokeMethod(
        this, [this, caption, text, icon] { m_target.Show(caption, text, icon); },
        Qt::BlockingQueuedConnection);
}

void InterfaceThreadNotice::ShowGathered() {
    const std::string text =
        m_gathered.TakeMessage("subfolder", "subfolders",
                               " could not be read; the listing does not count what they hold:");
    if (!text.empty())
        m_target.Show(kCaption, text, NoticeIcon::Warning);
}

} // namespace dirscribe
