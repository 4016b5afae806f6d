// SPDX-License-Identifier: MIT
#include "gui/tree/FolderTree.h"

#include "core/platform/MountTable.h"
#include "gui/tree/FolderTreeModel.h"

#include <QDir>
#include <QFont>
#include <QItemSelection>
#include <QKeyEvent>
#include <QMouseEvent>

namespace dirscribe {

namespace {

QStringList ThisSystemsVolumes() {
    QStringList volumes;
    for (const std::string& path : SystemVolumes())
        volumes.append(QString::fromStdString(path));
    return volumes;
}

} // namespace

FolderTree::FolderTree(QWidget* parent)
    : FolderTree(QDir::homePath(), ThisSystemsVolumes(), parent) {}

FolderTree::FolderTree(const QString& homePath, const QStringList& volumes, QWidget* parent)
    : QTreeView(parent), m_model(new FolderTreeModel(homePath, volumes, this)) {
    setObjectName(QStringLiteral("folderTree"));
    setHeaderHidden(true);
    setUniformRowHeights(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setModel(m_model);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& selected) { OnSelectionChanged(selected); });
    connect(this, &QTreeView::expanded, this, [this](const QModelIndex& index) {
        if (!m_opening)
            emit Expanding();
        // The view fetches only when it lays the node out, which a hidden tree puts off.
        m_model->Fill(index);
    });
    connect(this, &QTreeView::collapsed, this, [this] {
        if (!m_opening)
            emit Expanding();
    });
}

void FolderTree::Populate() {
    m_armed = false;
    m_opening = true;
    m_highlighted = QModelIndex();
    m_model->Rebuild();
    const QModelIndex first = m_model->index(0, 0);
    if (first.isValid()) {
        expand(first);
        selectionModel()->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
    }
    expand(m_model->ComputerNode());
    m_opening = false;
    m_armed = true;
}

void FolderTree::ShowForBrowse(const std::string& folder) {
    m_armed = false;
    m_opening = true;
    QModelIndex shown = folder.empty() ? QModelIndex() : m_model->IndexOfPath(folder);
    if (!shown.isValid()) {
        const QModelIndexList selected = selectionModel()->selectedIndexes();
        shown = selected.isEmpty() ? QModelIndex() : selected.first();
    }
    selectionModel()->clearSelection();
    m_highlighted = shown;
    if (shown.isValid()) {
        for (QModelIndex above = shown.parent(); above.isValid(); above = above.parent())
            expand(above);
        selectionModel()->setCurrentIndex(shown, QItemSelectionModel::NoUpdate);
        scrollTo(shown);
    }
    viewport()->update();
    m_opening = false;
    m_armed = true;
}

void FolderTree::SetTreeFont(const QString& face, bool largeFont) {
    QFont font(face);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(largeFont ? 18 : 16);
    font.setWeight(largeFont ? QFont::DemiBold : QFont::Medium);
    setFont(font);
}

void FolderTree::OnSelectionChanged(const QItemSelection& selected) {
    const QModelIndexList nodes = selected.indexes();
    if (nodes.isEmpty())
        return; // only a deselection: no node was chosen
    const QModelIndex node = nodes.first();
    if (m_highlighted.isValid()) {
        m_highlighted = QModelIndex();
        viewport()->update();
    }
    m_model->Fill(node); // a node's subfolders are known once it has been selected
    if (m_clicked)
        Choose(node);
}

void FolderTree::Choose(const QModelIndex& node) {
    m_clicked = false;
    if (!m_armed || !node.isValid())
        return;
    m_armed = false;
    const std::string path = m_model->PathOf(node);
    if (!path.empty())
        emit FolderChosen(path);
}

void FolderTree::mousePressEvent(QMouseEvent* event) {
    const QModelIndex node = indexAt(event->position().toPoint());
    // A click on the node itself, not on the mark that opens it.
    m_clicked = event->button() == Qt::LeftButton && node.isValid() &&
                visualRect(node).contains(event->position().toPoint());
    QTreeView::mousePressEvent(event);
    // A click on the node already selected changes no selection, and chooses it all the same.
    if (m_clicked)
        Choose(node);
}

void FolderTree::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        currentIndex().isValid()) {
        selectionModel()->select(currentIndex(), QItemSelectionModel::ClearAndSelect);
        Choose(currentIndex());
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

void FolderTree::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
    if (m_highlighted.isValid() && index == m_highlighted) {
        QStyleOptionViewItem shown = option;
        shown.state |= QStyle::State_Selected;
        QTreeView::drawRow(painter, shown, index);
        return;
    }
    QTreeView::drawRow(painter, option, index);
}

} // namespace dirscribe
