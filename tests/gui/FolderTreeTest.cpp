// SPDX-License-Identifier: MIT
// The folder tree over a temporary folder hierarchy, driven with real clicks and keys.
#include "gui/tree/FolderTree.h"

#include "gui/tree/FolderTreeModel.h"
#include "support/ChildProcess.h"
#include "support/TempTree.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <sstream>

namespace dirscribe {
namespace {

class FolderTreeTest : public testing::Test {
protected:
    FolderTreeTest() {
        tree.Folder("home/Docs/Sub/deeper");
        tree.Folder("home/.config");
        tree.Folder("home/b");
        tree.File("home/file.txt", "x");
        tree.File("home/b/only-a-file", "y");
        tree.Symlink("home/link", "Docs");
        tree.Folder("vol/mnt");
    }

    QString Home() const { return QString::fromStdString(tree.Path("home")); }
    QString Volume() const { return QString::fromStdString(tree.Path("vol")); }

    // Texts of a node's children, joined by "|".
    static std::string Children(const QAbstractItemModel& model, const QModelIndex& parent) {
        std::string out;
        for (int row = 0; row < model.rowCount(parent); ++row) {
            if (row > 0)
                out += '|';
            out += model.index(row, 0, parent).data().toString().toStdString();
        }
        return out;
    }

    static QModelIndex Child(const QAbstractItemModel& model, const QModelIndex& parent,
                             const char* text) {
        for (int row = 0; row < model.rowCount(parent); ++row)
            if (model.index(row, 0, parent).data().toString() == QLatin1String(text))
                return model.index(row, 0, parent);
        ADD_FAILURE() << "no node " << text;
        return {};
    }

    static void Click(FolderTree& view, const QModelIndex& index) {
        ASSERT_TRUE(index.isValid());
        view.scrollTo(index);
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.visualRect(index).center());
    }

    test::TempTree tree;
};

TEST_F(FolderTreeTest, FoldersAreReadOnceWhenFirstExpandedOrSelected) {
    FolderTree view(Home(), {Volume()});
    const FolderTreeModel& model = *qobject_cast<FolderTreeModel*>(view.model());

    ASSERT_EQ(Children(model, {}), "home|Computer");
    const QModelIndex home = model.index(0, 0);
    const QModelIndex computer = model.index(1, 0);
    EXPECT_EQ(model.PathOf(home), tree.Path("home"));
    EXPECT_EQ(model.PathOf(computer), "");
    EXPECT_EQ(Children(model, computer), tree.Path("vol"));
    EXPECT_EQ(model.PathOf(model.index(0, 0, computer)), tree.Path("vol"));

    // Nothing below the home folder is known before it is opened, but it shows an arrow.
    EXPECT_TRUE(model.hasChildren(home));
    EXPECT_EQ(model.rowCount(home), 0);

    view.expand(home);
    // Hidden folders shown, the file and the link to a folder not.
    ASSERT_EQ(Children(model, home), ".config|b|Docs");
    const QModelIndex docs = Child(model, home, "Docs");
    EXPECT_EQ(model.PathOf(docs), tree.Path("home/Docs"));
    EXPECT_TRUE(model.hasChildren(docs));
    EXPECT_FALSE(model.hasChildren(Child(model, home, ".config"))) << "an empty folder";
    EXPECT_FALSE(model.hasChildren(Child(model, home, "b"))) << "a folder holding only a file";
    EXPECT_EQ(model.rowCount(docs), 0);

    // Selecting fills a folder without expanding it.
    view.setCurrentIndex(docs);
    EXPECT_EQ(Children(model, docs), "Sub");
    EXPECT_FALSE(view.isExpanded(docs));
    const QModelIndex sub = Child(model, docs, "Sub");
    EXPECT_EQ(model.PathOf(sub), tree.Path("home/Docs/Sub"));
    EXPECT_TRUE(model.hasChildren(sub));

    // Expanding it later does not read it again: a folder made since does not appear.
    tree.Folder("home/Docs/Added");
    view.expand(docs);
    EXPECT_TRUE(view.isExpanded(docs));
    EXPECT_EQ(Children(model, docs), "Sub");

    // Populate starts over and reads afresh.
    view.Populate();
    const QModelIndex docsAgain = Child(model, model.index(0, 0), "Docs");
    view.expand(docsAgain);
    EXPECT_EQ(Children(model, docsAgain), "Added|Sub");
}

TEST_F(FolderTreeTest, SiblingsSortAsAFileManagerDoes) {
    for (const char* name : {"a10", "Zeta", "a9", "A", "_x", "a", "a01"})
        tree.Folder(std::string("home/b/") + name);
    FolderTree view(Home(), {});
    const FolderTreeModel& model = *qobject_cast<FolderTreeModel*>(view.model());
    view.expand(model.index(0, 0));
    const QModelIndex b = Child(model, model.index(0, 0), "b");
    view.expand(b);
    EXPECT_EQ(Children(model, b), "_x|A|a|a01|a9|a10|Zeta");
}

// Enough subfolders that their own contents are looked into by several threads.
TEST_F(FolderTreeTest, EveryChildOfALargeFolderKnowsWhetherItHoldsFolders) {
    constexpr int kCount = 1100;
    for (int i = 0; i < kCount; ++i) {
        const std::string name = "home/b/f" + std::to_string(i);
        if (i % 3 == 0)
            tree.Folder(name + "/inner");
        else
            tree.File(name + "/file", "z");
    }
    FolderTree view(Home(), {});
    const FolderTreeModel& model = *qobject_cast<FolderTreeModel*>(view.model());
    view.expand(model.index(0, 0));
    const QModelIndex b = Child(model, model.index(0, 0), "b");
    view.expand(b);
    ASSERT_EQ(model.rowCount(b), kCount);
    for (int row = 0; row < kCount; ++row) {
        const QModelIndex child = model.index(row, 0, b);
        // Natural order: f0, f1, ..., f1099, so the row is the number.
        ASSERT_EQ(child.data().toString(), QStringLiteral("f%1").arg(row));
        EXPECT_EQ(model.hasChildren(child), row % 3 == 0) << row;
    }
}

TEST_F(FolderTreeTest, ArmedSelectionChoosesOneFolderUntilShownForBrowseAgain) {
    FolderTree view(Home(), {Volume()});
    const FolderTreeModel& model = *qobject_cast<FolderTreeModel*>(view.model());
    view.resize(400, 600);
    view.show();
    QSignalSpy chosen(&view, &FolderTree::FolderChosen);

    view.Populate();
    // Start-up selects and expands the home folder and opens "Computer", choosing nothing.
    const QModelIndex home = model.index(0, 0);
    EXPECT_EQ(view.currentIndex(), home);
    EXPECT_TRUE(view.isExpanded(home));
    EXPECT_TRUE(view.isExpanded(model.ComputerNode()));
    EXPECT_EQ(chosen.count(), 0);

    const QModelIndex b = Child(model, home, "b");
    Click(view, b);
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.at(0).at(0).value<std::string>(), tree.Path("home/b"));

