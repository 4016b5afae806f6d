// SPDX-License-Identifier: MIT
// The window's command table walked whole, and what a Linux desktop user does with it: the
// keyboard, undo and redo, recent documents, the tree beside the listing, the window's place
// on the screen and what the status bar says.
#include "WindowTest.h"
#include "gui/app/WorkingProgress.h"
#include "gui/table/CellListView.h"
#include "gui/table/TableEditing.h"
#include "gui/tree/FolderTree.h"
#include "gui/tree/FolderTreeModel.h"
#include "support/WindowParts.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QToolTip>
#include <gtest/gtest.h>
#include <set>

namespace dirscribe {
namespace {

using namespace command;

class WindowCommandsTest : public test::WindowTest {
protected:
    WindowCommandsTest() {
        folder.File("home/Music/b.mp3", "22");
        folder.File("home/Music/a.mp3", "1");
        folder.Folder("home/Music/Live");
        folder.File("home/Docs/d.txt", "4");
    }
    // A flat letter-page listing of a folder below the test's folder, with Comments and Size.
    bool ListFlat(MainWindow& window, const char* path) {
        window.Action(kPageFormat)->trigger();
        window.Action(kDepth0)->trigger();
        return List(window, path);
    }
    static bool Active(MainWindow& window) {
        window.activateWindow();
        return QTest::qWaitForWindowActive(&window);
    }
    // Every row's texts and the entry it was made from.
    [[nodiscard]] std::vector<std::pair<RowRecord, std::uint32_t>> Rows() const {
        std::vector<std::pair<RowRecord, std::uint32_t>> rows;
        for (int row = 0; row < session->Listing().table.RowCount(); ++row)
            rows.emplace_back(session->Listing().table.Row(row),
                              session->Listing().table.EntryIndex(row));
        return rows;
    }
};

// Each command with a label is one menu item, each toolbar button one of them with a
// picture; every key shown works and belongs to one command; what may run is what the
// table says.
TEST_F(WindowCommandsTest, EveryCommandIsAMenuItemWithItsKeysAndIsEnabledWhenItMayRun) {
    const auto window = Open();
    std::map<int, int> items;
    for (const QAction* popup : window->menuBar()->actions())
        for (QAction* item : popup->menu()->actions())
            if (!item->isSeparator()) {
                ++items[item->data().toInt()];
                EXPECT_EQ(window->Action(item->data().toInt()), item);
            }
    QList<QKeySequence> keys;
    const std::set<int> waiting{
        kExport,  kFind,      kFindNext,         kUpdateListing, kUndo, kRedo,
        kStop,    kInsertRow, kDeleteRow,        kSaveDb,        kHelp, kBack,
        kForward, kUp,        kListingProperties};
    for (const WindowCommand& command : MainWindow::Commands()) {
        const QAction& action = *window->Action(command.id);
        EXPECT_EQ(items[command.id], *command.text ? 1 : 0) << command.id;
        // A key the label has always named after a tab is the action's own, which the menu
        // shows beside the label.
        QString named = QString::fromUtf8(command.text).section('\t', 1);
        EXPECT_TRUE(named.isEmpty() ||
                    action.shortcuts().contains(QKeySequence(named.replace("Cntl", "Ctrl"))))
            << command.id;
        EXPECT_FALSE(action.text().contains('\t')) << command.id;
        for (const QKeySequence& key : action.shortcuts()) {
            EXPECT_FALSE(keys.contains(key)) << key.toString().toStdString();
            keys << key;
        }
        EXPECT_EQ(action.isEnabled(), !waiting.contains(command.id)) << command.id;
    }
    for (const QAction* button : test::PartNamed<QToolBar>(*window, "toolBar").actions())
        EXPECT_TRUE(button->isSeparator() ||
                    (items[button->data().toInt()] == 1 && !button->icon().isNull()));
}

// The view commands change the settings, and each choice shows one radio mark.
TEST_F(WindowCommandsTest, ViewCommandsChangeTheSettingsAndEachChoiceHasOneMark) {
    const auto window = Open();
    const ListingOptions& options = session->Options();
    const auto depthTitle = [&] {
        return window->findChild<QMenu*>(QStringLiteral("TreeDepthMenu"))->title();
    };
    // Runs a command and checks the marks; the depth menu's title after it.
    const auto run = [&](int id) {
        window->Action(id)->trigger();
        for (const QActionGroup* group : window->findChildren<QActionGroup*>()) {
            const QList<QAction*> choices = group->actions();
            EXPECT_EQ(std::count_if(choices.begin(), choices.end(),
                                    [](const QAction* choice) { return choice->isChecked(); }),
                      1)
                << id;
        }
        return depthTitle();
    };
    run(kAddDate);
    EXPECT_EQ(options.addDate, 1) << "even where it never prints";
    run(kPageFormat);
    EXPECT_TRUE(options.printAs == PageLayout::Standard && options.addComments == 1);
    run(kZipFormat);
    EXPECT_TRUE(options.printAs == PageLayout::ZipInsert && options.addDate == 0);
    EXPECT_EQ(run(kDepth3), "&TreeDepth (3)");
    EXPECT_EQ(options.lastDepth, 3);
    EXPECT_EQ(run(kDepthAll), "&TreeDepth (All)");
    EXPECT_EQ(options.lastDepth, -1);
    run(kDepthCustom);
    EXPECT_EQ(options.lastDepth, 20);
    run(kFontSize);
    EXPECT_EQ(window->View().Tree().font().pixelSize(), 18);
    run(kTypeInPath);
    EXPECT_TRUE(window->View().PathBox().isHidden());
    run(kToolBar);
    EXPECT_TRUE(test::PartNamed<QToolBar>(*window, "toolBar").isHidden());
    run(kTreeBeside);
    EXPECT_TRUE(window->View().TreeBeside() && window->View().TableVisible());
}

// While a folder is read only Stop and what leaves the listing alone may run; Escape stops
// the read, even at once, the status bar says "Working..." meanwhile and then that the
// listing on show is kept, path, summary and rows.
TEST_F(WindowCommandsTest, EscapeStopsAReadAndTheListingOnShowStaysWhole) {
    for (int file = 0; file < 50; ++file)
        folder.File("disk/f" + std::to_string(file));
    auto window = Open();
    ASSERT_TRUE(ListFlat(*window, "home/Music"));
    window->View().PathBox().setText(QString::fromStdString(folder.Path("disk")));
    QSignalSpy finished(&window->View(), &ListingView::ReadFinished);
    window->Action(kFoldersListing)->trigger();
    ASSERT_TRUE(window->View().Reading());
    EXPECT_EQ(window->statusBar()->currentMessage(), "Working...");
    for (const WindowCommand& command : MainWindow::Commands())
        EXPECT_EQ(window->Action(command.id)->isEnabled(),
                  command.enabled == CommandWhen::Always || command.enabled == CommandWhen::Reading)
            << command.id;
    QTest::keyClick(&window->View().Table(), Qt::Key_Escape);
    ASSERT_TRUE(finished.wait(20000));
    EXPECT_FALSE(finished.first()[0].toBool());
    EXPECT_EQ(window->statusBar()->currentMessage(), "Stopped: the listing on show is kept");
    EXPECT_EQ(session->Listing().table.RowCount(), 3);
    EXPECT_EQ(Box(*window), folder.Path("home/Music"));
    EXPECT_EQ(session->Listing().doc.summary.fileCount, 2)
        << "the summary is the listing's on show";
    ASSERT_TRUE(List(*window, "disk")) << "the next read is not stopped";

    // A Stop given once the reader has ended, before this thread shows what it read, counts.
    window->View().PathBox().setText(QString::fromStdString(folder.Path("home/Music")));
    QSignalSpy late(&window->View(), &ListingView::ReadFinished);
    window->Action(kFoldersListing)->trigger();
    QThread::msleep(300); // the reader ends meanwhile, as a rule; its result waits for us
    QTest::keyClick(&window->View().Table(), Qt::Key_Escape);
    ASSERT_TRUE(late.wait(20000));
    EXPECT_FALSE(late.first()[0].toBool());
    EXPECT_EQ(Box(*window), folder.Path("disk"));
    EXPECT_EQ(session->Listing().table.RowCount(), 50);

    window->Action(kRefresh)->trigger();
    window.reset(); // closed while reading: the reader must not outlive what it reports to
}

// After Enter in the path box the keys are the table's; the cell F2 edits is framed; the row
// menu opens at it from the keyboard.
TEST_F(WindowCommandsTest, TheKeyboardReachesTheFramedCellAndTheRowMenu) {
    const auto window = Open();
    window->Action(kPageFormat)->trigger();
    ASSERT_TRUE(Active(*window));
    QLineEdit& box = window->View().PathBox();
    box.setText(QStringLiteral(" ~/Music"));
    QSignalSpy finished(&window->View(), &ListingView::ReadFinished);
    QTest::keyClick(&box, Qt::Key_Return);
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(session->Listing().folder, folder.Path("home/Music")) << "~ is the home folder";
    CellListView& table = window->View().Table();
    EXPECT_EQ(QApplication::focusWidget(), &table);
    QSignalSpy previews(window->Action(kPreview), &QAction::triggered);
    QTimer::singleShot(0, window.get(), [] { QApplication::activeModalWidget()->close(); });
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(previews.size(), 1) << "Ctrl+V previews from the table";
    ASSERT_TRUE(Active(*window));

    const auto cell = [&](int column) {
        return table.visualRect(table.model()->index(1, column));
    };
    QTest::mouseClick(table.viewport(), Qt::LeftButton, {}, cell(0).center());
    QTest::keyClick(&table, Qt::Key_Right);
    QTest::keyClick(&table, Qt::Key_Right);
    const QImage shown = table.viewport()->grab().toImage();
    const QColor frame = table.palette().color(QPalette::HighlightedText);
    EXPECT_EQ(shown.pixelColor(cell(2).left() + 1, cell(2).center().y()), frame);
    EXPECT_NE(shown.pixelColor(cell(1).left() + 1, cell(1).center().y()), frame);
    QTest::keyClick(&table, Qt::Key_F2);
    CellEdit* editor = test::OpenEditor(window->View());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->SubItem(), 2) << "the framed cell";
    QTest::keyClick(editor, Qt::Key_Escape); // the editor's, not Stop's: nothing is read
    EXPECT_EQ(test::OpenEditor(window->View()), nullptr);

