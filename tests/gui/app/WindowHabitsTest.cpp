// SPDX-License-Identifier: MIT
// The habits a desktop user trusts the window with: nothing typed is overwritten or lost to a
// sort, the title says what is open and whether it changed, file-manager keys and clicks,
// rows inserted where they belong, columns that show their texts, the status bar's summary,
// a first start ready to type into, and a name for every part a screen reader announces.
#include "WindowTest.h"
#include "gui/app/GuiMain.h"
#include "gui/table/CellListView.h"
#include "gui/table/ListingTableModel.h"
#include "gui/table/TableEditing.h"
#include "gui/tree/FolderTree.h"
#include "gui/tree/FolderTreeModel.h"
#include "support/StandardListing.h"
#include "support/WindowParts.h"

#include <QAccessible>
#include <QActionGroup>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

namespace dirscribe {
namespace {

using namespace command;

class WindowHabitsTest : public test::WindowTest {
protected:
    WindowHabitsTest() {
        folder.File("disk/a.txt", "1");
        folder.File("disk/b.txt", "22");
        folder.File("disk/c.txt", "333");
        folder.File("disk/Live/d.txt", "4");
        ListingOptions options;
        test::UseFlatStandardWithComments(options);
        IniFile settings;
        SaveOptions(options, settings);
        settings.Save(profile);
    }
    [[nodiscard]] int Row(std::string_view name) const {
        for (int row = 0; row < session->Listing().table.RowCount(); ++row)
            if (session->Listing().table.Cell(row, 0).ends_with(name))
                return row;
        return -1;
    }
    [[nodiscard]] std::string Cell(int row, int column) const {
        return std::string(session->Listing().table.Cell(row, column));
    }
    static void Type(MainWindow& window, int row, const char* text) {
        TableEditing& editing = window.View().Editing();
        editing.OnBeginLabelEdit(row, 1);
        test::OpenEditor(window.View())->setText(QString::fromUtf8(text));
        test::OpenEditor(window.View())->Finish();
    }
    static bool Active(MainWindow& window) {
        window.activateWindow();
        return QTest::qWaitForWindowActive(&window);
    }
    static void ClickHead(MainWindow& window, int column) {
        QHeaderView& head = *window.View().Table().horizontalHeader();
        QTest::mouseClick(head.viewport(), Qt::LeftButton, {},
                          QPoint(head.sectionViewportPosition(column) + 5, 5));
    }
};

// In the File Data layout a fetch keeps a typed comment and puts the summary on the first
// details row; a sort after it is a step of its own, so both come undone one by one.
TEST_F(WindowHabitsTest, AFetchKeepsATypedCommentAndASortCanBeUndone) {
    const auto window = Open();
    ASSERT_TRUE(List(*window, "disk"));
    Type(*window, Row("a.txt"), "keep me");
    window->Action(kFileData)->trigger();
    QSignalSpy reading(&window->View(), &ListingView::ReadingChanged);
    window->View().Editing().OnBeginLabelEdit(Row("a.txt"), 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return reading.size() == 2; }, 10000));
    const int a = Row("a.txt");
    EXPECT_EQ(Cell(a, 1), "keep me");
    EXPECT_EQ(Cell(a + 1, 0) + "|" + Cell(a + 1, 1), "**File Data:|.txt extention file. No data.");

    ClickHead(*window, 2);
    ClickHead(*window, 2); // largest first
    EXPECT_EQ(Row("a.txt"), 3);
    EXPECT_EQ(Cell(4, 1), ".txt extention file. No data.") << "the details go with their entry";
    window->Action(kUndo)->trigger();
    window->Action(kUndo)->trigger();
    EXPECT_EQ(Row("a.txt"), a) << "each sort comes undone";
    EXPECT_EQ(window->View().Table().horizontalHeader()->sortIndicatorSection(), -1);
    window->Action(kUndo)->trigger();
    EXPECT_EQ(Cell(a, 1) + Cell(a + 1, 0), "keep meb.txt") << "then the fetch";
    for (int step = 0; step < 3; ++step)
        window->Action(kRedo)->trigger();
    EXPECT_EQ(Row("a.txt"), 3);
}

// The title keeps its old text and adds the document and the changed mark; the status bar
// says what the listing holds.
TEST_F(WindowHabitsTest, TheTitleNamesTheDocumentAndMarksChanges) {
    const auto window = Open();
    ASSERT_TRUE(List(*window, "disk"));
    const QString path = QString::fromStdString(folder.Path("disk")).left(25);
    EXPECT_EQ(window->windowTitle(), "Dirscribe:   " + path + " — Untitled[*]");
    EXPECT_FALSE(window->isWindowModified());
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("listingSummary"))->text(),
              "4 entries listed; 4 files and 1 folder in all, 7  b");
    Type(*window, Row("a.txt"), "typed");
    EXPECT_TRUE(window->isWindowModified());
    ASSERT_TRUE(window->SaveDocument(QString::fromStdString(folder.Path("odd [*] name.dsc"))));
    EXPECT_EQ(window->windowTitle(), "Dirscribe:   " + path + " — odd [*][*] name.dsc[*]");
    EXPECT_FALSE(window->isWindowModified());
}

