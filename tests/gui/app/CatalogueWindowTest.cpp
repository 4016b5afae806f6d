// SPDX-License-Identifier: MIT
// The catalogue in the window: export, Find, Find in Saved Listings and Update Listing, on
// real folders and documents.
#include "WindowTest.h"
#include "core/docfile/DocumentFile.h"
#include "core/ops/ListingExport.h"
#include "core/platform/Clock.h"
#include "gui/app/DuplicatesDialog.h"
#include "gui/app/SavedListingsDialog.h"
#include "gui/dialogs/ListingPropertiesDialog.h"
#include "gui/table/CellListView.h"
#include "gui/table/TableEditing.h"
#include "support/SessionReport.h"
#include "support/StandardListing.h"
#include "support/WindowParts.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QHeaderView>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>

namespace dirscribe {
namespace {

using namespace command;

class CatalogueWindowTest : public test::WindowTest {
protected:
    CatalogueWindowTest() {
        for (const char* file : {"disk/a.mp3", "disk/b.txt", "disk/c.mp3", "disk/Live/d.mp3"})
            folder.File(file, "x");
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
    // A dialog the window opened, once those closed before it are gone.
    template <typename Dialog> static Dialog* Opened(MainWindow& window, const char* name) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return window.findChild<Dialog*>(QString::fromLatin1(name));
    }
};

TEST_F(CatalogueWindowTest, ExportWritesTheTypeChosenAndAFailedOneLeavesNothing) {
    const auto window = Open();
    EXPECT_FALSE(window->Action(kExport)->isEnabled()) << "no listing yet";
    ASSERT_TRUE(List(*window, "disk"));
    folder.File("out/a-file");
    const auto exportAs = [&](int typesDown, const char* name) {
        window->Action(kExport)->trigger();
        auto* dialog = Opened<QFileDialog>(*window, "exportDialog");
        ASSERT_NE(dialog, nullptr);
        auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        for (int down = 0; down < typesDown; ++down)
            QTest::keyClick(types, Qt::Key_Down); // as the user picks a type
        auto* typed = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        typed->setText(QString::fromStdString(folder.Path(name)));
        QTest::keyClick(typed, Qt::Key_Return);
    };
    const auto expected = [&](ExportFormat format) {
        StringSink sink;
        WriteExport(*session, format, Now(), sink);
        return sink.Take();
    };
    exportAs(0, "out/listing");
    exportAs(1, "out/listing");
    exportAs(2, "out/page");
    exportAs(0, "out/named.JSON"); // the name's own extension wins over the type
    EXPECT_EQ(test::ReadFile(folder.Path("out/listing.csv")), expected(ExportFormat::Csv));
    EXPECT_EQ(test::ReadFile(folder.Path("out/listing.json")), expected(ExportFormat::Json));
    EXPECT_EQ(test::ReadFile(folder.Path("out/page.html")), expected(ExportFormat::Html));
    EXPECT_EQ(test::ReadFile(folder.Path("out/named.JSON")), expected(ExportFormat::Json));
    EXPECT_TRUE(notice.shown.empty());

    exportAs(0, "out/a-file/x.csv"); // a file where a folder should be
    ASSERT_EQ(notice.shown.size(), 1u);
    EXPECT_NE(notice.shown[0].text.find("a-file"), std::string::npos) << notice.shown[0].text;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path("out")), {}), 5);
}