    const QPoint below = table.viewport()->mapToGlobal(cell(2).bottomLeft());
    QTest::keyClick(&table, Qt::Key_F10, Qt::ShiftModifier);
    ASSERT_NE(test::OpenRowMenu(window->View()), nullptr);
    EXPECT_EQ(test::OpenRowMenu(window->View())->pos(), below);
    test::OpenRowMenu(window->View())->close();
    QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, {0, 0}, table.mapToGlobal(QPoint()));
    QApplication::sendEvent(&table, &menuKey);
    ASSERT_NE(test::OpenRowMenu(window->View()), nullptr);
    EXPECT_EQ(test::OpenRowMenu(window->View())->pos(), below);
    test::OpenRowMenu(window->View())->close();
}

// A typed comment that flowed onto a comment row, an inserted and a deleted row come undone
// one by one to the listing as saved, which is unchanged again, and are made again; the
// history ends when the listing is read again.
TEST_F(WindowCommandsTest, UndoPutsBackTheRowsAsTheyWereAndRedoMakesTheChangeAgain) {
    const auto window = Open();
    ASSERT_TRUE(ListFlat(*window, "home/Music"));
    ASSERT_TRUE(window->SaveDocument(QString::fromStdString(folder.Path("music.dsc"))));
    EXPECT_EQ(window->statusBar()->currentMessage(), "Saved music.dsc");
    const auto saved = Rows();
    ASSERT_TRUE(Active(*window));
    CellListView& table = window->View().Table();
    const QPoint comment = table.visualRect(table.model()->index(1, 1)).center();
    QTest::mouseClick(table.viewport(), Qt::LeftButton, {}, comment);
    QTest::mouseClick(table.viewport(), Qt::LeftButton, {}, comment);
    for (const QChar c : QStringLiteral("A long comment that flows on to a comment row below it"))
        QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_EQ(session->Listing().table.Cell(2, 0), "comments:");
    window->Action(kInsertRow)->trigger(); // below the focused comment row
    table.FocusRow(0);
    window->Action(kDeleteRow)->trigger();
    const auto changed = Rows();
    ASSERT_EQ(changed.size(), 4u);

    for (int step = 0; step < 3; ++step)
        QTest::keyClick(&table, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Rows(), saved);
    EXPECT_FALSE(session->Listing().modified) << "back at the listing as saved";
    EXPECT_FALSE(window->Action(kUndo)->isEnabled());
    for (int step = 0; step < 3; ++step)
        window->Action(kRedo)->trigger();
    EXPECT_EQ(Rows(), changed);
    EXPECT_TRUE(session->Listing().modified);

    window->SetSaveQuestion([](const QString&) { return QMessageBox::No; });
    ASSERT_TRUE(test::RunReadingCommand(*window, kRefresh));
    EXPECT_FALSE(window->Action(kUndo)->isEnabled());
}

