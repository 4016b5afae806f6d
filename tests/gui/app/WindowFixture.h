// SPDX-License-Identifier: MIT
// A main window over a session read from a profile in a temporary folder.
#pragma once

#include "core/ops/ListingSession.h"
#include "core/options/Profile.h"
#include "gui/app/Commands.h"
#include "gui/app/ListingView.h"
#include "gui/app/MainWindow.h"
#include "support/RecordingNotice.h"
#include "support/TempTree.h"

#include <QAction>
#include <QLineEdit>
#include <QSignalSpy>
#include <gtest/gtest.h>
#include <memory>

namespace dirscribe::test {

class WindowFixture : public testing::Test {
protected:
    WindowFixture() : profile(folder.Path("Dirscribe.ini")) {}

    // A window over a session read from the test's profile, shown.
    std::unique_ptr<MainWindow> Open() {
        session = std::make_unique<ListingSession>(LoadOptions(IniFile::Load(profile)));
        auto window = std::make_unique<MainWindow>(*session, notice, profile);
        window->show();
        return window;
    }

    // Runs a command and, when it starts a read, waits for its end; whether it read.
    static bool Run(MainWindow& window, int command) {
        QSignalSpy finished(&window.View(), &ListingView::ReadFinished);
        window.Action(command)->trigger();
        if (!window.View().Reading())
            return false;
        EXPECT_TRUE(finished.wait(10000));
        return !finished.isEmpty() && finished.first().first().toBool();
    }

    // Lists `path` as Folder's Listing does; whether it read.
    static bool List(MainWindow& window, const std::string& path) {
        window.View().PathBox().setText(QString::fromStdString(path));
        return Run(window, command::kFoldersListing);
    }

    TempTree folder;
    std::string profile;
    RecordingNotice notice;
    std::unique_ptr<ListingSession> session;
};

} // namespace dirscribe::test
