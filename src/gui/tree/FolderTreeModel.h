// SPDX-License-Identifier: MIT
// The lazy model of the folder tree: the home folder, "Computer" and the folders below them.
#pragma once

#include "core/platform/TaskPool.h"

#include <QAbstractItemModel>
#include <QIcon>
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

namespace dirscribe {

// Two top-level nodes: the home folder (shown by its own name) and "Computer", which is no
// folder itself and holds the volume folders (each shown by its path). A folder node's
// children are its real subfolders, hidden ones included; files and links are never shown.
// They are read once, the first time the node is filled (by expanding it in a view, which
// fetches, or by Fill); a folder that cannot be read has no children. A node shows an
// expand arrow only when it holds a subfolder.
class FolderTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    // data() for this role gives a node's file-system path, empty for "Computer".
    static constexpr int kPathRole = Qt::UserRole + 1;

    // homePath: the folder of the first top-level node; volumes: the folders under
    // "Computer", in the order given. Only whether each of them holds a subfolder is read.
    FolderTreeModel(const QString& homePath, const QStringList& volumes, QObject* parent = nullptr);
    ~FolderTreeModel() override;

    // Throws every node away and builds the top level again; folders are read afresh when
    // they are next filled.
    void Rebuild();
    // Reads a folder node's subfolders unless that was done before. True when it read now;
    // false for "Computer", an invalid index or a node already filled.
    bool Fill(const QModelIndex& index);
    // The node's file-system path, raw bytes; empty for "Computer" and an invalid index.
    [[nodiscard]] std::string PathOf(const QModelIndex& index) const;
    // The "Computer" node.
    [[nodiscard]] QModelIndex ComputerNode() const;
    // The node of a folder: under the home folder when it lies there, else under the volume
    // that holds it most closely, filling the nodes on the way. When a part of the path has
    // no node (it was removed, or is no folder) the deepest node found; invalid when no top
    // node holds the path.
    QModelIndex IndexOfPath(const std::string& wanted);

    [[nodiscard]] QModelIndex index(int row, int column,
                                    const QModelIndex& parent = {}) const override;
    [[nodiscard]] QModelIndex parent(const QModelIndex& child) const override;
    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex& index) const override;
    [[nodiscard]] bool hasChildren(const QModelIndex& parent = {}) const override;
    [[nodiscard]] bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    struct Node;
    [[nodiscard]] Node* NodeOf(const QModelIndex& index) const;
    [[nodiscard]] QModelIndex IndexOf(const Node* node) const;
    [[nodiscard]] std::unique_ptr<Node> MakeTopLevel() const;

    std::string m_home;
    std::vector<std::string> m_volumes;
    std::unique_ptr<Node> m_root;
    QIcon m_folderIcon;
    QIcon m_homeIcon;
    QIcon m_computerIcon;
    QIcon m_volumeIcon;
    // Spare cores for looking into the subfolders of a large folder.
    TaskPool m_pool{TaskPool::CoresUpTo(4)};
};

} // namespace dirscribe
