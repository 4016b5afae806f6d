// SPDX-License-Identifier: MIT
// The main window on the offscreen platform: the options dialog, File Data, a comment typed,
// saved and opened through the file dialogs, and the print preview.
#include "WindowTest.h"
#include "core/details/FileDataProgram.h"
#include "gui/print/ListingPrinter.h"
#include "gui/table/CellListView.h"
#include "support/PeBytes.h"
#include "support/ShellCommand.h"
#include "support/WindowParts.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <gtest/gtest.h>

namespace dirscribe {
namespace {

using namespace command;
using test::ReadFile;

using MainWindowTest = test::WindowTest;

// Types a file name into the file dialog the window has just opened and presses Enter.
void AcceptFileDialog(MainWindow& window, const char* objectName, const QString& file) {
    auto* dialog = window.findChild<QFileDialog*>(objectName);
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(name, nullptr);
    name->setText(file);
    QTest::keyClick(name, Qt::Key_Return);
    QApplication::processEvents();
}

// Sets the custom depth in the options dialog and presses OK.
void SetCustomDepth(MainWindow& window, const char* depth) {
    window.Action(kSettings)->trigger();
    const QPointer<QDialog> dialog = window.findChild<QDialog*>(QStringLiteral("optionsDialog"));
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
    auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("customDepth"));
    ASSERT_NE(field, nullptr);
    field->setText(QString::fromUtf8(depth));
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("okButton")), Qt::LeftButton);
    QApplication::processEvents();
    delete dialog.data(); // a closed dialog deletes itself later; the next one must be new
}

TEST_F(MainWindowTest, SettingsChangeTheCustomDepthItemButNotTheDepth) {
    const auto window = Open();
    SetCustomDepth(*window, "7");
    EXPECT_EQ(window->Action(kDepthCustom)->text(), "Depth = Custom (7)");
    EXPECT_EQ(session->Options().customDepth, 7);
    EXPECT_EQ(session->Options().lastDepth, 0);
    SetCustomDepth(*window, "2"); // a depth a fixed item offers too
    window->Action(kDepth2)->trigger();
    EXPECT_FALSE(window->Action(kDepthCustom)->isChecked()) << "one mark for one depth";
}

TEST_F(MainWindowTest, InTheFileDataLayoutF2FetchesTheFilesDetailsIntoRows) {
    if (!test::HasCommand("sox") || !test::HasCommand("flac") || !test::HasCommand("convert"))
        GTEST_SKIP() << "sox, flac or convert is missing";
    folder.File("disk/app.exe",
                test::PeFile({{0x0409, test::VersionInfoBlock(
                                           {{"040904B0", {{"CompanyName", u"Acme"}}}})}}));
    ASSERT_TRUE(test::RunShell(folder.Path("disk"),
                               "sox -n -r 8000 -c 1 -b 16 t.wav synth 1 sine && flac -s "
                               "--tag=TITLE=Tune t.wav -o song.flac && rm t.wav && "
                               "convert -size 40x30 xc:red photo.jpg"));
    const auto window = Open(std::make_shared<FileDataProgram>(DIRSCRIBE_FILEDATA_PROGRAM));
    window->Action(kFileData)->trigger();
    ASSERT_TRUE(List(*window, "disk"));
    CellListView& table = window->View().Table();
    const QAbstractItemModel& model = *table.model();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    // A click focuses the row, F2 asks for its details, read while the table takes no edits.
    const auto fetch = [&](int row) {
        QTest::mouseClick(table.viewport(), Qt::LeftButton, {},
                          table.visualRect(model.index(row, 0)).center());
        QTest::keyClick(&table, Qt::Key_F2);
        EXPECT_TRUE(window->View().Reading());
        EXPECT_FALSE(window->Action(kRefresh)->isEnabled());
        EXPECT_TRUE(QTest::qWaitFor([&] { return !window->View().Reading(); }, 10000));
    };
    fetch(2);
    fetch(1);
    fetch(0);
    const std::vector<std::pair<QString, QString>> rows = {
        {"app.exe", "File's data:"}, {"  ***Company Name", "Acme"}, {"photo.jpg", "Photo:"},
        {"**Size:", "40 x 30"},      {"song.flac", "FLAC Tag:"},    {"**Title:", "Tune"},
        {"**Length:", "0 min 1 sec"}};
    for (int row = 0; row < static_cast<int>(rows.size()); ++row)
        EXPECT_EQ(std::make_pair(model.index(row, 0).data().toString(),
                                 model.index(row, 1).data().toString()),
                  rows[static_cast<std::size_t>(row)]);
    EXPECT_TRUE(session->Listing().modified);
    EXPECT_EQ(table.FocusedRow(), 0);
    const int fetched = model.rowCount();
    window->Action(kUndo)->trigger();
    EXPECT_EQ(model.rowCount(), fetched - 1);
    EXPECT_EQ(model.index(0, 1).data().toString(), "") << "the details are undone whole";
    window->Action(kRedo)->trigger();
    EXPECT_EQ(model.index(1, 1).data().toString(), "Acme");
}

