// SPDX-License-Identifier: MIT
// The window as a Linux desktop user meets it: the title, the status bar, the progress bar,
// what it remembers, the tree's first click, the menu keys, sorting, icons and dialogs.
#include "gui/app/ToolbarIcons.h"
#include "gui/app/WindowFixture.h"
#include "gui/app/WorkingProgress.h"
#include "gui/table/CellListView.h"
#include "gui/tree/FolderTree.h"
#include "gui/tree/FolderTreeModel.h"
#include "support/ChildProcess.h"
#include "support/ScopedEnvironment.h"

#include <QApplication>
#include <QClipboard>
#include <QEnterEvent>
#include <QFileDialog>
#include <QHeaderView>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QToolBar>

namespace dirscribe {
namespace {

using namespace command;

class WindowHomeTest : public test::WindowFixture {
protected:
    WindowHomeTest() {
        folder.File("home/Music/Albums/a.mp3", "1");
        folder.File("home/Music/b.mp3", "22");
        folder.File("home/Music/c.mp3", "333");
    }
    test::ScopedEnvironment home{"HOME", folder.Path("home").c_str()};
};

TEST_F(WindowHomeTest, TheTitleNamesTheFolderAndReadyComesBackAfterAHover) {
    const auto window = Open();
    const std::string path = folder.Path("home/Music/Albums");
    ASSERT_TRUE(List(*window, path));
    EXPECT_EQ(window->windowTitle(), "Dirscribe:   " + QString::fromStdString(path).left(25));

    QWidget* button = window->ToolBar().widgetForAction(window->Action(kRefresh));
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(button, &enter);
    EXPECT_EQ(window->statusBar()->currentMessage(), "Refresh Options");
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(button, &leave);
    EXPECT_EQ(window->statusBar()->currentMessage(), "Ready");
}

TEST_F(WindowHomeTest, RemembersItsPlaceTheLastFolderTheDialogsFoldersAndColumnWidths) {
    const QRect place(40, 50, 700, 500);
    {
        const auto window = Open();
        ASSERT_TRUE(List(*window, folder.Path("home/Music")));
        window->View().Table().horizontalHeader()->resizeSection(0, 301);
        folder.Folder("lists");
        ASSERT_TRUE(window->SaveDocument(QString::fromStdString(folder.Path("lists/m.dsc"))));
        window->setGeometry(place);
        window->close();
    }
    EXPECT_NE(test::ReadFile(profile).find("[Window]"), std::string::npos);
    {
        const auto window = Open();
        EXPECT_EQ(window->geometry(), place);
        EXPECT_EQ(window->View().PathBox().text().toStdString(), folder.Path("home/Music"));
        EXPECT_EQ(session->Table().RowCount(), 0) << "shown, not read";
        ASSERT_TRUE(Run(*window, kFoldersListing));
        EXPECT_EQ(window->View().Table().columnWidth(0), 301);
        window->Action(kSaveAs)->trigger();
        auto* dialog = window->findChild<QFileDialog*>(QStringLiteral("saveDialog"));
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->directory().path().toStdString(), folder.Path("lists"));
        EXPECT_TRUE(dialog->nameFilters().contains(QStringLiteral("Text report (*.txt)")));
        dialog->reject();
        window->showMaximized();
        window->close();
    }
    const auto window = Open();
    EXPECT_TRUE(window->isMaximized());
    EXPECT_EQ(window->normalGeometry(), place);
}

TEST_F(WindowHomeTest, TheFirstClickListsAndBrowseComesBackToTheFolderListed) {
    const auto window = Open();
    FolderTree& tree = window->View().Tree();
    const QModelIndex homeNode = tree.model()->index(0, 0);
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, tree.visualRect(homeNode).center());
    QSignalSpy finished(&window->View(), &ListingView::ReadFinished);
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(window->View().PathBox().text().toStdString(), folder.Path("home"));

