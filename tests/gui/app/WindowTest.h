// SPDX-License-Identifier: MIT
// The window tests' common ground: a window over the test's own folder and profile, and
// commands that read, run to their end.
#pragma once

#include "core/ops/ListingSession.h"
#include "core/options/Profile.h"
#include "gui/app/Commands.h"
#include "gui/app/ListingView.h"
#include "gui/app/MainWindow.h"
#include "support/RecordingNotice.h"
#include "support/ScopedEnvironment.h"
#include "support/TempTree.h"

#include <QAction>
#include <QLineEdit>
#include <QSignalSpy>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace dirscribe::test {

// Whether the command started a read that then succeeded.
inline bool RunReadingCommand(MainWindow& window, int command) {
    QSignalSpy finished(&window.View(), &ListingView::ReadFinished);
    window.Action(command)->trigger();
    return window.View().Reading() && finished.wait(10000) && finished.first()[0].toBool();
}

// Types path into the path box and lists it, as Folder's Listing does.
inline bool ListFolder(MainWindow& window, const std::string& path) {
    window.View().PathBox().setText(QString::fromStdString(path));
    return RunReadingCommand(window, command::kFoldersListing);
}

// The home folder and the profile are the test's own.
class WindowTest : public testing::Test {
protected:
    // A window over a session read from the profile, shown; File Data read by fileData, or
    // by the installed reader program.
    std::unique_ptr<MainWindow> Open(std::shared_ptr<const FileDataReader> fileData = nullptr) {
        session = std::make_unique<ListingSession>(LoadOptions(IniFile::Load(profile)),
                                                   std::move(fileData));
        auto window = std::make_unique<MainWindow>(*session, notice, profile);
        window->show();
        return window;
    }
    // Lists a folder below the test's folder.
    bool List(MainWindow& window, const char* path) const {
        return ListFolder(window, folder.Path(path));
    }
    std::string Box(const MainWindow& window) const {
        return window.View().PathBox().text().toStdString();
    }

    TempTree folder;
    ScopedEnvironment home{"HOME", folder.Path("home").c_str()};
    ScopedEnvironment cache{"XDG_CACHE_HOME", nullptr}; // the index goes below home
    std::string profile = folder.Path("Dirscribe.ini");
    RecordingNotice notice;
    std::unique_ptr<ListingSession> session;
};

} // namespace dirscribe::test
