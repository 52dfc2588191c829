// File drops: text/uri-list, local files only, for the whole window.
#include "ui/shell/DragDrop.h"

#include "core/shell/UriList.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>

namespace velmora::ui {

namespace {
const QString kUriList = QStringLiteral("text/uri-list");
} // namespace

DragDrop::DragDrop(QWidget* owner) : QObject(owner), owner_(owner) {
    // Child widgets that take drops themselves (the names editor takes text) would swallow
    // files; an application filter sees the drag first wherever it lands in the window.
    qApp->installEventFilter(this);
    SetAcceptDrag(true);
}

DragDrop::~DragDrop() {
    qApp->removeEventFilter(this);
}

void DragDrop::SetAcceptDrag(bool accept) {
    acceptDrag_ = accept && owner_;
    if (owner_) owner_->setAcceptDrops(acceptDrag_);
}

std::vector<std::string> DragDrop::LocalPaths(const QMimeData* data) {
    if (!data || !data->hasFormat(kUriList)) return {};
    const QByteArray bytes = data->data(kUriList);
    return shell::UriList::LocalPaths(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

bool DragDrop::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!acceptDrag_ || !owner_ || !widget || (widget != owner_ && !owner_->isAncestorOf(widget)))
        return false;
    auto* drop = static_cast<QDropEvent*>(event);
    if (type != QEvent::Drop) {
        // Every drag enters a widget before it moves over it, and its data stays the same until
        // the drop; reading it again on each mouse step would ask the source for the whole list.
        if (type == QEvent::DragEnter || drop->mimeData() != dragData_) {
            dragData_ = drop->mimeData();
            dragHasFiles_ = !LocalPaths(dragData_).empty();
        }
        if (!dragHasFiles_) return false; // not files: the widget's own business
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        return true;
    }
    std::vector<std::string> paths = LocalPaths(drop->mimeData());
    if (paths.empty()) return false;
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    files_ = std::move(paths);
    const QPoint point = widget->mapTo(owner_, drop->position().toPoint());
    if (OnDrop) OnDrop(this, point, files_);
    return true;
}

} // namespace velmora::ui
