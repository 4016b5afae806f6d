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

std::string WithReason(std::string_view path, std::string_view reason) {
    return reason.empty() ? std::string(path) : std::string(path).append(": ").append(reason);
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
    m_gathered.Add(WithReason(path, reason));
}

void InterfaceThreadNotice::ShowGathered() {
    const std::string text =
        m_gathered.TakeMessage("subfolder", "subfolders",
                               " could not be read; the listing does not count what they hold:");
    if (!text.empty())
        m_target.Show(kCaption, text, NoticeIcon::Warning);
}

void GatheredLines::Add(std::string line) {
    const std::lock_guard lock(m_lock);
    if (++m_count <= kNamed)
        m_named.push_back(std::move(line));
}

void GatheredLines::Clear() {
    const std::lock_guard lock(m_lock);
    m_named.clear();
    m_count = 0;
}

std::string GatheredLines::TakeMessage(std::string_view one, std::string_view many,
                                       std::string_view tail) {
    std::vector<std::string> named;
    std::size_t count = 0;
    {
        const std::lock_guard lock(m_lock);
        named.swap(m_named);
        count = std::exchange(m_count, 0);
    }
    if (count == 0)
        return {};
    std::string text =
        count == 1 ? std::string("1 ").append(one) : std::to_string(count).append(" ").append(many);
    text.append(tail).append("\n");
    for (const std::string& line : named)
        text.append("\n").append(line);
    if (count > named.size())
        text.append("\n... and ").append(std::to_string(count - named.size())).append(" more");
    return text;
}

void GatheringNotice::Show(std::string_view /*caption*/, std::string_view text,
                           NoticeIcon /*icon*/) {
    m_lines.Add(std::string(text));
}

void GatheringNotice::SubfolderUnreadable(std::string_view path, std::string_view reason) {
    m_lines.Add(WithReason(path, reason));
}

} // namespace dirscribe
