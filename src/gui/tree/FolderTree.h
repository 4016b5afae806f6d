// SPDX-License-Identifier: MIT
// Placeholder folder tree until the real one lands.
#pragma once

#include <QTreeView>

namespace dirscribe {

class FolderTree : public QTreeView {
    Q_OBJECT

public:
    explicit FolderTree(QWidget* parent = nullptr) : QTreeView(parent) {}
    void Populate() {}
    void ShowForBrowse() {}
    void SetTreeFont(const QString&, bool) {}
    [[nodiscard]] bool SelectionArmed() const { return true; }

signals:
    void FolderChosen(const QString& path);
    void Expanding();
};

} // namespace dirscribe
