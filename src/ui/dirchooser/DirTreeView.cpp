// The drop-down folder tree.
#include "ui/dirchooser/DirTreeView.h"

#include "core/dirtree/VolumeList.h"
#include "core/fs/MountTable.h"
#include "ui/dirchooser/DirTreeCombo.h"
#include "ui/platform/QtText.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMetaObject>
#include <QMouseEvent>

namespace velmora::ui {

using dirtree::FolderNode;
using dirtree::FolderTree;
using dirtree::NodeKind;
using dirtree::VolumeKind;

namespace {

// Holds repaints back while the tree changes many rows, so it repaints once.
struct UpdateBracket {
    explicit UpdateBracket(QWidget* w) : w_(w), was_(w->updatesEnabled()) {
        w_->setUpdatesEnabled(false);
    }
    ~UpdateBracket() { w_->setUpdatesEnabled(was_); }
    UpdateBracket(const UpdateBracket&) = delete;
    UpdateBracket& operator=(const UpdateBracket&) = delete;

private:
    QWidget* w_;
    bool was_;
};

} // namespace

DirTreeView::DirTreeView(QWidget* owner)
    : QTreeView(owner), owner_(owner), model_(new DirTreeModel(this)) {
    // A popup floats over the window, takes the mouse and the keys while open and closes on a
    // click outside; that click goes no further.
    setWindowFlags(Qt::Popup);
    setAttribute(Qt::WA_NoMouseReplay);
    setObjectName(QStringLiteral("Tree"));
    setAccessibleName(QStringLiteral("Folders"));
    setModel(model_);
    header()->hide();
    setUniformRowHeights(true); // 10,000 folders lay out without measuring each
    setEditTriggers(NoEditTriggers);
    setSelectionMode(SingleSelection);
    setExpandsOnDoubleClick(false);
    setMouseTracking(true);
    setFrameShape(QFrame::Box);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setStretchLastSection(false);
}

void DirTreeView::LoadDrives(const std::vector<dirtree::Volume>& volumes) {
    UpdateBracket bracket(this);
    model_->LoadDrives(volumes);
    if (ExpandRoot) expand(model_->RootIndex());
}

std::string DirTreeView::BuildNodePath(const QModelIndex& index) const {
    return FolderTree::BuildNodePath(model_->NodeAt(index));
}

void DirTreeView::SelectPathNode(const std::string& path) {
    UpdateBracket bracket(this);
    const QModelIndex root = model_->RootIndex();
    if (!root.isValid()) return;
    // Collapse everything below the computer; what was read stays read.
    collapseAll();
    if (ExpandRoot) expand(root);
    if (path == dirtree::kDrivesPath) {
        setCurrentIndex(root);
        return;
    }
    model_->Tree().WalkPath(path, [this](FolderNode& node) {
        QModelIndex idx = model_->IndexOf(&node);
        model_->LoadChildren(idx);
        setCurrentIndex(idx);
        expand(idx);
    });
    if (currentIndex().isValid()) scrollTo(currentIndex());
}

bool DirTreeView::UpdateSelectedPath() {
    PreviousPath =
        SelectedPath == dirtree::kDrivesPath || SelectedPath.empty() || SelectedPath.back() == '/'
            ? SelectedPath
            : SelectedPath + "/";
    const QModelIndex current = currentIndex();
    FolderNode* node = model_->NodeAt(current);
    SelectedPath = IsRoot(current) ? std::string(dirtree::kDrivesPath) : BuildNodePath(current);
    if (node && node->Kind() == NodeKind::nkVolume &&
        (node->Volume() == VolumeKind::vkRemovable || node->Volume() == VolumeKind::vkOptical) &&
        !dirtree::VolumeReady(fs::ParseMountInfo(fs::ReadMountInfo()), SelectedPath)) {
        // A rebuild under the warning would walk back to the refused volume and report it.
        auto* combo = qobject_cast<DirTreeCombo*>(owner_);
        if (combo) combo->HoldRebuilds();
        QApplication::beep();
        QMessageBox::warning(owner_, QApplication::applicationDisplayName(),
                             QStringLiteral("There is no disk in Drive or Drive is not ready"));
        SelectPathNode(PreviousPath);
        SelectedPath = PreviousPath;
        if (combo) combo->ReleaseRebuilds();
        return false;
    }
    PreviousPath = SelectedPath;
    return true;
}

void DirTreeView::CloseDropDown() {
    if (isVisible()) owner_->setFocus(Qt::PopupFocusReason);
    hide();
}

QModelIndex DirTreeView::NodeAtCaption(const QPoint& pos) const {
    QModelIndex idx = indexAt(pos);
    if (!idx.isValid()) return {};
    QRect r = visualRect(idx); // starts after the indent and the expand button
    QStyleOptionViewItem opt;
    initViewItemOption(&opt);
    r.setWidth(itemDelegateForIndex(idx)->sizeHint(opt, idx).width());
    return r.contains(pos) ? idx : QModelIndex();
}

bool DirTreeView::InsideTree(const QPointF& globalPos) const {
    return rect().contains(mapFromGlobal(globalPos).toPoint());
}

void DirTreeView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_F4:
    case Qt::Key_F5:
        // The chooser handles these, whether it or the open tree has the keys.
        QApplication::sendEvent(owner_, event);
        return;
    default:
        QTreeView::keyPressEvent(event); // page keys, Home, End, typing a name
    }
}

void DirTreeView::focusInEvent(QFocusEvent* event) {
    QTreeView::focusInEvent(event);
    // The view announces its focused node only when the node changes; a screen reader should
    // hear the folder the tree opens on as well, after the tree's own name.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (hasFocus() && currentIndex().isValid())
                currentChanged(currentIndex(), QModelIndex());
        },
        Qt::QueuedConnection);
}

void DirTreeView::mouseMoveEvent(QMouseEvent* event) {
    // Hovering over a caption selects that node without accepting it.
    if (InsideTree(event->globalPosition())) {
        QModelIndex idx =
            NodeAtCaption(viewport()->mapFromGlobal(event->globalPosition()).toPoint());
        if (idx.isValid() && idx != currentIndex()) setCurrentIndex(idx);
    }
    QTreeView::mouseMoveEvent(event);
}

bool DirTreeView::event(QEvent* event) {
    // While open the tree holds the mouse, so a click anywhere else arrives here, at the tree
    // itself rather than its viewport: it cancels.
    if (event->type() == QEvent::MouseButtonPress &&
        !InsideTree(static_cast<QMouseEvent*>(event)->globalPosition())) {
        CloseDropDown();
        return true;
    }
    return QTreeView::event(event);
}

void DirTreeView::mousePressEvent(QMouseEvent* event) {
    QTreeView::mousePressEvent(event);
    if (event->button() != Qt::LeftButton) return;
    QModelIndex idx = NodeAtCaption(viewport()->mapFromGlobal(event->globalPosition()).toPoint());
    if (!idx.isValid()) return; // an expand button or empty space: the tree stays open
    setCurrentIndex(idx);
    UpdateSelectedPath();
    emit NodeClicked();
}

} // namespace velmora::ui
