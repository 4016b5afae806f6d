// SPDX-License-Identifier: MIT
#include "gui/app/MessageBoxNotice.h"

#include "render/QtText.h"

#include <QMessageBox>
#include <QThread>
#include <string>

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

} // namespace dirscribe
