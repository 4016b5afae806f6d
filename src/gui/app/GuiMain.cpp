// SPDX-License-Identifier: MIT
#include "gui/app/GuiMain.h"

#include "core/Error.h"
#include "core/ops/ListingSession.h"
#include "core/options/Profile.h"
#include "gui/app/MainWindow.h"
#include "gui/app/MessageBoxNotice.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QScreen>
#include <cmath>

namespace dirscribe {

namespace {

// The profile path as the command line gives it, else the usual place.
std::string ProfilePath(Notice& notice) {
    try {
        return DefaultProfilePath();
    } catch (const Error& error) {
        notice.Show(kCaption, error.what(), NoticeIcon::Warning);
        return {};
    }
}

ListingOptions LoadProfile(const std::string& path, Notice& notice) {
    try {
        return LoadOptions(path.empty() ? IniFile() : IniFile::Load(path));
    } catch (const Error& error) {
        notice.Show(kCaption, error.what(), NoticeIcon::Warning);
        return LoadOptions(IniFile());
    }
}

// Icons are spaced 75 pixels apart at 96 dots per inch and proportionally wider above.
int IconSpacing(const QScreen& screen) {
    return static_cast<int>(std::lround(75.0 * screen.logicalDotsPerInchX() / 96.0));
}

} // namespace

int RunGui(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Dirscribe"));
    QApplication::setApplicationDisplayName(QStringLiteral("Dirscribe"));
    MessageBoxNotice notice;

    // A document named on the command line is read against the folder we started in;
    // paths typed into the window are read against the home folder.
    const QStringList arguments = QApplication::arguments().mid(1);
    const QString document =
        arguments.isEmpty() ? QString() : QFileInfo(arguments.first()).absoluteFilePath();
    QDir::setCurrent(QDir::homePath());

    const std::string profilePath = ProfilePath(notice);
    ListingSession session(LoadProfile(profilePath, notice));
    MainWindow window(session, notice, profilePath);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window.setGeometry(MainWindow::InitialGeometry(screen->geometry(), IconSpacing(*screen)));
    window.show();
    if (!document.isEmpty() && !window.OpenDocument(document))
        return 1;
    return QApplication::exec();
}

} // namespace dirscribe