// A person's whole errand: a long comment typed into the table flows onto a continuation
// row; the changed listing is offered for saving before it is lost; saved through
// the file dialog, it comes back as typed.
TEST_F(MainWindowTest, ALongCommentFlowsSavesAndReopensAsTyped) {
    folder.File("disk/invoices.pdf", "1");
    folder.File("disk/notes.txt", "22");
    const auto window = Open();
    window->Action(kPageFormat)->trigger();
    ASSERT_TRUE(List(*window, "disk"));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    CellListView& table = window->View().Table();
    const QPoint comment = table.visualRect(table.model()->index(0, 1)).center();
    QTest::mouseClick(table.viewport(), Qt::LeftButton, {}, comment);
    QTest::mouseClick(table.viewport(), Qt::LeftButton, {}, comment);
    const QString text = QStringLiteral("Scanned invoices from the spring audit, kept seven years");
    for (const QChar c : text)
        QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);

    const ListingTable& rows = session->Listing().table;
    ASSERT_EQ(rows.RowCount(), 3);
    EXPECT_EQ(rows.Cell(1, 0), "comments:");
    EXPECT_EQ(std::string(rows.Cell(0, 1)) + std::string(rows.Cell(1, 1)), text.toStdString())
        << "broken after a blank, which stays at the end of the first row";
    EXPECT_TRUE(rows.Cell(0, 1).ends_with(' '));

    QStringList asked;
    window->SetSaveQuestion([&](const QString& question) {
        asked << question;
        return QMessageBox::Cancel;
    });
    window->Action(kNew)->trigger();
    EXPECT_EQ(asked, QStringList{"Save changes to Untitled?"});
    ASSERT_EQ(rows.RowCount(), 3) << "Cancel keeps the listing";
    std::vector<RowRecord> typed;
    for (int row = 0; row < rows.RowCount(); ++row)
        typed.push_back(rows.Row(row));

    window->Action(kSaveAs)->trigger();
    AcceptFileDialog(*window, "saveDialog", QString::fromStdString(folder.Path("audit")));
    const std::string saved = folder.Path("audit.dsc"); // the dialog adds the extension
    EXPECT_EQ(window->windowFilePath().toStdString(), saved);
    const std::string bytes = ReadFile(saved);
    window->Action(kSave)->trigger();
    EXPECT_EQ(ReadFile(saved), bytes) << "Save writes the same file to the same place";
    window->Action(kNew)->trigger();
    EXPECT_TRUE(window->windowFilePath().isEmpty());
    EXPECT_FALSE(window->Action(kUpdateListing)->isEnabled()) << "New leaves no folder";
    EXPECT_EQ(asked.size(), 1) << "a saved listing is not asked about";

    window->Action(kOpen)->trigger();
    AcceptFileDialog(*window, "openDialog", QString::fromStdString(saved));
    ASSERT_EQ(rows.RowCount(), 3);
    for (int row = 0; row < rows.RowCount(); ++row)
        EXPECT_EQ(rows.Row(row), typed[static_cast<std::size_t>(row)]) << row;
    EXPECT_EQ(window->View().PathBox().text().toStdString(), folder.Path("disk"));
    EXPECT_EQ(window->windowFilePath().toStdString(), saved);
    EXPECT_TRUE(notice.shown.empty());
}

// Runs `answer` on the question once it is asked.
void WhenQuestionShows(const std::function<void(QMessageBox&)>& answer) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, answer] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            poll->deleteLater();
            poll->stop();
            answer(*box);
        }
    });
    poll->start(10);
}

// Runs `inspect` on the preview window once it is up, then closes it.
void WhenPreviewShows(const std::function<void(QPrintPreviewDialog&)>& inspect) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, inspect] {
        auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        if (!preview)
            return;
        poll->deleteLater();
        poll->stop();
        inspect(*preview);
        preview->reject();
    });
    poll->start(10);
}

TEST_F(MainWindowTest, PreviewShowsTheJobsPagesAndAnEmptyListingAsksFirst) {
    for (int file = 0; file < 71; ++file)
        folder.File("disk/file" + std::to_string(file), "x");
    const auto window = Open();
    window->Action(kPageFormat)->trigger();
    ASSERT_TRUE(List(*window, "disk"));
    int pages = 0;
    WhenPreviewShows([&](QPrintPreviewDialog& preview) {
        pages = preview.findChild<QPrintPreviewWidget*>()->pageCount();
    });
    window->Action(kPreview)->trigger(); // 70 rows fill the first letter page
    EXPECT_EQ(pages, 2);

    QStringList asked;
    window->Action(kNew)->trigger();
    WhenQuestionShows([&](QMessageBox& box) {
        asked << box.windowTitle() << box.text();
        box.button(QMessageBox::No)->click();
    });
    window->Action(kPreview)->trigger();
    EXPECT_EQ(asked, (QStringList{"Dirscribe",
                                  "Selected Folder is empty! \nDo you want to proceed anyway?"}));
}

TEST(MainWindowGeometry, IsCentredAndScaledByIconSpacing) {
    const QRect screen(0, 0, 1024, 768);
    EXPECT_EQ(MainWindow::InitialGeometry(screen, 75), QRect(287, 209, 450, 350));
    EXPECT_EQ(MainWindow::InitialGeometry(screen, 60), QRect(287, 209, 450, 350));
    EXPECT_EQ(MainWindow::InitialGeometry(screen, 96), QRect(242, 174, 540, 420));
}

} // namespace
} // namespace dirscribe
