// SPDX-License-Identifier: MIT
#include "gui/app/GuiMain.h"

#include "console/StderrNotice.h"
#include "core/ops/ListingSession.h"
#include "core/options/Profile.h"
#include "core/platform/OpenFileLimit.h"
#include "gui/app/MainWindow.h"
#include "gui/app/MessageBoxNotice.h"
#include "gui/app/OneWindow.h"
#include "gui/print/ListingPrinter.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <memory>

namespace dirscribe {

namespace {

// "--print FILE" and "--print-to PRINTER FILE": print the document and end.
int PrintAndEnd(const QStringList& arguments, Notice& notice) {
    const bool named = arguments.first() == QStringLiteral("--print-to");
    if (arguments.size() != (named ? 3 : 2)) {
        notice.Show(kCaption, "usage: dirscribe --print FILE.dsc | --print-to PRINTER FILE.dsc");
        return 2;
    }
    ListingSession session(LoadProfile({}, notice).options);
    NullProgress progress;
    if (!session.OpenDocument(arguments.last().toStdString(), notice, progress))
        return 1;
    QWidget owner;
    ListingPrinter printer(session, notice, owner);
    return printer.PrintDirect(named ? arguments[1] : QString()) ? 0 : 1;
}

} // namespace

LoadedProfile LoadWindowProfile(Notice& notice) {
    LoadedProfile profile = LoadProfile({}, notice);
    if (!profile.path.empty() && !QFileInfo::exists(QString::fromStdString(profile.path))) {
        profile.options.printAs = PageLayout::Standard;
        ApplyPageLayout(profile.options);
    }
    return profile;
}

int RunGui(int argc, char** argv) {
    RaiseOpenFileLimit();
    QApplication app(argc, argv);
    // No display name: Qt would add it to every window title, which names the folder.
    QApplication::setApplicationName(QStringLiteral("Dirscribe"));
    // Lets the desktop match the window to its launcher and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.dirscribe.Dirscribe"));
    MessageBoxNotice notice;
    const QStringList arguments = QApplication::arguments().mid(1);
    if (!arguments.isEmpty() && arguments.first().startsWith(QStringLiteral("--print"))) {
        // Without a screen nobody could close a message box; say it on standard error.
        StderrNotice stderrNotice;
        const bool headless = QGuiApplication::platformName() == QStringLiteral("offscreen");
        return PrintAndEnd(arguments, headless ? static_cast<Notice&>(stderrNotice) : notice);
    }

    // A document named on the command line is read against the folder we started in;
    // paths typed into the window are read against the home folder.
    const QString document =
        arguments.isEmpty() ? QString() : QFileInfo(arguments.first()).absoluteFilePath();
    QDir::setCurrent(QDir::homePath());

    // One window: a window already open takes the document, and this start ends.
    const std::unique_ptr<OneWindow> one = OneWindow::ForThisSession();
    if (!one->Claim() && one->HandOver(document))
        return 0;

    LoadedProfile profile = LoadWindowProfile(notice);
    ListingSession session(std::move(profile.options));
    MainWindow window(session, notice, std::move(profile.path));
    QObject::connect(one.get(), &OneWindow::OpenRequested, &window, &MainWindow::OpenHandedOver);
    window.show();
    if (!document.isEmpty() && !window.OpenDocument(document))
        return 1;
    return QApplication::exec();
}

} // namespace dirscribe
