// SPDX-License-Identifier: MIT
// The "About Dirscribe" box: program icon, version line, what the program is for.
#pragma once

#include <QDialog>

namespace dirscribe {

// Modal box with an OK button ("okButton", the default); OK and Escape close it. It holds
// no data. The icon is the application's window icon, or a folder picture when none is set.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent = nullptr);
};

} // namespace dirscribe
