// The drop-down button.
#include "ui/dirchooser/DropButton.h"

#include <QMouseEvent>

namespace velmora::ui {

DropButton::DropButton(QWidget* parent) : QToolButton(parent) {
    setObjectName(QStringLiteral("Btn"));
    setAccessibleName(QStringLiteral("Show folders"));
    setArrowType(Qt::DownArrow);
    setCursor(Qt::ArrowCursor);
    setFocusPolicy(Qt::NoFocus);
    setContextMenuPolicy(Qt::PreventContextMenu);
}

void DropButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        event->accept(); // swallowed: no context menu
        return;
    }
    QToolButton::mouseReleaseEvent(event);
}

} // namespace velmora::ui
