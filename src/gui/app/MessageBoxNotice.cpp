// SPDX-License-Identifier: MIT
#include "gui/app/MessageBoxNotice.h"

#include "render/QtText.h"

#include <QMessageBox>

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

} // namespace dirscribe
