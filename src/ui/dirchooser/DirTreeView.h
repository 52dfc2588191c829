// The folder tree that drops down under the directory chooser.
#pragma once

#include "core/dirtree/FolderTree.h"
#include "ui/dirchooser/DirTreeModel.h"

#include <QTreeView>
#include <string>
#include <vector>

namespace velmora::ui {

class DirTreeView : public QTreeView {
    Q_OBJECT
public:
    // owner: the chooser; it gets the keys the tree does not handle itself and the focus back
    // when the tree closes.
    explicit DirTreeView(QWidget* owner);

    DirTreeModel* Model() const { return model_; }
    // Clears the tree and adds the computer and the volumes; the computer is expanded when
    // ExpandRoot is set.
    void LoadDrives(const std::vector<dirtree::Volume>& volumes);
    // The selected node's path: "Drives" for the computer or no node.
    std::string BuildNodePath(const QModelIndex& index) const;
    // Walks from the computer to path (ending with "/"), expanding and selecting on the way.
    // "Drives" selects the computer.
    void SelectPathNode(const std::string& path);
    // Takes SelectedPath from the selected node. A removable or optical volume that is not
    // ready shows a warning and goes back to the previous path; then false.
    bool UpdateSelectedPath();
    // Hides the dropped tree; the chooser gets the focus back.
    void CloseDropDown();
    dirtree::FolderNode* SelectedNode() const { return model_->NodeAt(currentIndex()); }
    bool IsRoot(const QModelIndex& index) const {
        return index.isValid() && !index.parent().isValid();
    }
    // Whether pos (viewport coordinates) is on a node's icon or caption, not its expand
    // button, indent or the empty space beside it.
    QModelIndex NodeAtCaption(const QPoint& pos) const;

    // The accepted path: "Drives", or a node's path (a volume's ends with "/", a folder's
    // does not), or a path the chooser was sent to (ending with "/").
    std::string SelectedPath{dirtree::kDrivesPath};
    std::string PreviousPath;
    bool ExpandRoot = false;

signals:
    // A click on a node accepted it (after UpdateSelectedPath).
    void NodeClicked();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    bool InsideTree(const QPointF& globalPos) const;

    QWidget* owner_;
    DirTreeModel* model_;
};

} // namespace velmora::ui
