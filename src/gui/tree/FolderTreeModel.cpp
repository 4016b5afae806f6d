// SPDX-License-Identifier: MIT
#include "gui/tree/FolderTreeModel.h"

#include "core/format/Utf8.h"
#include "core/platform/Subfolders.h"

#include <QApplication>
#include <QStyle>
#include <algorithm>

namespace dirscribe {

struct FolderTreeModel::Node {
    enum class Kind { Root, Computer, Home, Volume, Folder };

    Kind kind = Kind::Folder;
    Node* parent = nullptr;
    int row = 0;
    QString text;
    std::string path; // raw bytes; empty for the root and "Computer"
    bool hasSubfolders = false;
    bool filled = false;
    std::vector<std::unique_ptr<Node>> children;

    Node* Add(std::unique_ptr<Node> child) {
        child->parent = this;
        child->row = static_cast<int>(children.size());
        children.push_back(std::move(child));
        return children.back().get();
    }
};

namespace {

bool IsAsciiDigit(QChar c) {
    return c.unicode() >= '0' && c.unicode() <= '9';
}

// Case-folded, digit runs by value; 0 when the names differ only in case or leading zeros.
int NaturalCompare(const QString& a, const QString& b) {
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsAsciiDigit(a[i]) && IsAsciiDigit(b[j])) {
            while (i < a.size() && a[i] == u'0')
                ++i;
            while (j < b.size() && b[j] == u'0')
                ++j;
            qsizetype endA = i;
            qsizetype endB = j;
            while (endA < a.size() && IsAsciiDigit(a[endA]))
                ++endA;
            while (endB < b.size() && IsAsciiDigit(b[endB]))
                ++endB;
            if (endA - i != endB - j)
                return endA - i < endB - j ? -1 : 1;
            for (; i < endA; ++i, ++j)
                if (a[i] != b[j])
                    return a[i] < b[j] ? -1 : 1;
            continue;
        }
        const char16_t x = a[i].toCaseFolded().unicode();
        const char16_t y = b[j].toCaseFolded().unicode();
        if (x != y)
            return x < y ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size())
        return 1;
    return j < b.size() ? -1 : 0;
}

QString NameOfFolder(const std::string& path) {
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/')
        trimmed.pop_back();
    const std::size_t slash = trimmed.rfind('/');
    if (trimmed == "/" || slash == std::string::npos)
        return QString::fromStdString(trimmed);
    return QString::fromStdString(trimmed.substr(slash + 1));
}

std::string ChildPath(const std::string& parent, const std::string& name) {
    return parent.back() == '/' ? parent + name : parent + '/' + name;
}

// Whether `path` is `folder` or lies below it.
bool Holds(const std::string& folder, const std::string& path) {
    if (folder.empty() || path.compare(0, folder.size(), folder) != 0)
        return false;
    return path.size() == folder.size() || folder.back() == '/' || path[folder.size()] == '/';
}

} // namespace

FolderTreeModel::FolderTreeModel(const QString& homePath, const QStringList& volumes,
                                 QObject* parent)
    : QAbstractItemModel(parent), m_home(homePath.toStdString()) {
    for (const QString& volume : volumes)
        m_volumes.push_back(volume.toStdString());
    QStyle* style = QApplication::style();
    m_folderIcon = style->standardIcon(QStyle::SP_DirIcon);
    m_homeIcon = style->standardIcon(QStyle::SP_DirHomeIcon);
    m_computerIcon = style->standardIcon(QStyle::SP_ComputerIcon);
    m_volumeIcon = style->standardIcon(QStyle::SP_DriveHDIcon);
    m_root = MakeTopLevel();
}

FolderTreeModel::~FolderTreeModel() = default;

std::unique_ptr<FolderTreeModel::Node> FolderTreeModel::MakeTopLevel() const {
    auto root = std::make_unique<Node>();
    root->kind = Node::Kind::Root;
    root->filled = true;

    auto home = std::make_unique<Node>();
    home->kind = Node::Kind::Home;
    home->text = NameOfFolder(m_home);
    home->path = m_home;
    home->hasSubfolders = HasSubfolders(m_home);
    root->Add(std::move(home));

    auto computer = std::make_unique<Node>();
    computer->kind = Node::Kind::Computer;
    computer->text = QStringLiteral("Computer");
    computer->filled = true;
    for (const std::string& path : m_volumes) {
        auto volume = std::make_unique<Node>();
        volume->kind = Node::Kind::Volume;
        volume->text = QString::fromStdString(path);
        volume->path = path;
        volume->hasSubfolders = HasSubfolders(path);
        computer->Add(std::move(volume));
    }
    computer->hasSubfolders = !computer->children.empty();
    root->Add(std::move(computer));
    root->hasSubfolders = true;
    return root;
}

void FolderTreeModel::Rebuild() {
    beginResetModel();
    m_root = MakeTopLevel();
    endResetModel();
}