    // Disarmed: further selections, by mouse or keyboard, choose nothing.
    Click(view, Child(model, home, "Docs"));
    QTest::keyClick(&view, Qt::Key_Up);
    EXPECT_EQ(chosen.count(), 1);

    // Shown for browsing: nothing selected, the last selection highlighted, and choosing the
    // same folder again counts.
    Click(view, b);
    view.ShowForBrowse();
    EXPECT_TRUE(view.selectionModel()->selectedIndexes().isEmpty());
    EXPECT_EQ(view.currentIndex(), b) << "the last selection is the current node";
    Click(view, b);
    ASSERT_EQ(chosen.count(), 2);
    EXPECT_EQ(chosen.at(1).at(0).value<std::string>(), tree.Path("home/b"));
    EXPECT_EQ(view.selectionModel()->selectedIndexes(), QModelIndexList{b});

    // "Computer" is no folder: selecting it chooses nothing and still disarms.
    view.ShowForBrowse();
    Click(view, model.ComputerNode());
    EXPECT_EQ(chosen.count(), 2);
    Click(view, model.index(0, 0, model.ComputerNode()));
    EXPECT_EQ(chosen.count(), 2);

    // The arrow keys only move, as in a file manager: up to "Computer", down to a volume;
    // Enter chooses.
    view.ShowForBrowse();
    QTest::keyClick(&view, Qt::Key_Up);
    EXPECT_EQ(view.currentIndex(), model.ComputerNode());
    QTest::keyClick(&view, Qt::Key_Down);
    EXPECT_EQ(chosen.count(), 2);
    QTest::keyClick(&view, Qt::Key_Return);
    ASSERT_EQ(chosen.count(), 3);
    EXPECT_EQ(chosen.at(2).at(0).value<std::string>(), tree.Path("vol"));
}

TEST_F(FolderTreeTest, ExpandingOrCollapsingANodeIsAnnounced) {
    FolderTree view(Home(), {Volume()});
    const FolderTreeModel& model = *qobject_cast<FolderTreeModel*>(view.model());
    view.resize(400, 600);
    view.show();
    view.Populate();
    QSignalSpy expanding(&view, &FolderTree::Expanding);
    QSignalSpy chosen(&view, &FolderTree::FolderChosen);

    const QModelIndex docs = Child(model, model.index(0, 0), "Docs");
    view.setCurrentIndex(docs);
    QTest::keyClick(&view, Qt::Key_Right);
    EXPECT_TRUE(view.isExpanded(docs));
    EXPECT_EQ(expanding.count(), 1);
    EXPECT_EQ(Children(model, docs), "Sub");
    QTest::keyClick(&view, Qt::Key_Left);
    EXPECT_FALSE(view.isExpanded(docs));
    EXPECT_EQ(expanding.count(), 2);
    EXPECT_EQ(chosen.count(), 0) << "moving through the tree chooses nothing";
}

// Run as an unprivileged user: "locked" cannot be opened, so it shows no arrow and, once
// selected or expanded, no children; its readable neighbour still does.
TEST_F(FolderTreeTest, AnUnreadableFolderHasNoChildren) {
    tree.Folder("home/locked/inside");
    tree.Chmod("", 0755);
    tree.Chmod("home/locked", 0);
    const auto result = test::RunUnprivileged([&] {
        FolderTreeModel model(Home(), {});
        const QModelIndex home = model.index(0, 0);
        model.Fill(home);
        const QModelIndex locked = Child(model, home, "locked");
        const QModelIndex docs = Child(model, home, "Docs");
        std::ostringstream out;
        out << model.hasChildren(locked);
        out << model.Fill(locked) << model.rowCount(locked) << model.hasChildren(locked);
        out << model.Fill(locked) << ' ' << model.Fill(docs) << model.rowCount(docs);
        return out.str();
    });
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(*result, "01000 11");
}

} // namespace
} // namespace dirscribe
