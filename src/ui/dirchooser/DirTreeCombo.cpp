// The directory chooser.
#include "ui/dirchooser/DirTreeCombo.h"

#include "core/fs/DirectoryListing.h"
#include "core/fs/PathUtils.h"
#include "ui/dirchooser/DirTreeIcons.h"
#include "ui/dirchooser/DirTreeView.h"
#include "ui/dirchooser/DropButton.h"
#include "ui/platform/QtText.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QSocketNotifier>
#include <QStyle>
#include <filesystem>
#include <utility>

namespace velmora::ui {

using dirtree::FolderNode;

namespace {
constexpr int kIconLeft = 5;
constexpr int kIconMargin = 23; // text starts after the icon
} // namespace

DirTreeCombo::DirTreeCombo(QWidget* parent, dirtree::MountTableWatch::VolumeReader read)
    : QLineEdit(parent), mounts_(std::move(read)) {
    setObjectName(QStringLiteral("EditDirectory"));
    setReadOnly(true);
    setCursor(Qt::ArrowCursor);
    setContextMenuPolicy(Qt::PreventContextMenu); // a right click opens nothing
    setAccessibleName(QStringLiteral("Directory"));
    resize(216, 21);

    btn_ = new DropButton(this);
    connect(btn_, &DropButton::clicked, this, &DirTreeCombo::ToggleDropDown);

    tree_ = new DirTreeView(this);
    tree_->resize(width(), TreeHeight);
    connect(tree_->Model(), &DirTreeModel::FolderLoaded, this,
            [this](const std::string& path) { folders_.Add(path); });
    connect(tree_, &DirTreeView::NodeClicked, this, [this] {
        SetSelectedPath(tree_->SelectedPath);
        ShowSelectedNode();
        emit OnPathChange(ToQString(tree_->SelectedPath));
        tree_->CloseDropDown();
    });

    tree_->LoadDrives(mounts_.Volumes());
    SetExpandRoot(true);
    // Nothing chosen yet: the edit shows the computer.
    tree_->setCurrentIndex(tree_->Model()->RootIndex());
    ShowSelectedNode();
    tree_->setCurrentIndex({});
    SetSelectedPath(std::string(dirtree::kDrivesPath));

    rebuildTimer_.setSingleShot(true);
    rebuildTimer_.setInterval(50);
    connect(&rebuildTimer_, &QTimer::timeout, this, &DirTreeCombo::RebuildAfterChange);
    if (mounts_.Fd() >= 0) {
        // The mount table signals a change as an exceptional condition.
        mountNotifier_ = new QSocketNotifier(mounts_.Fd(), QSocketNotifier::Exception, this);
        connect(mountNotifier_, &QSocketNotifier::activated, this, [this] {
            if (mounts_.Refresh()) rebuildTimer_.start();
        });
    }
    if (folders_.Fd() >= 0) {
        folderNotifier_ = new QSocketNotifier(folders_.Fd(), QSocketNotifier::Read, this);
        connect(folderNotifier_, &QSocketNotifier::activated, this, [this] {
            if (folders_.ReadEvents()) rebuildTimer_.start();
        });
    }
    UpdateEditRect();
}

DirTreeCombo::~DirTreeCombo() {
    // The notifiers go before the descriptors they watch are closed.
    delete mountNotifier_;
    delete folderNotifier_;
}

std::string DirTreeCombo::GetSelectedPath() const {
    return tree_->SelectedPath;
}

void DirTreeCombo::SetSelectedPath(const std::string& path) {
    // Exact comparison: two folders may differ in letter case only.
    if (path != tree_->SelectedPath) tree_->SelectedPath = path;
    setAccessibleDescription(ToQString(tree_->SelectedPath)); // the caption is only its last part
}

bool DirTreeCombo::GoToPath(const std::string& path) {
    if (path.empty() || path == LastPath) return false;
    std::string p = fs::IncludeTrailingPathDelimiter(path);
    if (p[0] != '/') {
        // A folder given relative to the working folder (the command line): the tree walks
        // from the root, so it needs the whole path.
        std::error_code ec;
        std::filesystem::path abs = std::filesystem::absolute(p, ec);
        if (ec) return false;
        p = fs::IncludeTrailingPathDelimiter(abs.lexically_normal().string());
    }
    if (!fs::DirectoryExists(p)) return false;
    LastPath = p;
    ShowPath(LastPath);
    return true;
}

void DirTreeCombo::ShowPath(const std::string& path) {
    if (path.empty() || (path.size() == 1 && path != "/") || !fs::DirectoryExists(path)) return;
    std::string p = fs::IncludeTrailingPathDelimiter(path);
    tree_->SelectPathNode(p);
    ShowSelectedNode();
    SetSelectedPath(p);
    emit OnPathChange(ToQString(tree_->SelectedPath));
}

void DirTreeCombo::ReloadTree() {
    tree_->setCurrentIndex({});
    folders_.Clear();
    tree_->LoadDrives(mounts_.Volumes());
}

bool DirTreeCombo::Dropped() const {
    return tree_->isVisible();
}

bool DirTreeCombo::ExpandRoot() const {
    return tree_->ExpandRoot;
}

void DirTreeCombo::SetExpandRoot(bool expand) {
    tree_->ExpandRoot = expand;
    if (expand && tree_->Model()->RootIndex().isValid()) tree_->expand(tree_->Model()->RootIndex());
}

void DirTreeCombo::ToggleDropDown() {
    setFocus(Qt::OtherFocusReason);
    if (Dropped()) {
        tree_->CloseDropDown();
        return;
    }
    QPoint pos = mapToGlobal(QPoint(0, height()));
    const QRect screenArea = screen() ? screen()->availableGeometry() : QRect();
    if (screenArea.isValid() && pos.y() + TreeHeight > screenArea.bottom() + 1)
        pos = mapToGlobal(QPoint(0, -TreeHeight)); // no room below: open above
    tree_->setGeometry(QRect(pos, QSize(width(), TreeHeight)));
    if (ExpandRoot()) SetExpandRoot(true);
    tree_->show();
    tree_->raise();
    if (tree_->currentIndex().isValid()) tree_->scrollTo(tree_->currentIndex());
    tree_->setFocus(Qt::PopupFocusReason);
}

bool DirTreeCombo::HandlesKey(const QKeyEvent* event) const {
    if (event->modifiers() & ~(Qt::KeypadModifier)) return false;
    switch (event->key()) {
    case Qt::Key_Escape:
        return Dropped(); // closed, Escape belongs to the window
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_F4:
    case Qt::Key_F5:
        return true;
    default:
        return false;
    }
}

bool DirTreeCombo::event(QEvent* event) {
    // The chooser's keys come before the window's shortcuts.
    if (event->type() == QEvent::ShortcutOverride && HandlesKey(static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QLineEdit::event(event);
}

void DirTreeCombo::HoldRebuilds() {
    ++rebuildHolds_;
}

void DirTreeCombo::ReleaseRebuilds() {
    if (rebuildHolds_ == 0 || --rebuildHolds_ > 0) return;
    // From the event loop, not from inside whatever let go of the hold.
    if (std::exchange(rebuildHeld_, false)) rebuildTimer_.start();
}

void DirTreeCombo::Accept() {
    const bool hadNode = tree_->currentIndex().isValid();
    if (hadNode) {
        tree_->UpdateSelectedPath();
        SetSelectedPath(tree_->SelectedPath);
        emit OnPathChange(ToQString(tree_->SelectedPath));
    }
    if (Dropped()) tree_->CloseDropDown();
    if (hadNode) ShowSelectedNode();
}

void DirTreeCombo::keyPressEvent(QKeyEvent* event) {
    if (!HandlesKey(event)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const QModelIndex current = tree_->currentIndex();
    const QModelIndex root = tree_->Model()->RootIndex();
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Accept();
        break;
    case Qt::Key_Escape:
        tree_->CloseDropDown(); // the moved selection stays, the selected path too
        break;
    case Qt::Key_Left:
        if (!current.isValid()) break;
        if (tree_->isExpanded(current)) {
            // Collapse the node with everything below it.
            QModelIndexList open{current};
            while (!open.isEmpty()) {
                QModelIndex i = open.takeLast();
                if (!tree_->isExpanded(i)) continue;
                tree_->collapse(i);
                const int rows = tree_->Model()->rowCount(i);
                for (int r = 0; r < rows; ++r)
                    open.append(tree_->Model()->index(r, 0, i));
            }
        }
        if (current != root && tree_->indexAbove(current).isValid() &&
            tree_->indexAbove(current) != root)
            tree_->setCurrentIndex(tree_->indexAbove(current));
        break;
    case Qt::Key_Up:
        if (current.isValid() && current != root && tree_->indexAbove(current).isValid())
            tree_->setCurrentIndex(tree_->indexAbove(current));
        break;
    case Qt::Key_Right:
        if (current.isValid()) {
            tree_->Model()->LoadChildren(current);
            tree_->expand(current);
        }
        break;
    case Qt::Key_Down:
        if (!Dropped()) {
            ToggleDropDown();
        } else if (current.isValid() && tree_->indexBelow(current).isValid()) {
            tree_->setCurrentIndex(tree_->indexBelow(current));
        }
        break;
    case Qt::Key_F4:
        ToggleDropDown();
        break;
    case Qt::Key_F5:
        ReloadTree();
        ShowPath(GetSelectedPath());
        break;
    default:
        break;
    }
    if (tree_->currentIndex().isValid() && Dropped()) tree_->scrollTo(tree_->currentIndex());
    event->accept();
}

void DirTreeCombo::ShowSelectedNode() {
    const FolderNode* node = tree_->SelectedNode();
    if (!node) return;
    setText(ToQString(node->Caption()));
    setCursorPosition(0);
    icon_ = DirTreeIcons::ForNode(*node);
    UpdateEditRect();
    update();
}

void DirTreeCombo::UpdateEditRect() {
    const int bw = btn_->width();
    setTextMargins(icon_.isNull() ? 0 : kIconMargin, 0, bw + 2, 0);
}

void DirTreeCombo::resizeEvent(QResizeEvent* event) {
    QLineEdit::resizeEvent(event);
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    const int h = height() - 2 * frame;
    const int w = qMax(17, style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this) + 2);
    btn_->setGeometry(width() - frame - w, frame, w, h);
    UpdateEditRect();
}

void DirTreeCombo::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    if (icon_.isNull()) return;
    QPainter p(this);
    const int y = height() / 2 - 8;
    icon_.paint(&p, QRect(kIconLeft, y, 16, 16), Qt::AlignCenter,
                isEnabled() ? QIcon::Normal : QIcon::Disabled);
}

void DirTreeCombo::enterEvent(QEnterEvent* event) {
    QLineEdit::enterEvent(event);
    if (Dropped()) {
        setToolTip({});
        return;
    }
    setToolTip(tree_->SelectedNode()
                   ? QStringLiteral("SelectedPath =\n") + ToQString(GetSelectedPath())
                   : QStringLiteral("Selected = nil"));
}

void DirTreeCombo::leaveEvent(QEvent* event) {
    QLineEdit::leaveEvent(event);
    setToolTip({});
}

void DirTreeCombo::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // Opening the tree moves the keys to it; any other loss of focus closes it.
    if (event->reason() != Qt::PopupFocusReason && Dropped()) tree_->hide();
}

void DirTreeCombo::RebuildAfterChange() {
    if (rebuildHolds_ > 0) {
        rebuildHeld_ = true;
        return;
    }
    if (rebuilding_) {
        // A report arrived while the last rebuild's path change was still being handled.
        rebuildTimer_.start();
        return;
    }
    rebuilding_ = true;
    const std::string saved = GetSelectedPath();
    setUpdatesEnabled(false);
    ReloadTree();
    SetExpandRoot(true);
    setUpdatesEnabled(true);
    if (!saved.empty()) ShowPath(saved);
    rebuilding_ = false;
}

} // namespace velmora::ui
