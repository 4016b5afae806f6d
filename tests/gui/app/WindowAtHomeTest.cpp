// SPDX-License-Identifier: MIT
// The window as a Linux desktop user meets it: the listing on show is never lost or mixed,
// and the title, status bar, progress bar, memory, tree, keys, sorting and icons behave.
#include "WindowTest.h"
#include "gui/app/ToolbarIcons.h"
#include "gui/app/WorkingProgress.h"
#include "gui/table/CellListView.h"
#include "gui/tree/FolderTree.h"
#include "gui/tree/FolderTreeModel.h"
#include "support/ChildProcess.h"
#include "support/WindowParts.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QSignalSpy>
#include <QStatusBar>
#include <QStyle>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <atomic>
#include <gtest/gtest.h>

namespace dirscribe {
namespace {

using namespace command;

class WindowAtHomeTest : public test::WindowTest {
protected:
    WindowAtHomeTest() {
        folder.File("home/Music/Albums/a.mp3", "1");
        folder.File("home/Music/b.mp3", "22");
        folder.File("home/Music/c.mp3", "333");
        folder.File("home/Docs/d.txt", "4");
    }
};

TEST_F(WindowAtHomeTest, EveryWayOfReplacingAChangedListingAsksFirst) {
    const auto window = Open();
    ASSERT_TRUE(List(*window, "home/Music"));
    const QString document = QString::fromStdString(folder.Path("kept.dsc"));
    ASSERT_TRUE(window->SaveDocument(document));
    QStringList asked;
    window->SetSaveQuestion(
        [&](const QString& text) { return asked << text, QMessageBox::Cancel; });
    ASSERT_TRUE(session->SetCellText(0, 0, "typed"));
    QLineEdit& box = window->View().PathBox();
    QMimeData dropped;
    dropped.setUrls({QUrl::fromLocalFile(document)});
    const std::vector<std::function<void()>> ways{
        [&] { window->Action(kRefresh)->trigger(); },
        [&] { box.setText("/tmp"), QTest::keyClick(&box, Qt::Key_Return); },
        [&] { box.setText("/tmp"), window->Action(kFoldersListing)->trigger(); },
        [&] {
            window->Action(kBrowse)->trigger();
            FolderTree& tree = window->View().Tree();
            QTest::mouseClick(tree.viewport(), Qt::LeftButton, {},
                              tree.visualRect(tree.model()->index(0, 0)).center());
            window->Action(kFoldersListing)->trigger(); // back to the table, asking again
        },
        [&] { window->Action(kNew)->trigger(); },
        [&] { window->OpenDocument(document); },
        [&] {
            QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &dropped, Qt::LeftButton, {});
            static_cast<QObject&>(*window).event(&drop); // as the drag manager delivers it
        },
        [&] { window->close(); },
    };
    for (std::size_t way = 0; way < ways.size(); ++way) {
        ways[way]();
        EXPECT_TRUE(!window->View().Reading() && window->isVisible()) << way;
        EXPECT_EQ(std::string(session->Listing().table.Cell(0, 0)) + Box(*window),
                  "typed" + folder.Path("home/Music"));
    }
    EXPECT_EQ(asked.join('|').toStdString(),
              QStringList(9, QStringLiteral("Save changes to kept.dsc?")).join('|').toStdString());
    window->SetSaveQuestion([](const QString&) { return QMessageBox::Yes; });
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_NE(test::ReadFile(document.toStdString()).find("typed"), std::string::npos);
}

TEST_F(WindowAtHomeTest, AFailedReadLeavesTheListingWholeAndAnotherFolderIsUntitled) {
    const auto window = Open();
    ASSERT_TRUE(List(*window, "home/Music"));
    const std::string document = folder.Path("music.dsc");
    ASSERT_TRUE(window->SaveDocument(QString::fromStdString(document)));
    const std::string bytes = test::ReadFile(document);
    const QString title = window->windowTitle();
    EXPECT_EQ(title.toStdString(),
              ("Dirscribe:   " + QString::fromStdString(folder.Path("home/Music")).left(25) +
               " — music.dsc[*]")
                  .toStdString());
    for (const char* typed : {"bad|path", "missing"}) {
        EXPECT_FALSE(List(*window, typed));
        EXPECT_EQ(Box(*window), folder.Path("home/Music"));
        EXPECT_EQ(window->windowTitle().toStdString(), title.toStdString());
        window->Action(kSave)->trigger(); // Ctrl+S: the same file, the same listing
        EXPECT_EQ(test::ReadFile(document), bytes) << typed;
    }
    ASSERT_TRUE(List(*window, "home/Docs"));
    EXPECT_TRUE(window->windowFilePath().isEmpty());
    window->Action(kSave)->trigger();
    auto* dialog = window->findChild<QFileDialog*>(QStringLiteral("saveDialog"));
    ASSERT_NE(dialog, nullptr) << "Save asks for a name";
    dialog->reject();
    EXPECT_EQ(test::ReadFile(document), bytes);
}

TEST_F(WindowAtHomeTest, RemembersItsPlaceTheLastFolderTheDialogsFoldersAndColumnWidths) {
    const QRect place(40, 50, 700, 500);
    folder.Folder("lists");
    {
        const auto window = Open();
        ASSERT_TRUE(List(*window, "home/Music"));
        window->View().Table().horizontalHeader()->resizeSection(0, 301);
        ASSERT_TRUE(window->SaveDocument(QString::fromStdString(folder.Path("lists/m.dsc"))));
        window->setGeometry(place);
        window->close();
    }
    {
        const auto window = Open();
        EXPECT_EQ(window->geometry(), place);
        EXPECT_EQ(Box(*window), folder.Path("home/Music"));
        EXPECT_EQ(session->Listing().table.RowCount(), 0) << "shown, not read";
        ASSERT_TRUE(test::RunReadingCommand(*window, kFoldersListing));
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

TEST_F(WindowAtHomeTest, TheFirstClickListsAndBrowseComesBackToTheFolderListed) {
    folder.File("home/caf\xE9/x.txt", "1"); // a Latin-1 name
    const auto window = Open();
    FolderTree& tree = window->View().Tree();
    QSignalSpy finished(&window->View(), &ListingView::ReadFinished);
    const auto click = [&](const QModelIndex& node) {
        QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, tree.visualRect(node).center());
        return finished.wait(10000);
    };
    ASSERT_TRUE(click(tree.model()->index(0, 0)));
    EXPECT_EQ(Box(*window), folder.Path("home"));

    ASSERT_TRUE(List(*window, "home/Music/Albums"));
    window->Action(kBrowse)->trigger();
    const QModelIndex shown = tree.currentIndex();
    EXPECT_EQ(shown.data(FolderTreeModel::kPathRole).toString().toStdString(),
              folder.Path("home/Music/Albums"));
    EXPECT_FALSE(Box(*window).empty()) << "opening its parents was no expansion by the user";
    EXPECT_TRUE(click(shown)) << "a click on the folder shown lists it again";

    window->Action(kBrowse)->trigger();
    QSignalSpy reading(&window->View(), &ListingView::ReadingChanged);
    window->Action(kRefresh)->trigger();
    EXPECT_TRUE(reading.isEmpty()) << "Refresh reads nothing while the tree is in front";
    const QModelIndex latin =
        qobject_cast<FolderTreeModel*>(tree.model())->IndexOfPath(folder.Path("home/caf\xE9"));
    tree.scrollTo(latin);
    ASSERT_TRUE(click(latin));
    EXPECT_TRUE(finished.last()[0].toBool()) << "the folder is read by its own bytes";
    EXPECT_EQ(Box(*window), folder.Path("home/caf\xC3\xA9")) << "and shown as text";
    EXPECT_EQ(window->View().Table().model()->rowCount(), 1);
    window->Action(kBrowse)->trigger();
    EXPECT_FALSE(List(*window, "missing"));
    EXPECT_TRUE(window->View().TableVisible()) << "a failed read brings the listing back too";
}

TEST_F(WindowAtHomeTest, TheHeadShowsTheSortAndTheStatusBarSaysWhyATreeCannotSort) {
    const auto window = Open();
    ASSERT_TRUE(List(*window, "home/Music"));
    QHeaderView& head = *window->View().Table().horizontalHeader();
    const auto click = [&](int column) {
        QTest::mouseClick(head.viewport(), Qt::LeftButton, {},
                          QPoint(head.sectionViewportPosition(column) + 5, 5));
    };
    click(1);
    const Qt::SortOrder first = head.sortIndicatorOrder();
    click(1);
    EXPECT_EQ(head.sortIndicatorSection(), 1);
    EXPECT_NE(head.sortIndicatorOrder(), first);
    window->Action(kPageFormat)->trigger(); // only a letter page descends
    ASSERT_TRUE(test::RunReadingCommand(*window, kDepth2)) << "a new depth reads the tree";
    click(0);
    EXPECT_TRUE(window->statusBar()->currentMessage().contains("tree"));

    QEvent leave(QEvent::Leave); // the pointer leaves a button, and so its prompt
    QApplication::sendEvent(
        test::PartNamed<QToolBar>(*window, "toolBar").widgetForAction(window->Action(kRefresh)),
        &leave);
    EXPECT_EQ(window->statusBar()->currentMessage(), "Ready") << "after a hover";
}

TEST_F(WindowAtHomeTest, IconsComeFromTheDesktopThemeOrAreOurOwnAndSharpAtTwiceTheSize) {
    folder.File("icons/probe/index.theme", "[Icon Theme]\nDirectories=16\n[16]\nSize=16\n");
    folder.File("icons/probe/16/document-open.svg", "<svg width='16' height='16'/>");
    const QStringList paths = QIcon::themeSearchPaths();
    const QString theme = QIcon::themeName();
    QIcon::setThemeSearchPaths({QString::fromStdString(folder.Path("icons"))});
    QIcon::setThemeName(QStringLiteral("probe"));
    EXPECT_EQ(
        CommandIcon(*std::find_if(MainWindow::Commands().begin(), MainWindow::Commands().end(),
                                  [](const WindowCommand& c) { return c.id == kOpen; }))
            .name(),
        "document-open");
    QIcon::setThemeName(theme);
    QIcon::setThemeSearchPaths(paths);

    const auto window = Open();
    const int size = window->style()->pixelMetric(QStyle::PM_ToolBarIconSize);
    EXPECT_EQ(test::PartNamed<QToolBar>(*window, "toolBar").iconSize(), QSize(size, size));
    for (const QAction* action : test::PartNamed<QToolBar>(*window, "toolBar").actions()) {
        const QImage twice = action->icon().pixmap(QSize(size, size), 2.0).toImage();
        EXPECT_TRUE(action->isSeparator() ||
                    twice == action->icon().pixmap(QSize(2 * size, 2 * size)).toImage())
            << action->data().toInt() << ": drawn at the finer size, not enlarged";
    }
}

// Run as a user who may not read them, the subfolders a tree read cannot open are named in
// one message at the end: their count and the first 20, each with the system's reason.
TEST_F(WindowAtHomeTest, UnreadableSubfoldersAreGatheredIntoOneMessage) {
    for (const char* path : {"", "home", "home/Music"})
        folder.Chmod(path, 0755);
    for (int index = 10; index < 32; ++index) {
        folder.Folder("home/Music/locked" + std::to_string(index) + "/inside");
        folder.Chmod("home/Music/locked" + std::to_string(index), 0);
    }
    // Nothing is painted in the child: Qt's painting threads do not survive a fork. A
    // listing of the folder alone (depth 0) names them too, since its totals lack them.
    const auto shown = test::RunUnprivileged([&] {
        std::string texts;
        for (const int depth : {1, 0}) {
            ListingSession reader;
            reader.Options().printAs = PageLayout::Standard;
            reader.Options().lastDepth = depth;
            NullProgress progress;
            ListingView view(reader, notice, progress);
            view.PathBox().setText(QString::fromStdString(folder.Path("home/Music")));
            QSignalSpy finished(&view, &ListingView::ReadFinished);
            view.ReadSelectedFolder();
            texts += finished.wait(10000) ? "" : "?";
        }
        for (const auto& message : notice.shown)
            texts += message.text + "\n--\n";
        return texts;
    });
    // In the order the listing shows them: by name in the tree, last first on their own.
    std::string expected;
    for (const bool tree : {true, false}) {
        expected += "22 subfolders could not be read; the listing does not count what they hold:\n";
        for (int index = 10; index < 30; ++index)
            expected += "\n" + folder.Path("home/Music/locked") +
                        std::to_string(tree ? index : 41 - index) + ": Permission denied";
        expected += "\n... and 2 more\n--\n";
    }
    EXPECT_EQ(shown, expected);
}

// What a read tells the bar from its own thread: how much there is, and how far it is.
class ReadProgress final : public Progress {
public:
    explicit ReadProgress(Progress& shown) : m_shown(shown) {}
    void Begin() override { m_shown.Begin(); }
    void SetRange(std::int64_t maximum) override {
        if (Reader())
            range = maximum;
        m_shown.SetRange(maximum);
    }
    void Step() override { Advance(1); }
    void Advance(std::int64_t count) override {
        if (Reader())
            steps += count;
        m_shown.Advance(count);
    }
    void SetMessage(std::string_view) override {}
    void End() override { m_shown.End(); }

    std::atomic<std::int64_t> range{0};
    std::atomic<std::int64_t> steps{0};

private:
    static bool Reader() { return QThread::currentThread() != qApp->thread(); }
    Progress& m_shown;
};

// A read counts its entries; of a whole volume it knows how many there are (the bar then
// shows how far it is), of a folder it does not (the bar stays busy rather than sit near
// full).
TEST(WorkingProgressBar, MeasuresAWholeVolumeByItsEntriesAndIsBusyForAFolder) {
    test::TempTree tree;
    const bool mounted = tree.MountTmpfs("volume");
    for (const char* file : {"volume/a/x", "volume/b", "volume/c"})
        tree.File(file);
    QStatusBar statusBar;
    WorkingProgress bar(statusBar);
    ReadProgress progress(bar);
    ListingSession session;
    test::RecordingNotice notice;
    ListingView view(session, notice, progress);
    const auto read = [&](const char* path) {
        progress.range = progress.steps = 0;
        view.PathBox().setText(QString::fromStdString(tree.Path(path)));
        QSignalSpy finished(&view, &ListingView::ReadFinished);
        view.ReadSelectedFolder();
        return finished.wait(10000) && finished.first()[0].toBool();
    };
    ASSERT_TRUE(read("volume/a"));
    EXPECT_EQ(progress.range, 0);
    EXPECT_EQ(progress.steps, 1);
    if (!mounted)
        GTEST_SKIP() << "no tmpfs can be mounted here";
    ASSERT_TRUE(read("volume"));
    EXPECT_EQ(progress.steps, 4);
    EXPECT_GE(progress.range, progress.steps);
    EXPECT_LE(progress.range, progress.steps + 1) << "the volume's own folder besides";
}

} // namespace
} // namespace dirscribe
