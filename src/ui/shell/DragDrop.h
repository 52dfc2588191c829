// Makes a window accept files dragged from a file manager and reports each drop.
#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

class QMimeData;

namespace velmora::ui {

class DragDrop : public QObject {
    Q_OBJECT
public:
    // owner: the window that takes the drops, over all of its child widgets.
    explicit DragDrop(QWidget* owner);
    ~DragDrop() override;

    bool AcceptDrag() const { return acceptDrag_; }
    void SetAcceptDrag(bool accept);

    // Raised once per drop: the point in the owner's coordinates, the local paths in the order
    // the source gave them (valid during the call).
    std::function<void(QObject* sender, const QPoint& point, const std::vector<std::string>& paths)>
        OnDrop;
    const std::vector<std::string>& Files() const { return files_; }

    // The local paths that mime data carries; empty when it carries none.
    static std::vector<std::string> LocalPaths(const QMimeData* data);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> owner_;
    bool acceptDrag_ = true;
    std::vector<std::string> files_;
    // The data of the drag under way, only compared, and whether it carries local files.
    const QMimeData* dragData_ = nullptr;
    bool dragHasFiles_ = false;
};

} // namespace velmora::ui