    ASSERT_TRUE(List(*window, folder.Path("home/Music/Albums")));
    window->Action(kBrowse)->trigger();
    const QModelIndex shown = tree.HighlightedNode();
    EXPECT_EQ(shown.data(FolderTreeModel::kPathRole).toString().toStdString(),
              folder.Path("home/Music/Albums"));
    EXPECT_EQ(tree.currentIndex(), shown);
    EXPECT_TRUE(tree.isExpanded(shown.parent()));
    EXPECT_FALSE(window->View().PathBox().text().isEmpty()) << "opening it was no expansion";
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, tree.visualRect(shown).center());
    EXPECT_TRUE(finished.wait(10000)) << "clicking the folder shown lists it again";
}

TEST_F(WindowHomeTest, EveryKeyAMenuShowsWorksUnlessATextFieldNeedsIt) {
    const auto window = Open();
    for (const QAction* menu : window->menuBar()->actions())
        for (const QAction* item : menu->menu()->actions()) {
            const QString shown = item->text().section('\t', 1).replace("Cntl", "Ctrl");
            EXPECT_TRUE(shown.isEmpty() || item->shortcuts().contains(QKeySequence(shown)))
                << shown.toStdString();
        }
    ASSERT_TRUE(List(*window, folder.Path("home/Music")));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QSignalSpy previews(window->Action(kPreview), &QAction::triggered);
    QTimer::singleShot(0, [] { // the preview is modal; close it once it is up
        if (QWidget* preview = QApplication::activeModalWidget())
            preview->close();
    });
    QTest::keyClick(&window->View().Table(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(previews.size(), 1);

    QLineEdit& pathBox = window->View().PathBox();
    pathBox.setFocus();
    pathBox.clear();
    QApplication::clipboard()->setText(QStringLiteral("pasted"));
    QTest::keyClick(&pathBox, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(pathBox.text(), "pasted");
    EXPECT_EQ(previews.size(), 1);

    pathBox.setText(QString::fromStdString(folder.Path("home/Music/Albums")));
    window->activateWindow(); // back from the preview
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QSignalSpy finished(&window->View(), &ListingView::ReadFinished);
    QTest::keyClick(&window->View().Table(), Qt::Key_F5);
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(session->Table().RowCount(), 1);
}

TEST_F(WindowHomeTest, TheHeadShowsTheSortAndTheStatusBarSaysWhyAClickCannotSort) {
    const auto window = Open();
    ASSERT_TRUE(List(*window, folder.Path("home/Music")));
    QHeaderView& head = *window->View().Table().horizontalHeader();
    const auto click = [&](int column) {
        QTest::mouseClick(head.viewport(), Qt::LeftButton, {},
                          QPoint(head.sectionViewportPosition(column) + 5, 5));
    };
    click(1);
    EXPECT_EQ(head.sortIndicatorSection(), 1);
    const Qt::SortOrder first = head.sortIndicatorOrder();
    click(1);
    EXPECT_NE(head.sortIndicatorOrder(), first);
    EXPECT_EQ(session->Table().Cell(1, 0), "c.mp3") << "largest first";

    session->DisableSorting(); // as a typed comment does
    click(0);
    EXPECT_EQ(head.sortIndicatorSection(), 1) << "the rows are still in that order";
    EXPECT_TRUE(window->statusBar()->currentMessage().contains("edited"));
    window->Action(kDepth2)->trigger();
    click(0);
    EXPECT_TRUE(window->statusBar()->currentMessage().contains("tree"));
}

TEST_F(WindowHomeTest, IconsComeFromTheDesktopThemeOrAreOurOwnAndSharpAtTwiceTheSize) {
    folder.File("icons/probe/index.theme", "[Icon Theme]\nName=probe\nDirectories=16\n"
                                           "[16]\nSize=16\n");
    folder.File("icons/probe/16/document-open.svg",
                R"(<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16"/>)");
    const QStringList paths = QIcon::themeSearchPaths();
    const QString theme = QIcon::themeName();
    QIcon::setThemeSearchPaths({QString::fromStdString(folder.Path("icons"))});
    QIcon::setThemeName(QStringLiteral("probe"));
    EXPECT_EQ(ToolbarIcon(kOpen).name(), "document-open");
    EXPECT_EQ(ToolbarIcon(kZipFormat).name(), "") << "the layouts are always our own";
    EXPECT_EQ(ToolbarIcon(kPrint).name(), "") << "what the theme lacks, we bring";
    QIcon::setThemeName(theme);
    QIcon::setThemeSearchPaths(paths);

    const auto window = Open();
    const int size = window->style()->pixelMetric(QStyle::PM_ToolBarIconSize);
    EXPECT_EQ(window->ToolBar().iconSize(), QSize(size, size));
    for (const int id : {kPageFormat, kFileData, kCdFormat, kZipFormat, kAddSize, kAddDate,
                         kAddAttributes, kAddComments, kFontSize}) {
        const QIcon icon = window->Action(id)->icon();
        const QImage twice = icon.pixmap(QSize(size, size), 2.0).toImage();
        EXPECT_EQ(twice.size(), QSize(2 * size, 2 * size)) << id;
        EXPECT_EQ(twice, icon.pixmap(QSize(2 * size, 2 * size)).toImage())
            << id << ": drawn at the finer size, not enlarged";
    }
}

// Run as a user who may not read them, the subfolders a tree read cannot open are named in
// one message at the end: their count and the first 20, each with the system's reason.
TEST_F(WindowHomeTest, UnreadableSubfoldersAreGatheredIntoOneMessage) {
    for (int index = 10; index < 32; ++index)
        folder.Folder("home/disk/locked" + std::to_string(index) + "/inside");
    folder.Chmod("", 0755);
    folder.Chmod("home", 0755);
    folder.Chmod("home/disk", 0755);
    for (int index = 10; index < 32; ++index)
        folder.Chmod("home/disk/locked" + std::to_string(index), 0);
    // Nothing is painted in the child: Qt's painting threads do not survive a fork.
    const auto shown = test::RunUnprivileged([&] {
        ListingSession reader;
        reader.Options().printAs = static_cast<int>(PageLayout::Standard);
        reader.Options().lastDepth = 1;
        NullProgress progress;
        ListingView view(reader, notice, progress);
        view.PathBox().setText(QString::fromStdString(folder.Path("home/disk")));
        QSignalSpy finished(&view, &ListingView::ReadFinished);
        view.ReadSelectedFolder();
        std::string texts = finished.wait(10000) && finished.first().first().toBool() ? "" : "?";
        for (const auto& message : notice.shown)
            texts += message.text + "\n--\n";
        return texts;
    });
    ASSERT_TRUE(shown.has_value());
    EXPECT_EQ(shown->find("--"), shown->rfind("--")) << "one message: " << *shown;
    EXPECT_NE(shown->find("22 subfolders"), std::string::npos) << *shown;
    const auto count = [&](const std::string& text) {
        std::size_t found = 0;
        for (std::size_t at = shown->find(text); at != std::string::npos;
             at = shown->find(text, at + 1))
            ++found;
        return found;
    };
    EXPECT_EQ(count(folder.Path("home/disk/locked")), 20u) << *shown;
    EXPECT_EQ(count(": Permission denied\n"), 20u);
    EXPECT_NE(shown->find("and 2 more"), std::string::npos);
}

TEST(WorkingProgressBar, IsBusyUntilTheAmountIsKnownThenFollowsTheSteps) {
    QStatusBar statusBar;
    statusBar.show();
    WorkingProgress progress(statusBar);
    std::atomic<int> phase{0};
    std::unique_ptr<QThread> reader(QThread::create([&] {
        progress.Begin();
        phase = 1;
        while (phase == 1)
            QThread::yieldCurrentThread();
        progress.SetRange(10);
        for (int step = 0; step < 4; ++step)
            progress.Step();
        phase = 3;
    }));
    reader->start();
    QTRY_VERIFY(progress.Bar() != nullptr && phase == 1);
    EXPECT_EQ(progress.Bar()->maximum(), 0) << "Qt's busy indicator";
    phase = 2;
    QTRY_COMPARE(progress.Bar()->value(), 4);
    EXPECT_EQ(progress.Bar()->maximum(), 10);
    reader->wait();
    progress.End();
}

} // namespace
} // namespace dirscribe
