// SPDX-License-Identifier: MIT
// The listing table's cell navigation and comment editing, driven by real key, mouse and
// wheel events on the offscreen platform.
#include "core/ops/ListingSession.h"
#include "gui/table/CellEdit.h"
#include "gui/table/CellListView.h"
#include "gui/table/ListingTableModel.h"
#include "gui/table/TableEditing.h"
#include "support/RecordingNotice.h"
#include "support/StandardListing.h"
#include "support/TempTree.h"
#include "support/WindowParts.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <algorithm>
#include <gtest/gtest.h>
#include <memory>

namespace dirscribe {
namespace {

using test::TempTree;

constexpr int kFileNameWidth = 160;
constexpr int kCommentsWidth = 200;
constexpr int kSizeWidth = 120;

class CellEditingTest : public testing::Test {
protected:
    void SetUp() override {
        // Files 00.txt to 29.txt; enough rows to scroll.
        for (int i = 0; i < 30; ++i)
            tree.File(QStringLiteral("docs/%1.txt").arg(i, 2, 10, QChar('0')).toStdString(), "x");
        test::UseFlatStandardWithComments(session.Options());
    }

    // Reads the folder and shows the table, as the window does.
    void Show(int width = 600) {
        Read();
        view = std::make_unique<CellListView>();
        view->setModel(&model);
        editing = std::make_unique<TableEditing>(session, model, *view);
        view->verticalHeader()->hide();
        view->setColumnWidth(0, kFileNameWidth);
        view->setColumnWidth(1, kCommentsWidth);
        view->setColumnWidth(2, kSizeWidth);
        // A fixed face and size so that text widths are the same on every machine.
        QFont font(QStringLiteral("Liberation Sans"));
        font.setPixelSize(16);
        font.setWeight(QFont::Medium);
        view->setFont(font);
        view->verticalHeader()->setDefaultSectionSize(QFontMetrics(font).height() + 4);
        view->resize(width, 300);
        view->show();
        view->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
        view->setFocus();
    }
    void Read() {
        NullProgress progress;
        StopFlag stop;
        test::RecordingNotice notice;
        model.Change(
            [&] { EXPECT_TRUE(session.ReadFolder(tree.Path("docs"), notice, progress, stop)); });
    }

    QPoint CellCentre(int row, int column) const {
        return view->visualRect(model.index(row, column)).center();
    }
    void Click(int row, int column) {
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, CellCentre(row, column));
        ReleaseEditors();
    }
    // A second click on the focused row's cell edits it.
    void Edit(int row, int column) {
        Click(row, column);
        Click(row, column);
    }
    void Key(Qt::Key key) {
        QTest::keyClick(QApplication::focusWidget(), key);
        ReleaseEditors();
    }
    // Types into whatever has the focus, one key at a time, as a person would.
    void Type(const QString& text) {
        for (const QChar c : text) {
            QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
            ReleaseEditors();
        }
    }
    // Frees released editors now, so that any later use of one is caught.
    static void ReleaseEditors() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    CellEdit* Editor() const { return test::OpenEditor(*view); }
    QString CellText(int row, int column) const {
        return QString::fromStdString(std::string(session.Listing().table.Cell(row, column)));
    }
    int Width(const QString& text) const {
        return QFontMetrics(view->font()).horizontalAdvance(text);
    }