TEST_F(CatalogueWindowTest, FindMovesFromMatchToMatchAndSaysWhenNoneIsLeft) {
    const auto window = Open();
    ASSERT_TRUE(List(*window, "disk"));
    const auto find = [&](const char* text) {
        window->Action(kFind)->trigger();
        auto* dialog = Opened<QInputDialog>(*window, "findDialog");
        ASSERT_NE(dialog, nullptr);
        dialog->setTextValue(QString::fromUtf8(text));
        dialog->accept();
    };
    const auto next = [&] {
        window->Action(kFindNext)->trigger();
    };
    const auto at = [&] {
        return window->View().Table().FocusedRow();
    };
    const auto status = [&] {
        return window->statusBar()->currentMessage();
    };

    find("*.MP3");
    EXPECT_EQ(at(), Row("a.mp3"));
    EXPECT_EQ(status(), "Match 1 of 2: \"*.MP3\"");
    next();
    EXPECT_EQ(at(), Row("c.mp3"));
    next();
    EXPECT_EQ(at(), Row("c.mp3"));
    EXPECT_EQ(status(), "No more rows match \"*.MP3\"; Find Next starts again at the top");
    next();
    EXPECT_EQ(at(), Row("a.mp3"));

    find("mp3");
    EXPECT_EQ(at(), Row("a.mp3")) << "the focused row matches itself";
    // A comment typed since is found too: plain text looks in names and comments.
    window->View().Editing().OnBeginLabelEdit(Row("b.txt"), 1);
    test::OpenEditor(window->View())->setText("an MP3 list");
    test::OpenEditor(window->View())->Finish();
    next();
    EXPECT_EQ(at(), Row("b.txt"));
    EXPECT_EQ(status(), "Match 2 of 3: \"mp3\"");
    find("zzz");
    EXPECT_EQ(at(), Row("b.txt"));
    EXPECT_EQ(status(), "No row matches \"zzz\"");
    // A new Find looks through the whole listing: from the last row on round to the first.
    window->View().Table().FocusRow(session->Listing().table.RowCount() - 1);
    find("a.mp3");
    EXPECT_EQ(at(), Row("a.mp3"));
    EXPECT_EQ(status().toStdString(), "Match 1 of 1: \"a.mp3\"");
}

TEST_F(CatalogueWindowTest, FindInSavedListingsOpensTheDocumentAtTheRowThatMatched) {
    folder.Folder("docs/sub");
    const auto window = Open();
    ASSERT_TRUE(List(*window, "disk"));
    ASSERT_TRUE(window->SaveDocument(QString::fromStdString(folder.Path("docs/disk.dsc"))));
    ASSERT_TRUE(List(*window, "disk/Live"));
    const QString live = QString::fromStdString(folder.Path("docs/sub/live.dsc"));
    ASSERT_TRUE(window->SaveDocument(live));
    folder.File("docs/broken.dsc", "not a listing");
    ASSERT_TRUE(List(*window, "disk"));

    window->Action(kFindInSaved)->trigger();
    auto* dialog = Opened<SavedListingsDialog>(*window, "savedListingsDialog");
    ASSERT_NE(dialog, nullptr);
    test::PartNamed<QLineEdit>(*dialog, "pattern").setText(QStringLiteral("*.mp3"));
    test::PartNamed<QLineEdit>(*dialog, "folder")
        .setText(QString::fromStdString(folder.Path("docs")));
    QSignalSpy ended(dialog, &SavedListingsDialog::SearchEnded);
    dialog->Search();
    ASSERT_TRUE(ended.wait(10000));
    EXPECT_EQ(test::PartNamed<QStatusBar>(*dialog, "status").currentMessage().toStdString(),
              "3 matches in 2 of 3 saved listings; 1 could not be searched");
    EXPECT_TRUE(notice.shown.empty()) << "no box over the results";

    const QAbstractItemModel& results = *test::PartNamed<QTableView>(*dialog, "results").model();
    ASSERT_EQ(results.rowCount(), 4) << "the damaged document is a line below the matches";
    EXPECT_TRUE(results.index(3, 0).data().toString().contains("broken.dsc"));
    EXPECT_EQ(test::PartNamed<QTableView>(*dialog, "results").columnSpan(3, 0),
              results.columnCount());
    int found = 0;
    while (found < 3 && results.index(found, 0).data() != "sub/live.dsc")
        ++found;
    ASSERT_LT(found, 3);
    EXPECT_EQ(results.index(found, 2).data(), "d.mp3");
    // Typing searches by itself once typing pauses.
    test::PartNamed<QLineEdit>(*dialog, "pattern").clear();
    QTest::keyClicks(&test::PartNamed<QLineEdit>(*dialog, "pattern"), QStringLiteral("liv"));
    ASSERT_TRUE(ended.wait(10000));
    EXPECT_EQ(test::PartNamed<QStatusBar>(*dialog, "status").currentMessage(),
              "1 match in 1 of 3 saved listings; 1 could not be searched");
    EXPECT_EQ(results.index(0, 2).data(), "Live");
    EXPECT_TRUE(notice.shown.empty());
    test::PartNamed<QLineEdit>(*dialog, "pattern").setText(QStringLiteral("*.mp3"));
    dialog->Search();
    ASSERT_TRUE(ended.wait(10000));

    // The listing on show was changed: it is offered for saving first.
    ASSERT_TRUE(session->SetCellText(0, 1, "typed"));
    QStringList asked;
    window->SetSaveQuestion([&](const QString& text) { return asked << text, QMessageBox::No; });
    test::PartNamed<QTableView>(*dialog, "results").setCurrentIndex(results.index(found, 0));
    dialog->OpenCurrent();
    EXPECT_EQ(asked, QStringList{"Save changes to Untitled?"});
    EXPECT_EQ(window->windowFilePath(), live);
    const int row = results.index(found, 1).data().toInt() - 1;
    EXPECT_EQ(window->View().Table().FocusedRow(), row);
    EXPECT_TRUE(session->Listing().table.Cell(row, 0).ends_with("d.mp3"));
}

