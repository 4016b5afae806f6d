// SPDX-License-Identifier: MIT
// Lays out the About box.
#include "gui/dialogs/AboutBox.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace dirscribe {

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About Dirscribe"));
    setFixedSize(270, 167); // 180 by 103 dialog units at an 8-point font

    QIcon icon = QApplication::windowIcon();
    if (icon.isNull())
        icon = style()->standardIcon(QStyle::SP_DirIcon);
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("icon"));
    picture->setPixmap(icon.pixmap(32, 32));
    picture->setAlignment(Qt::AlignTop);

    auto* version = new QLabel(QStringLiteral("Dirscribe Version " DIRSCRIBE_VERSION), this);
    version->setObjectName(QStringLiteral("version"));
    auto* description =
        new QLabel(QStringLiteral("A utility to save and print folder listings"), this);
    description->setObjectName(QStringLiteral("description"));
    description->setWordWrap(true);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* texts = new QVBoxLayout;
    texts->addWidget(version);
    texts->addWidget(description);
    texts->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(picture);
    top->addSpacing(12);
    top->addLayout(texts, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
}

} // namespace dirscribe