// Documents opened or saved come back in File > Recent Documents, also after a restart; one
// that is gone is taken off with a message when picked.
TEST_F(WindowCommandsTest, RecentDocumentsOpenAgainAndAMissingOneIsDroppedWithAMessage) {
    const QString music = QString::fromStdString(folder.Path("music.dsc"));
    const QString docs = QString::fromStdString(folder.Path("docs.dsc"));
    const auto items = [](MainWindow& window) {
        emit test::PartNamed<QMenu>(window, "recentMenu").aboutToShow();
        QStringList texts;
        for (const QAction* item : test::PartNamed<QMenu>(window, "recentMenu").actions())
            texts << item->text();
        return texts;
    };
    {
        const auto window = Open();
        EXPECT_EQ(items(*window), QStringList{"No recent documents"});
        ASSERT_TRUE(ListFlat(*window, "home/Music"));
        ASSERT_TRUE(window->SaveDocument(music));
        ASSERT_TRUE(ListFlat(*window, "home/Docs"));
        ASSERT_TRUE(window->SaveDocument(docs));
        ASSERT_TRUE(window->SaveDocument(QString::fromStdString(folder.Path("docs.txt"))));
        ASSERT_TRUE(window->OpenDocument(music));
        EXPECT_EQ(items(*window), (QStringList{"&1 music.dsc", "&2 docs.dsc"}));
        window->close();
    }
    std::remove(docs.toStdString().c_str());
    const auto window = Open();
    ASSERT_EQ(items(*window).size(), 2);
    test::PartNamed<QMenu>(*window, "recentMenu").actions()[1]->trigger();
    ASSERT_EQ(notice.shown.size(), 1u);
    EXPECT_NE(notice.shown[0].text.find("docs.dsc\": the file is no longer there"),
              std::string::npos);
    EXPECT_EQ(items(*window), QStringList{"&1 music.dsc"});
    test::PartNamed<QMenu>(*window, "recentMenu").actions()[0]->trigger();
    EXPECT_EQ(window->windowFilePath(), music);
}

