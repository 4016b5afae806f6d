// SPDX-License-Identifier: MIT
// Runs a window command that may start a read, and waits for the read to end.
#pragma once

#include "gui/app/Commands.h"
#include "gui/app/ListingView.h"
#include "gui/app/MainWindow.h"

#include <QAction>
#include <QLineEdit>
#include <QSignalSpy>
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

} // namespace dirscribe::test