// Ctrl+L goes to the path box; Enter or a double click on a folder row lists it; Alt+Up,
// Alt+Left and Alt+Right go up, back and forward. While the question about a changed listing
// is asked, the path box and the tree still name the listing on show.
TEST_F(WindowHabitsTest, FileManagerKeysAndClicksGoFromFolderToFolder) {
    const auto window = Open();
    ASSERT_TRUE(List(*window, "disk"));
    ASSERT_TRUE(Active(*window));
    CellListView& table = window->View().Table();
    QSignalSpy finished(&window->View(), &ListingView::ReadFinished);
    const auto press = [&](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::AltModifier) {
        QWidget* focused = QApplication::focusWidget();
        QTest::keyClick(focused != nullptr ? focused : window.get(), key, modifiers);
        return finished.wait(10000);
    };
    table.setFocus();
    QTest::keyClick(&table, Qt::Key_L, Qt::ControlModifier);
    EXPECT_TRUE(window->View().PathBox().hasFocus());
    EXPECT_EQ(window->View().PathBox().selectedText().toStdString(), folder.Path("disk"));

    table.setFocus();
    table.FocusRow(Row("[Live]"));
    ASSERT_TRUE(press(Qt::Key_Return, Qt::NoModifier));
    EXPECT_EQ(Box(*window), folder.Path("disk/Live"));
    ASSERT_TRUE(press(Qt::Key_Up));
    EXPECT_EQ(Box(*window), folder.Path("disk"));
    ASSERT_TRUE(press(Qt::Key_Left));
    EXPECT_EQ(Box(*window), folder.Path("disk/Live"));
    ASSERT_TRUE(press(Qt::Key_Left));
    EXPECT_EQ(Box(*window), folder.Path("disk"));
    EXPECT_FALSE(window->Action(kBack)->isEnabled());
    ASSERT_TRUE(press(Qt::Key_Right));
    EXPECT_EQ(Box(*window), folder.Path("disk/Live"));
    ASSERT_TRUE(press(Qt::Key_Up));

    Type(*window, Row("a.txt"), "typed");
    std::string asked;
    window->SetSaveQuestion([&](const QString&) {
        asked = Box(*window) + "|" +
                window->View()
                    .Tree()
                    .currentIndex()
                    .data(FolderTreeModel::kPathRole)
                    .toString()
                    .toStdString();
        return QMessageBox::No;
    });
    window->Action(kTreeBeside)->trigger();
    FolderTree& tree = window->View().Tree();
    const QModelIndex live =
        qobject_cast<FolderTreeModel*>(tree.model())->IndexOfPath(folder.Path("disk/Live"));
    tree.scrollTo(live);
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, tree.visualRect(live).center());
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(asked, folder.Path("disk") + "|" + folder.Path("disk"));
    EXPECT_EQ(Box(*window), folder.Path("disk/Live"));

    ASSERT_TRUE(press(Qt::Key_Up));
    const QRect name = table.visualRect(table.model()->index(Row("[Live]"), 0));
    QTest::mouseDClick(table.viewport(), Qt::LeftButton, {}, name.center());
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(Box(*window), folder.Path("disk/Live"));
}