// Open asks about a changed listing before it shows the file dialog, not over it.
TEST_F(WindowCommandsTest, OpenAsksFirstThenShowsTheFileDialog) {
    const auto window = Open();
    ASSERT_TRUE(ListFlat(*window, "home/Music"));
    ASSERT_TRUE(window->SaveDocument(QString::fromStdString(folder.Path("music.dsc"))));
    ASSERT_TRUE(session->SetCellText(0, 1, "typed"));
    int answer = QMessageBox::Cancel;
    QStringList asked;
    window->SetSaveQuestion([&](const QString& text) {
        EXPECT_EQ(window->findChild<QFileDialog*>(QStringLiteral("openDialog")), nullptr);
        return asked << text, answer;
    });
    window->Action(kOpen)->trigger();
    EXPECT_EQ(window->findChild<QFileDialog*>(QStringLiteral("openDialog")), nullptr);
    answer = QMessageBox::No;
    window->Action(kOpen)->trigger();
    auto* dialog = window->findChild<QFileDialog*>(QStringLiteral("openDialog"));
    ASSERT_NE(dialog, nullptr);
    dialog->fileSelected(QString::fromStdString(folder.Path("music.dsc")));
    EXPECT_EQ(asked.size(), 2) << "nothing more is asked once a file is picked";
    EXPECT_EQ(session->Listing().table.Cell(0, 1), "");
}