TEST_F(CatalogueWindowTest, PropertiesKeepTheLabelAndNoteAndDuplicatesOpenACopy) {
    folder.Folder("docs");
    const auto window = Open();
    EXPECT_FALSE(window->Action(kListingProperties)->isEnabled()) << "no listing yet";
    ASSERT_TRUE(List(*window, "disk"));
    window->Action(kListingProperties)->trigger();
    auto* properties = Opened<ListingPropertiesDialog>(*window, "listingPropertiesDialog");
    ASSERT_NE(properties, nullptr);
    properties->findChild<QLineEdit*>(QStringLiteral("label"))->setText(QStringLiteral("Photos"));
    properties->findChild<QPlainTextEdit*>(QStringLiteral("note"))
        ->setPlainText(QStringLiteral("grey box"));
    properties->accept();
    EXPECT_TRUE(session->Listing().modified);
    const QString saved = QString::fromStdString(folder.Path("docs/disk.dsc"));
    ASSERT_TRUE(window->SaveDocument(saved));
    ASSERT_TRUE(window->SaveDocument(QString::fromStdString(folder.Path("docs/copy.dsc"))));
    const DocumentContents contents = LoadDocumentFile(folder.Path("docs/disk.dsc"));
    EXPECT_EQ(contents.volume.facts.label, "Photos");
    EXPECT_EQ(contents.volume.note, "grey box");
    EXPECT_NE(contents.volume.listed, 0u);

    window->Action(kDuplicatesInSaved)->trigger();
    auto* duplicates = Opened<DuplicatesDialog>(*window, "duplicatesDialog");
    ASSERT_NE(duplicates, nullptr);
    test::PartNamed<QLineEdit>(*duplicates, "folder")
        .setText(QString::fromStdString(folder.Path("docs")));
    QSignalSpy ended(duplicates, &DuplicatesDialog::SearchEnded);
    duplicates->Find();
    ASSERT_TRUE(ended.wait(10000));
    EXPECT_EQ(test::PartNamed<QStatusBar>(*duplicates, "status").currentMessage(),
              "3 files stored more than once");
    QTreeWidget& groups = test::PartNamed<QTreeWidget>(*duplicates, "groups");
    ASSERT_EQ(groups.topLevelItemCount(), 3);
    QTreeWidgetItem* copy = groups.topLevelItem(0)->child(1);
    EXPECT_EQ(copy->text(0), "disk.dsc");
    groups.setCurrentItem(copy);
    duplicates->OpenCurrent();
    EXPECT_EQ(window->windowFilePath(), saved);
    EXPECT_EQ(window->View().Table().FocusedRow(), copy->text(1).toInt() - 1);
}

TEST_F(CatalogueWindowTest, UpdateKeepsATypedCommentAsksNothingAndCountsTheEntries) {
    const auto window = Open();
    EXPECT_FALSE(window->Action(kUpdateListing)->isEnabled()) << "no listing yet";
    ASSERT_TRUE(List(*window, "disk"));
    const QString document = QString::fromStdString(folder.Path("disk.dsc"));
    ASSERT_TRUE(window->SaveDocument(document));
    folder.File("disk/new.txt", "x");
    ASSERT_EQ(std::remove(folder.Path("disk/b.txt").c_str()), 0);
    // A comment still in its editor when the update starts is carried over too.
    TableEditing& editing = window->View().Editing();
    editing.OnBeginLabelEdit(Row("a.mp3"), 1);
    test::OpenEditor(window->View())->setText("first pressing");
    QStringList asked;
    window->SetSaveQuestion(
        [&](const QString& text) { return asked << text, QMessageBox::Cancel; });

    QSignalSpy finished(&window->View(), &ListingView::ReadFinished);
    window->Action(kUpdateListing)->trigger();
    editing.OnBeginLabelEdit(Row("c.mp3"), 1);
    EXPECT_EQ(test::OpenEditor(window->View()), nullptr)
        << "nothing is typed into rows being replaced";
    ASSERT_TRUE(finished.wait(10000));
    ASSERT_TRUE(finished.first()[0].toBool());

    EXPECT_TRUE(asked.isEmpty());
    EXPECT_EQ(session->Listing().table.Cell(Row("a.mp3"), 1), "first pressing");
    EXPECT_EQ(Row("b.txt"), -1) << "gone with nothing typed";
    EXPECT_NE(Row("new.txt"), -1);
    EXPECT_EQ(window->statusBar()->currentMessage(), "Listing updated: 3 kept, 1 new, 1 gone");
    EXPECT_TRUE(session->Listing().modified);
    window->Action(kSave)->trigger(); // into the document it came from
    EXPECT_FALSE(session->Listing().modified);
    EXPECT_NE(test::ReadFile(document.toStdString()).find("first pressing"), std::string::npos);
}

