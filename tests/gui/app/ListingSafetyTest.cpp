// SPDX-License-Identifier: MIT
// The listing on show is never lost or mixed: a changed listing is offered for saving before
// anything replaces it, Save never writes over another folder's document, and a read that
// fails leaves the window describing the listing it still shows.
#include "gui/app/WindowFixture.h"
#include "gui/tree/FolderTree.h"
#include "support/ScopedEnvironment.h"

#include <QApplication>
#include <QDropEvent>
#include <QFileDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QTest>
#include <functional>

namespace dirscribe {
namespace {

using namespace command;

class ListingSafetyTest : public test::WindowFixture {
protected:
    ListingSafetyTest() {
        folder.File("home/disk/a.txt", "1");
        folder.File("home/other/b.txt", "22");
    }
    test::ScopedEnvironment home{"HOME", folder.Path("home").c_str()};
};

TEST_F(ListingSafetyTest, EveryWayOfReplacingAChangedListingAsksFirst) {
    const auto window = Open();
    ASSERT_TRUE(List(*window, folder.Path("home/disk")));
    const QString document = QString::fromStdString(folder.Path("kept.dsc"));
    ASSERT_TRUE(window->SaveDocument(document));
    QStringList asked;
    int answer = QMessageBox::Cancel;
    window->SetSaveQuestion([&](const QString& text) {
        asked << text;
        return answer;
    });
    ASSERT_TRUE(session->SetCellText(0, 0, "typed"));
    QLineEdit& pathBox = window->View().PathBox();
    const QString other = QString::fromStdString(folder.Path("home/other"));
    QMimeData dropped;
    dropped.setUrls({QUrl::fromLocalFile(document)});
    const std::vector<std::function<void()>> ways{
        [&] { window->Action(kRefresh)->trigger(); },
        [&] {
            pathBox.setText(other);
            QTest::keyClick(&pathBox, Qt::Key_Return);
        },
        [&] {
            pathBox.setText(other);
            window->Action(kFoldersListing)->trigger();
        },
        [&] {
            window->Action(kBrowse)->trigger();
            FolderTree& tree = window->View().Tree();
            tree.setCurrentIndex(tree.model()->index(1, 0, tree.model()->index(0, 0)));
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
        EXPECT_FALSE(window->View().Reading()) << way;
        EXPECT_EQ(session->Table().Cell(0, 0), "typed") << way;
        EXPECT_EQ(pathBox.text().toStdString(), folder.Path("home/disk")) << way;
        EXPECT_TRUE(window->isVisible()) << way;
    }
    EXPECT_EQ(asked.size(), 9); // the tree's pick and Folder's Listing asked once each
    EXPECT_EQ(asked.filter(QStringLiteral("Save changes to kept.dsc?")), asked);

    answer = QMessageBox::No;
    pathBox.setText(other);
    EXPECT_TRUE(Run(*window, kFoldersListing));
    EXPECT_EQ(session->Table().Cell(0, 0), "b.txt");
}

TEST_F(ListingSafetyTest, SaveNeverWritesAnotherFoldersListingOverADocument) {
    const auto window = Open();
    ASSERT_TRUE(List(*window, folder.Path("home/disk")));
    const std::string document = folder.Path("disk.dsc");
    ASSERT_TRUE(window->SaveDocument(QString::fromStdString(document)));
    const std::string bytes = test::ReadFile(document);
    ASSERT_TRUE(Run(*window, kRefresh));
    EXPECT_EQ(window->DocumentPath().toStdString(), document) << "the same folder, read again";

    ASSERT_TRUE(List(*window, folder.Path("home/other")));
    EXPECT_TRUE(window->DocumentPath().isEmpty());
    window->Action(kSaveShortcut)->trigger();
    auto* dialog = window->findChild<QFileDialog*>(QStringLiteral("saveDialog"));
    ASSERT_NE(dialog, nullptr) << "Save asks for a name";
    dialog->reject();
    EXPECT_EQ(test::ReadFile(document), bytes);
}

TEST_F(ListingSafetyTest, AFailedOrRefusedReadLeavesTheWindowDescribingTheListingOnShow) {
    const auto window = Open();
    ASSERT_TRUE(List(*window, folder.Path("home/disk")));
    const QString title = window->windowTitle();
    const std::string document = folder.Path("first.dsc");
    ASSERT_TRUE(window->SaveDocument(QString::fromStdString(document)));
    const std::string bytes = test::ReadFile(document);
    for (const std::string& typed : {std::string("bad|path"), folder.Path("missing")}) {
        EXPECT_FALSE(List(*window, typed)) << typed;
        EXPECT_EQ(window->View().PathBox().text().toStdString(), folder.Path("home/disk"));
        EXPECT_EQ(window->windowTitle(), title);
        EXPECT_EQ(session->Doc().summary.fileCount, 1);
        ASSERT_TRUE(window->SaveDocument(QString::fromStdString(document)));
        EXPECT_EQ(test::ReadFile(document), bytes) << "the listing on show, whole";
    }
    EXPECT_EQ(notice.shown.size(), 2u);
}

} // namespace
} // namespace dirscribe
