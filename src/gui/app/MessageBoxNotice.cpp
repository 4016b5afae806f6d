// SPDX-License-Identifier: MIT
#include "gui/app/MessageBoxNotice.h"

#include "render/QtText.h"

#include <QMessageBox>
#include <QThread>
#include <string>
#include <utility>

namespace dirscribe {

namespace {

QMessageBox::Icon ToQtIcon(NoticeIcon icon) {
    switch (icon) {
    case NoticeIcon::Warning:
        return QMessageBox::Warning;
    case NoticeIcon::Information:
        return QMessageBox::Information;
    case NoticeIcon::Stop:
        break;
    }
    return QMessageBox::Critical;
}

} // namespace

void MessageBoxNotice::Show(std::string_view caption, std::string_view text, NoticeIcon icon) {
    // The messages carry Windows line ends; a box wants plain ones.
    QString body = ToQString(text);
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(ToQtIcon(icon), ToQString(caption), body, QMessageBox::Ok, m_parent);
    box.exec();
}

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

void InterfaceThreadNotice::SubfolderUnreadable(std::string_view path, std::string_view reason) {
    const std::lock_guard lock(m_gatheredLock);
    if (++m_gathered <= kNamedSubfolders)
        m_named.push_back(reason.empty() ? std::string(path)
                                         : std::string(path).append(": ").append(reason));
}

void InterfaceThreadNotice::ShowGathered() {
    std::vector<std::string> named;
    std::size_t count = 0;
    {
        const std::lock_guard lock(m_gatheredLock);
        named.swap(m_named);
        count = std::exchange(m_gathered, 0);
    }
    if (count == 0)
        return;
    std::string text =
        count == 1 ? std::string("1 subfolder") : std::to_string(count).append(" subfolders");
    text += " could not be read; the listing does not count what they hold:\n";
    for (const std::string& line : named)
        text.append("\n").append(line);
    if (count > named.size())
        text.append("\n... and ").append(std::to_string(count - named.size())).append(" more");
    m_target.Show(kCaption, text, NoticeIcon::Warning);
}

void InterfaceThreadNotice::DropGathered() {
    const std::lock_guard lock(m_gatheredLock);
    m_named.clear();
    m_gathered = 0;
}

} // namespace dirscribe