// In the window too comments belong to entries: a change of columns on an opened document
// waits for a refresh, which asks nothing and keeps them for the next save; on a listing read
// in this run a new column shows at once; a sort keeps each under its entry.
TEST_F(CatalogueWindowTest, RefreshColumnsAndSortingKeepEveryCommentWithItsEntry) {
    folder.File("disk/a.mp3", std::string(5000, 'a'));
    const auto window = Open();
    ASSERT_TRUE(List(*window, "disk"));
    session->SetCellText(Row("a.mp3"), 1, "first pressing");
    session->SetCellText(session->InsertCommentRow(Row("a.mp3")), 1, "and a second");
    session->SetCellText(Row("[Live]"), 1, "the live set");
    const QString document = QString::fromStdString(folder.Path("disk.dsc"));
    ASSERT_TRUE(window->SaveDocument(document));
    ASSERT_TRUE(window->OpenDocument(document));
    QStringList asked;
    window->SetSaveQuestion(
        [&](const QString& text) { return asked << text, QMessageBox::Cancel; });
    const QAbstractItemModel& model = *window->View().Table().model();

    window->Action(kAddDate)->trigger();
    EXPECT_EQ(model.columnCount(), 3);
    EXPECT_TRUE(window->statusBar()->currentMessage().contains("refreshed"));
    ASSERT_TRUE(test::RunReadingCommand(*window, kRefresh));
    EXPECT_TRUE(asked.isEmpty());
    EXPECT_EQ(session->Listing().table.GetColumnTitle(3), "Last Modified");
    window->Action(kSave)->trigger();
    const std::string saved = test::ReadFile(document.toStdString());
    for (const char* comment : {"first pressing", "and a second", "the live set"})
        EXPECT_NE(saved.find(comment), std::string::npos) << comment;

    window->Action(kAddAttributes)->trigger();
    EXPECT_EQ(model.columnCount(), 5) << "at once";
    QHeaderView& head = *window->View().Table().horizontalHeader();
    for (int click = 0; click < 2; ++click) // by size, largest first
        QTest::mouseClick(head.viewport(), Qt::LeftButton, {},
                          QPoint(head.sectionViewportPosition(2) + 5, 5));
    const int a = Row("a.mp3");
    EXPECT_EQ(a, 1) << "below the folder";
    EXPECT_EQ(model.index(a, 1).data().toString(), "first pressing");
    EXPECT_EQ(model.index(a + 1, 1).data().toString(), "and a second");
    EXPECT_EQ(model.index(Row("[Live]"), 1).data().toString(), "the live set");
}

TEST_F(CatalogueWindowTest, UpdateOfAFolderThatIsGoneChangesNothing) {
    const auto window = Open();
    ASSERT_TRUE(List(*window, "disk"));
    const QString document = QString::fromStdString(folder.Path("disk.dsc"));
    ASSERT_TRUE(window->SaveDocument(document));
    ASSERT_TRUE(window->OpenDocument(document));
    ASSERT_EQ(std::rename(folder.Path("disk").c_str(), folder.Path("moved").c_str()), 0);
    const std::string report = test::ReportOf(*session, 0);

    EXPECT_FALSE(test::RunReadingCommand(*window, kUpdateListing));
    ASSERT_EQ(notice.shown.size(), 1u);
    EXPECT_EQ(notice.shown[0].text, "There are problem reading folder  " + folder.Path("disk"));
    EXPECT_EQ(test::ReportOf(*session, 0), report);
    EXPECT_FALSE(session->Listing().modified);
    EXPECT_EQ(window->windowFilePath(), document);
    EXPECT_TRUE(window->Action(kUpdateListing)->isEnabled());
}

} // namespace
} // namespace dirscribe
