// The folder tree model.
#include "ui/dirchooser/DirTreeModel.h"

#include "ui/dirchooser/DirTreeIcons.h"
#include "ui/platform/QtText.h"

#include <QApplication>
#include <QTimer>

namespace velmora::ui {

using dirtree::FolderNode;
using dirtree::FolderTree;
using dirtree::ScanStatus;

namespace {

// The wait cursor while a folder is read, restored also when reading throws.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

DirTreeModel::DirTreeModel(QObject* parent) : QAbstractItemModel(parent) {}

void DirTreeModel::LoadDrives(const std::vector<dirtree::Volume>& volumes) {
    beginResetModel();
    tree_.LoadDrives(volumes);
    endResetModel();
}

FolderNode* DirTreeModel::NodeAt(const QModelIndex& index) const {
    return index.isValid() ? static_cast<FolderNode*>(index.internalPointer()) : nullptr;
}

QModelIndex DirTreeModel::IndexOf(const FolderNode* node) const {
    if (!node) return {};
    return createIndex(node->Row(), 0, const_cast<FolderNode*>(node));
}

QModelIndex DirTreeModel::RootIndex() const {
    return IndexOf(tree_.Root());
}

QModelIndex DirTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0) return {};
    if (!parent.isValid()) return row == 0 && tree_.Root() ? RootIndex() : QModelIndex();
    FolderNode* p = NodeAt(parent);
    if (row >= p->ChildCount()) return {};
    return createIndex(row, 0, p->Child(row));
}

QModelIndex DirTreeModel::parent(const QModelIndex& child) const {
    FolderNode* n = NodeAt(child);
    return n ? IndexOf(n->Parent()) : QModelIndex();
}

int DirTreeModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) return tree_.Root() ? 1 : 0;
    return NodeAt(parent)->ChildCount();
}

int DirTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant DirTreeModel::data(const QModelIndex& index, int role) const {
    FolderNode* n = NodeAt(index);
    if (!n) return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return ToQString(n->Caption());
    case Qt::DecorationRole:
        return DirTreeIcons::ForNode(*n);
    case Qt::AccessibleDescriptionRole:
        return ToQString(FolderTree::BuildNodePath(n));
    default:
        return {};
    }
}

bool DirTreeModel::hasChildren(const QModelIndex& parent) const {
    if (!parent.isValid()) return tree_.Root() != nullptr;
    return NodeAt(parent)->HasChildren();
}

bool DirTreeModel::canFetchMore(const QModelIndex& parent) const {
    FolderNode* n = NodeAt(parent);
    return n && !n->Loaded();
}

void DirTreeModel::fetchMore(const QModelIndex& parent) {
    LoadChildren(parent);
}

void DirTreeModel::LoadChildren(const QModelIndex& index) {
    FolderNode* n = NodeAt(index);
    if (!n || n->Loaded()) return;
    dirtree::FolderScan scan;
    {
        WaitCursor wait;
        scan = FolderTree::ReadChildren(*n);
    }
    const int count = static_cast<int>(scan.entries.size());
    if (count > 0) beginInsertRows(index, 0, count - 1);
    FolderTree::SetChildren(*n, std::move(scan.entries));
    if (count > 0) endInsertRows();
    if (count == 0) emit dataChanged(index, index); // the expand button goes
    if (scan.status == ScanStatus::ssOk) emit FolderLoaded(FolderTree::BuildNodePath(n));
    if (scan.status == ScanStatus::ssVanished) {
        // The view may be expanding this very node: remove it once that is over.
        QPersistentModelIndex gone(index);
        QTimer::singleShot(0, this, [this, gone] { RemoveVanished(gone); });
    }
}

void DirTreeModel::RemoveVanished(const QPersistentModelIndex& index) {
    FolderNode* n = NodeAt(index);
    if (!n || !n->Parent()) return;
    FolderNode* p = n->Parent();
    const int row = n->Row();
    beginRemoveRows(IndexOf(p), row, row);
    FolderTree::RemoveChild(*p, row);
    endRemoveRows();
}

} // namespace velmora::ui