    TempTree tree;
    ListingSession session;
    ListingTableModel model{session.Listing().table};
    std::unique_ptr<CellListView> view;
    std::unique_ptr<TableEditing> editing;
};

TEST_F(CellEditingTest, ASecondClickOrF2EditsTheCellOfTheFocusedRow) {
    Show();
    Click(3, 1);
    Click(3, 2);
    EXPECT_EQ(Editor(), nullptr) << "a first click, or one on another column, only focuses";
    Key(Qt::Key_F2);
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(Editor()->SubItem(), 2) << "the column clicked last is the active one";
    Key(Qt::Key_Escape);
    Edit(3, 1);
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(Editor()->Item(), 3);
    EXPECT_EQ(Editor()->SubItem(), 1);
    EXPECT_TRUE(Editor()->hasFocus());
    // 4 px inside the cell, 3 px narrower than the column.
    EXPECT_EQ(Editor()->geometry(), QRect(kFileNameWidth + 4, view->rowViewportPosition(3),
                                          kCommentsWidth - 3, view->rowHeight(3)));
    Key(Qt::Key_Escape);
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_TRUE(view->hasFocus());

    // F2 edits the active column of the focused row; Left and Right move that column, and
    // stop at the last column and at none left of the first.
    Key(Qt::Key_Right);
    Key(Qt::Key_Right);
    Key(Qt::Key_F2);
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(Editor()->SubItem(), 2);
    Key(Qt::Key_Escape);
    for (int left = 0; left < 4; ++left)
        Key(Qt::Key_Left);
    Key(Qt::Key_F2);
    EXPECT_EQ(Editor(), nullptr) << "no active column, nothing to edit";
    Key(Qt::Key_Right);
    Key(Qt::Key_F2);
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(Editor()->SubItem(), 0);
    EXPECT_EQ(Editor()->selectedText(), QStringLiteral("03.txt")) << "the whole text selected";
}

TEST_F(CellEditingTest, DraggedHeadersMoveByPositionAndEditByIndex) {
    Show();
    // Comments first on screen, then FileName, then Size.
    view->horizontalHeader()->moveSection(1, 0);
    Click(0, 1);
    Click(0, 1);
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(Editor()->SubItem(), 1);
    EXPECT_EQ(Editor()->geometry().left(), 4);
    Key(Qt::Key_Escape);

    Key(Qt::Key_Right);
    Key(Qt::Key_F2);
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(Editor()->SubItem(), 0) << "position 1 shows the FileName column";
    EXPECT_EQ(Editor()->geometry().left(), kCommentsWidth + 4);
    Key(Qt::Key_Escape);

    // Too narrow, or not a column: the editor stays where it is.
    CellEdit probe(0, 0, {}, view->viewport());
    probe.setGeometry(1, 2, 3, 4);
    view->setColumnWidth(1, 4);
    EXPECT_FALSE(view->PlaceEditor(probe, 0, 1)) << "the column's own width counts";
    EXPECT_FALSE(view->PlaceEditor(probe, 0, 3));
    EXPECT_FALSE(view->PlaceEditor(probe, 30, 0));
    EXPECT_EQ(probe.geometry(), QRect(1, 2, 3, 4));
    view->setColumnWidth(1, 5);
    EXPECT_TRUE(view->PlaceEditor(probe, 0, 1));
    EXPECT_EQ(probe.geometry().width(), 2);
}

TEST_F(CellEditingTest, ACellPartlyOutOfViewIsScrolledInBeforeTheEditorIsPlaced) {
    Show(330);
    const int client = view->viewport()->width();
    ASSERT_LT(client, kFileNameWidth + kCommentsWidth + kSizeWidth);
    Click(1, 0);
    Key(Qt::Key_Right);
    Key(Qt::Key_Right);
    // The Size column is now wholly in view: the list scrolled as far as it goes.
    EXPECT_EQ(view->columnViewportPosition(2) + kSizeWidth, client);
    Key(Qt::Key_F2);
    ASSERT_NE(Editor(), nullptr);
    const QRect shape = Editor()->geometry();
    EXPECT_EQ(shape.left(), client - kSizeWidth + 4);
    EXPECT_EQ(shape.left() + shape.width(), client) << "never beyond the client area";
    Key(Qt::Key_Escape);

    Key(Qt::Key_Left);
    Key(Qt::Key_Left);
    Key(Qt::Key_F2);
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(view->columnViewportPosition(0), 0);
    EXPECT_EQ(Editor()->geometry().left(), 4);
}

// A file row's empty comment moves on when its editor is full, each comment row below it
// when it reaches the CD printable width. Every line breaks after its last blank, which stays
// at its end: the word being typed moves down whole, only a word longer than a line splits
// inside, and the rows joined are the text as typed.
TEST_F(CellEditingTest, ALongCommentFlowsOverCommentRowsBetweenWords) {
    session.Options().printAs = PageLayout::CdInsert;
    Show(700);
    QString words;
    for (int i = 0; words.size() < 150; ++i)
        words += QStringLiteral("planning session %1 ").arg(i);
    words.chop(1);
    const QString longWord(60, QChar('m'));
    ASSERT_GT(kFileNameWidth + Width(longWord), 480);
    Edit(9, 1);
    Type(words + ' ' + longWord);
    Key(Qt::Key_Return);

    QStringList lines{CellText(9, 1)};
    for (int row = 10; session.Listing().table.IsCommentRow(row); ++row)
        lines << CellText(row, 1);
    const auto firstM = std::find_if(lines.begin(), lines.end(),
                                     [](const QString& line) { return line.startsWith('m'); });
    const qsizetype wordLines = firstM - lines.begin();
    ASSERT_GE(wordLines, 3);
    ASSERT_GE(lines.size() - wordLines, 2);
    EXPECT_EQ(lines.join(QString()), words + ' ' + longWord) << lines.join('|').toStdString();
    for (qsizetype line = 0; line < wordLines; ++line)
        EXPECT_TRUE(lines[line].endsWith(' ')) << "broken after a blank: " << line;
    EXPECT_EQ(CellText(9 + static_cast<int>(lines.size()), 0), QStringLiteral("10.txt"));
    EXPECT_TRUE(session.Listing().modified);
}

TEST_F(CellEditingTest, EscRestoresEnterStoresAndClicksOrScrollingStore) {
    Show();
    Edit(2, 1);
    Type(QStringLiteral("draft"));
    Key(Qt::Key_Escape);
    EXPECT_EQ(CellText(2, 1), QString());
    EXPECT_FALSE(session.Listing().modified);

    Edit(2, 0);
    Key(Qt::Key_Return);
    EXPECT_EQ(CellText(2, 0), QStringLiteral("02.txt")) << "Enter stores the same text again";
    EXPECT_FALSE(session.Listing().modified);
    EXPECT_EQ(test::ReadFile(tree.Path("docs/02.txt")), "x");

    Edit(2, 1);
    Type(QStringLiteral("final"));
    Click(7, 1);
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_EQ(CellText(2, 1), QStringLiteral("final")) << "a click elsewhere stores";
    EXPECT_EQ(view->FocusedRow(), 7);

    Click(7, 1);
    ASSERT_NE(Editor(), nullptr);
    Type(QStringLiteral("wheel"));
    QWheelEvent wheel(CellCentre(7, 1), view->viewport()->mapToGlobal(CellCentre(7, 1)), {},
                      QPoint(0, -120), Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view->viewport(), &wheel);
    ReleaseEditors();
    EXPECT_EQ(Editor(), nullptr) << "scrolling ends the edit";
    EXPECT_EQ(CellText(7, 1), QStringLiteral("wheel"));
    EXPECT_TRUE(view->hasFocus());
    EXPECT_TRUE(session.Listing().modified);
}

TEST_F(CellEditingTest, AnEarlierFullLineDoesNotStartRowsElsewhere) {
    session.Options().printAs = PageLayout::CdInsert;
    Show();
    // A comment row whose text already reaches the printable width when it is opened.
    model.InsertRows(1, 1, [&] { session.InsertCommentRow(0); });
    session.SetCellText(1, 1, QString(60, QChar('m')).toStdString());
    session.SetCellText(3, 1, "note");
    Edit(1, 1);
    ASSERT_NE(Editor(), nullptr);
    Key(Qt::Key_Escape);

    // A cell that held text fills without moving on.
    Edit(3, 1);
    Key(Qt::Key_End);
    Type(QString(40, QChar('m')));
    EXPECT_EQ(session.Listing().table.RowCount(), 31);
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(Editor()->Item(), 3);
}

TEST_F(CellEditingTest, AnOpenEditorKeepsItsTextWhenTheRowsAreReset) {
    Show();
    Edit(6, 1);
    Type(QStringLiteral("kept"));
    model.Change([&] { session.ClickColumn(0); });
    ReleaseEditors();
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_EQ(CellText(6, 1), QStringLiteral("kept"));
    EXPECT_EQ(CellText(6, 0), QStringLiteral("06.txt")) << "edited rows are not sorted";
}

// Without the Comments column nothing is edited; in the File Data layout a second click
// and F2 ask for the row's details instead.
TEST_F(CellEditingTest, NoEditsWithoutTheCommentsColumnAndDetailsInTheFileDataLayout) {
    session.Options().addComments = 0;
    Show();
    EXPECT_FALSE(view->EditNotify());
    Edit(1, 1);
    Key(Qt::Key_F2);
    EXPECT_EQ(Editor(), nullptr);

    session.Options().addComments = 1;
    session.Options().printAs = PageLayout::FileData;
    Read();
    EXPECT_TRUE(view->EditNotify()) << "the next listing follows the setting";
    std::vector<int> asked;
    editing->SetDetailsRequest([&](int row) { asked.push_back(row); });
    Edit(8, 2);
    Key(Qt::Key_F2);
    EXPECT_EQ(asked, (std::vector<int>{8, 8}));
    EXPECT_EQ(Editor(), nullptr);
}

// The row commands themselves are the session's; here, that the menu reaches them and the
// view follows.
TEST_F(CellEditingTest, TheContextMenuInsertsAndDeletesRows) {
    const auto openMenu = [&] {
        QContextMenuEvent event(QContextMenuEvent::Mouse, CellCentre(0, 0),
                                view->viewport()->mapToGlobal(CellCentre(0, 0)));
        QApplication::sendEvent(view->viewport(), &event);
        return test::OpenRowMenu(*view);
    };
    Show();
    QMenu* menu = openMenu(); // a blank item, "Insert Row" and "Delete Row"
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 3);
    Click(2, 0);
    menu->actions()[0]->trigger();
    menu->close();
    EXPECT_EQ(model.rowCount(), 31);
    EXPECT_EQ(session.Listing().table.Row(3), RowRecord{}) << "a blank row below the focused row";
    EXPECT_EQ(view->FocusedRow(), 3) << "which takes the focus";
    openMenu()->actions()[1]->trigger();
    EXPECT_EQ(CellText(4, 0), QString()) << "again";
    openMenu()->actions()[2]->trigger();
    EXPECT_EQ(model.rowCount(), 31);
    EXPECT_EQ(CellText(4, 0), QStringLiteral("03.txt")) << "the focused row is gone";
    // Inside a comment's rows, below them.
    model.InsertRows(6, 1, [&] { session.InsertCommentRow(5); });
    Click(6, 0);
    openMenu()->actions()[1]->trigger();
    EXPECT_EQ(view->FocusedRow(), 7);
    EXPECT_EQ(CellText(6, 0) + CellText(7, 0) + CellText(8, 0), QStringLiteral("comments:05.txt"));
}

} // namespace
} // namespace dirscribe
