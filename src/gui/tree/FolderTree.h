// SPDX-License-Identifier: MIT
// The folder tree the user picks the folder to list from.
#pragma once

#include <QPersistentModelIndex>
#include <QTreeView>
#include <string>

class QItemSelection;

namespace dirscribe {

class FolderTreeModel;

// A tree view over FolderTreeModel (header hidden, objectName "folderTree"). A node is
// chosen by a click or by Enter; the arrow keys only move through the tree. A choice is acted
// on only while the tree is armed: the first one after arming disarms it and, when the node
// is a folder, emits FolderChosen with its path. A node's subfolders are read when it is
// first expanded or first selected. model() is that FolderTreeModel, owned by the tree.
class FolderTree : public QTreeView {
    Q_OBJECT
public:
    // The tree of this system: the user's home folder, and "Computer" with "/" and the
    // mounted volumes (see MountTable.h). Empty until Populate.
    explicit FolderTree(QWidget* parent = nullptr);
    // A tree over the given home folder and the folders under "Computer", in that order.
    FolderTree(const QString& homePath, const QStringList& volumes, QWidget* parent = nullptr);

    // Builds the top level afresh, expands the first node and makes it the current one
    // without selecting it (so that a first click on it, too, chooses it), expands
    // "Computer", then arms the tree.
    void Populate();
    // Prepares the tree to be shown for picking a folder: disarms, clears the selection,
    // shows the node of `folder` (the folder listed last; its parents are opened) or else
    // the node that was selected highlighted and current, and arms again, so that choosing
    // even the same folder again is a selection that is acted on. Opening nodes here is no
    // expansion by the user: Expanding is not emitted.
    void ShowForBrowse(const std::string& folder = {});
    // The tree's font: the face, 18 px weight 600 when largeFont, else 16 px weight 500.
    void SetTreeFont(const QString& face, bool largeFont);

signals:
    // A folder node was selected while the tree was armed; the path's raw bytes.
    void FolderChosen(const std::string& path);
    // A node expands or collapses (emitted as it does, before any other reaction).
    void Expanding();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;

private:
    void OnSelectionChanged(const QItemSelection& selected);
    void Choose(const QModelIndex& node);

    FolderTreeModel* m_model;
    bool m_armed = false;
    bool m_opening = false; // the tree opens nodes itself; the user did not expand them
    bool m_clicked = false; // the selection changes under a click, which chooses the node
    QPersistentModelIndex m_highlighted;
};

} // namespace dirscribe