// Beside the listing, the tree stays: each folder picked in it is listed, and expanding a
// node leaves the path box naming the listing on show. The next start has it there again,
// with the settings of the last run.
TEST_F(WindowCommandsTest, TheTreeBesideTheListingPicksFoldersAndComesBackAtTheNextStart) {
    {
        const auto window = Open();
        window->Action(kTreeBeside)->trigger();
        FolderTree& tree = window->View().Tree();
        EXPECT_FALSE(window->Action(kBrowse)->isChecked());
        QSignalSpy finished(&window->View(), &ListingView::ReadFinished);
        const QModelIndex homeNode = tree.model()->index(0, 0);
        for (const char* name : {"Docs", "Music"}) {
            const QModelIndex node = qobject_cast<FolderTreeModel*>(tree.model())
                                         ->IndexOfPath(folder.Path("home/") + name);
            tree.scrollTo(node);
            QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, tree.visualRect(node).center());
            ASSERT_TRUE(finished.wait(10000)) << name;
            EXPECT_EQ(Box(*window), folder.Path("home/") + name);
            EXPECT_FALSE(tree.isHidden());
            EXPECT_TRUE(window->View().TableVisible());
        }
        tree.collapse(homeNode);
        EXPECT_EQ(Box(*window), folder.Path("home/Music"));
        for (const int id : {kTypeInPath, kPageFormat, kDepth5}) // the last two may read again
            window->Action(id)->trigger();
        window->close();
    }
    EXPECT_NE(test::ReadFile(profile).find("Print as =0"), std::string::npos);
    const auto window = Open();
    EXPECT_TRUE(window->Action(kTreeBeside)->isChecked());
    EXPECT_FALSE(window->View().Tree().isHidden());
    EXPECT_GT(window->View().TreeWidth(), 0);
    EXPECT_TRUE(window->Action(kDepth5)->isChecked());
    EXPECT_EQ(window->findChild<QMenu*>(QStringLiteral("TreeDepthMenu"))->title(),
              "&TreeDepth (5)");
    EXPECT_TRUE(window->View().PathBox().isHidden());
}

// A first start shows the whole toolbar; a remembered place larger than the screen (saved at
// another scale) is fitted into it. FileName grows to its names; a cut name shows whole in a
// tooltip.
TEST_F(WindowCommandsTest, TheWindowFitsTheScreenAndTheNamesFitTheirColumn) {
    const std::string name(24, 'n');
    folder.File("home/Music/" + name + ".mp3", "1");
    {
        const auto window = Open();
        EXPECT_TRUE(window->screen()->availableGeometry().contains(window->frameGeometry()));
        EXPECT_GE(window->width(),
                  test::PartNamed<QToolBar>(*window, "toolBar").sizeHint().width());
        EXPECT_GE(window->width(), 450);
        ASSERT_TRUE(ListFlat(*window, "home/Music"));
        const CellListView& table = window->View().Table();
        const int longest = table.fontMetrics().horizontalAdvance(QString::fromStdString(name));
        EXPECT_GT(table.columnWidth(0), longest);
        EXPECT_LE(table.columnWidth(0), table.width() / 2 + 1);
    }
    IniFile saved = IniFile::Load(profile);
    for (const auto& [key, value] : {std::pair{"Left", "-300"},
                                     {"Top", "40"},
                                     {"Width", "2200"},
                                     {"Height", "1400"},
                                     {"Column FileName", "60"}})
        saved.SetValue("Window", key, value);
    saved.Save(profile);
    const auto window = Open();
    EXPECT_TRUE(window->screen()->availableGeometry().contains(window->frameGeometry()));
    ASSERT_TRUE(ListFlat(*window, "home/Music"));
    CellListView& table = window->View().Table();
    const auto tipAt = [&](int row) {
        QHelpEvent help(QEvent::ToolTip, table.visualRect(table.model()->index(row, 0)).center(),
                        QCursor::pos());
        QApplication::sendEvent(table.viewport(), &help);
        return QToolTip::text();
    };
    EXPECT_EQ(tipAt(1), QString()) << "a.mp3 shows whole";
    EXPECT_EQ(tipAt(3), QString::fromStdString(name + ".mp3")) << "cut off in 60 px";
}

} // namespace
} // namespace dirscribe
