// The chooser's drop-down button; it has no context menu.
#pragma once

#include <QToolButton>

namespace velmora::ui {

class DropButton : public QToolButton {
    Q_OBJECT
public:
    explicit DropButton(QWidget* parent);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace velmora::ui
