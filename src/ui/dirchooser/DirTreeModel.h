// The folder tree as an item model: nodes are loaded on first expansion (fetchMore).
#pragma once

#include "core/dirtree/FolderTree.h"

#include <QAbstractItemModel>
#include <string>
#include <vector>

namespace velmora::ui {

class DirTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    explicit DirTreeModel(QObject* parent = nullptr);

    // Deletes every node and adds the computer and its volumes.
    void LoadDrives(const std::vector<dirtree::Volume>& volumes);
    dirtree::FolderNode* NodeAt(const QModelIndex& index) const;
    QModelIndex IndexOf(const dirtree::FolderNode* node) const;
    QModelIndex RootIndex() const;
    const dirtree::FolderTree& Tree() const { return tree_; }
    // The first expansion of a node (TreeExpanding): reads its folder one level, once. A
    // folder that cannot be read gets no children; one that vanished is removed from the tree
    // once the current event is done.
    void LoadChildren(const QModelIndex& index);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

signals:
    // A folder was read: watch it for folders appearing and disappearing.
    void FolderLoaded(const std::string& path);

private:
    void RemoveVanished(const QPersistentModelIndex& index);

    dirtree::FolderTree tree_;
};

} // namespace velmora::ui