// The table shows its names after a read, an open, a fetch and F9, wherever the framed cell
// is; every column is as wide as its head, and Comments as its longest line; Ins and Del
// insert and delete rows in the table, and only there.
TEST_F(WindowHabitsTest, TheTableShowsItsNamesWholeCommentLinesAndTakesInsAndDel) {
    const auto window = Open();
    window->Action(kAddDate)->trigger();
    ASSERT_TRUE(List(*window, "disk"));
    ASSERT_TRUE(Active(*window));
    CellListView& table = window->View().Table();
    QHeaderView& head = *table.horizontalHeader();
    for (int column = 0; column < head.count(); ++column)
        EXPECT_GE(table.columnWidth(column), head.sectionSizeHint(column)) << column;
    head.resizeSection(0, table.width()); // the user's width: the table scrolls sideways
    QScrollBar& sideways = *table.horizontalScrollBar();
    const auto framedFar = [&] {
        QApplication::processEvents(); // the view lays out its new widths
        table.setFocus();
        table.FocusRow(Row("b.txt"));
        QTest::keyClick(&table, Qt::Key_Left);
        for (int step = 0; step < 4; ++step)
            QTest::keyClick(&table, Qt::Key_Right);
        return sideways.value() > 0;
    };
    ASSERT_TRUE(framedFar());
    ASSERT_TRUE(test::RunReadingCommand(*window, kRefresh));
    EXPECT_EQ(sideways.value(), 0);
    table.FocusRow(Row("b.txt")); // the row's current cell is in the framed column
    EXPECT_EQ(table.currentIndex().column(), table.ColumnAtOrder(3)) << "the framed cell stays";
    ASSERT_TRUE(framedFar());
    window->Action(kTreeBeside)->trigger();
    EXPECT_EQ(sideways.value(), 0);
    window->Action(kTreeBeside)->trigger();

    head.resizeSection(0, 100); // Comments then starts well left of the printable width
    const char* line = "wwwwwwwwwwwwwwwwwwwwwwwwwwwwww";
    const int b = Row("b.txt");
    static_cast<ListingTableModel&>(*table.model()).InsertRows(b + 1, 1, [&] {
        session->InsertCommentRow(b);
    });
    Type(*window, b + 1, line);
    EXPECT_GE(table.columnWidth(1), table.fontMetrics().horizontalAdvance(QLatin1String(line)));

    const int rows = table.model()->rowCount();
    table.setFocus();
    table.FocusRow(b);
    QTest::keyClick(&table, Qt::Key_Insert);
    EXPECT_EQ(table.FocusedRow(), b + 2) << "below the comment's rows";
    QTest::keyClick(&table, Qt::Key_Delete);
    QTest::keyClick(&table, Qt::Key_Delete);
    EXPECT_EQ(table.model()->rowCount(), rows - 1);
    window->Action(kUndo)->trigger();
    EXPECT_EQ(table.model()->rowCount(), rows) << "deleted without a question, and undone";
    window->View().PathBox().setFocus();
    QTest::keyClick(&window->View().PathBox(), Qt::Key_Delete);
    EXPECT_EQ(table.model()->rowCount(), rows) << "Del in the path box is the path box's";
}

// Every part a screen reader announces has a name: the path box, the table, the tree, the
// menu bar and each toolbar button; a menu item is named by its label alone; the layout
// buttons are one exclusive choice.
TEST_F(WindowHabitsTest, EveryPartHasANameForScreenReaders) {
    const auto window = Open();
    const auto name = [](QObject* object) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(object);
        return accessible ? accessible->text(QAccessible::Name) : QString();
    };
    EXPECT_EQ(name(&window->View().PathBox()), "Folder path");
    EXPECT_EQ(name(&window->View().Table()), "Listing");
    EXPECT_EQ(name(&window->View().Tree()), "Folders");
    EXPECT_EQ(name(window->menuBar()), "Menu bar");
    for (QAction* action : test::PartNamed<QToolBar>(*window, "toolBar").actions())
        EXPECT_TRUE(
            action->isSeparator() ||
            !name(test::PartNamed<QToolBar>(*window, "toolBar").widgetForAction(action)).isEmpty())
            << action->data().toInt();
    QMenu* file = window->menuBar()->actions().first()->menu();
    QAccessibleInterface* menu = QAccessible::queryAccessibleInterface(file);
    ASSERT_NE(menu, nullptr);
    QStringList items;
    for (int child = 0; child < menu->childCount(); ++child)
        items << menu->child(child)->text(QAccessible::Name);
    EXPECT_TRUE(items.contains("Print")) << items.join('|').toStdString();
    EXPECT_TRUE(items.contains("Refresh"));
    EXPECT_EQ(window->Action(kRefresh)->shortcut(), QKeySequence(QStringLiteral("Ctrl+F")));
    const QActionGroup* layouts = window->Action(kPageFormat)->actionGroup();
    ASSERT_NE(layouts, nullptr);
    EXPECT_EQ(layouts->exclusionPolicy(), QActionGroup::ExclusionPolicy::Exclusive);
    EXPECT_EQ(layouts->actions().size(), 4);
}

// The window's first start is ready to type into; with a profile its settings stand.
TEST(WindowProfile, AFirstStartShowsTheLetterPageWithItsCommentsColumn) {
    test::TempTree folder;
    const test::ScopedEnvironment profile("DIRSCRIBE_PROFILE",
                                          folder.Path("Dirscribe.ini").c_str());
    test::RecordingNotice notice;
    const ListingOptions first = LoadWindowProfile(notice).options;
    EXPECT_TRUE(first.printAs == PageLayout::Standard && first.addComments == 1);
    folder.File("Dirscribe.ini", "[Options]\nPrint as =2\n");
    EXPECT_TRUE(LoadWindowProfile(notice).options.printAs == PageLayout::CdInsert);
    EXPECT_TRUE(notice.shown.empty());
}

} // namespace
} // namespace dirscribe
