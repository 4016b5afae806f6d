// SPDX-License-Identifier: MIT
// The system's messages as message boxes.
#pragma once

#include "core/platform/Notice.h"

#include <QPointer>
#include <QWidget>

namespace dirscribe {

// A modal message box with an OK button over the given window.
class MessageBoxNotice final : public Notice {
public:
    explicit MessageBoxNotice(QWidget* parent = nullptr) : m_parent(parent) {}
    void Show(std::string_view caption, std::string_view text, NoticeIcon icon) override;

private:
    QPointer<QWidget> m_parent;
};

} // namespace dirscribe
