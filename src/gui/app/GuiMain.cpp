// SPDX-License-Identifier: MIT
#include "gui/app/GuiMain.h"

#include <QApplication>
#include <QMainWindow>

namespace dirscribe {

int RunGui(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Dirscribe"));
    window.show();
    return QApplication::exec();
}

} // namespace dirscribe