bool FolderTreeModel::Fill(const QModelIndex& index) {
    Node* node = NodeOf(index);
    if (node == nullptr || node->filled || node->path.empty())
        return false;
    node->filled = true;
    auto folders = ReadSubfolders(node->path, m_pool);
    if (!folders || folders->empty()) {
        if (node->hasSubfolders) {
            node->hasSubfolders = false;
            emit dataChanged(index, index);
        }
        return true;
    }

    struct Named {
        QString text;
        Subfolder* folder;
    };
    std::vector<Named> named;
    named.reserve(folders->size());
    for (Subfolder& folder : *folders)
        named.push_back({QString::fromStdString(DisplayText(folder.name)), &folder});
    // Siblings as a file manager sorts them: case-insensitive, runs of digits by their value
    // ("a9" before "a10"), names equal that way by their exact characters ("A" before "a").
    std::sort(named.begin(), named.end(), [](const Named& x, const Named& y) {
        const int order = NaturalCompare(x.text, y.text);
        if (order != 0)
            return order < 0;
        if (x.text != y.text)
            return x.text < y.text;
        return x.folder->name < y.folder->name; // names that are not UTF-8 read alike
    });

    beginInsertRows(index, 0, static_cast<int>(named.size()) - 1);
    node->children.reserve(named.size());
    for (Named& entry : named) {
        auto child = std::make_unique<Node>();
        child->text = std::move(entry.text);
        child->path = ChildPath(node->path, entry.folder->name);
        child->hasSubfolders = entry.folder->hasSubfolders;
        node->Add(std::move(child));
    }
    node->hasSubfolders = true;
    endInsertRows();
    return true;
}

std::string FolderTreeModel::PathOf(const QModelIndex& index) const {
    const Node* node = NodeOf(index);
    return node == nullptr ? std::string() : node->path;
}

QModelIndex FolderTreeModel::ComputerNode() const {
    for (const auto& child : m_root->children)
        if (child->kind == Node::Kind::Computer)
            return IndexOf(child.get());
    return {};
}

QModelIndex FolderTreeModel::IndexOfPath(const std::string& wanted) {
    const Node* node = nullptr;
    const auto consider = [&](const Node& top) {
        if (Holds(top.path, wanted) && (node == nullptr || top.path.size() > node->path.size()))
            node = &top;
    };
    for (const auto& top : m_root->children) {
        consider(*top);
        for (const auto& volume : top->children)
            if (top->kind == Node::Kind::Computer)
                consider(*volume);
    }
    while (node != nullptr && node->path != wanted) {
        Fill(IndexOf(node));
        const auto below = std::find_if(
            node->children.begin(), node->children.end(),
            [&](const std::unique_ptr<Node>& child) { return Holds(child->path, wanted); });
        if (below == node->children.end())
            break;
        node = below->get();
    }
    return node == nullptr ? QModelIndex() : IndexOf(node);
}

QModelIndex FolderTreeModel::IndexOf(const Node* node) const {
    return createIndex(node->row, 0, node);
}

FolderTreeModel::Node* FolderTreeModel::NodeOf(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != this)
        return nullptr;
    return static_cast<Node*>(index.internalPointer());
}

QModelIndex FolderTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0)
        return {};
    const Node* owner = parent.isValid() ? NodeOf(parent) : m_root.get();
    if (owner == nullptr || static_cast<std::size_t>(row) >= owner->children.size())
        return {};
    return createIndex(row, 0, owner->children[static_cast<std::size_t>(row)].get());
}

QModelIndex FolderTreeModel::parent(const QModelIndex& child) const {
    const Node* node = NodeOf(child);
    if (node == nullptr || node->parent == nullptr || node->parent == m_root.get())
        return {};
    return IndexOf(node->parent);
}

int FolderTreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0)
        return 0;
    const Node* node = parent.isValid() ? NodeOf(parent) : m_root.get();
    return node == nullptr ? 0 : static_cast<int>(node->children.size());
}

int FolderTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant FolderTreeModel::data(const QModelIndex& index, int role) const {
    const Node* node = NodeOf(index);
    if (node == nullptr)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return node->text;
    case Qt::ToolTipRole:
    case kPathRole:
        return QString::fromStdString(node->path);
    case Qt::DecorationRole:
        switch (node->kind) {
        case Node::Kind::Computer:
            return m_computerIcon;
        case Node::Kind::Home:
            return m_homeIcon;
        case Node::Kind::Volume:
            return m_volumeIcon;
        default:
            return m_folderIcon;
        }
    default:
        return {};
    }
}

Qt::ItemFlags FolderTreeModel::flags(const QModelIndex& index) const {
    if (NodeOf(index) == nullptr)
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

bool FolderTreeModel::hasChildren(const QModelIndex& parent) const {
    const Node* node = parent.isValid() ? NodeOf(parent) : m_root.get();
    if (node == nullptr)
        return false;
    return node->filled ? !node->children.empty() : node->hasSubfolders;
}

bool FolderTreeModel::canFetchMore(const QModelIndex& parent) const {
    const Node* node = NodeOf(parent);
    return node != nullptr && !node->filled && !node->path.empty();
}

void FolderTreeModel::fetchMore(const QModelIndex& parent) {
    Fill(parent);
}

} // namespace dirscribe
