// Spin buttons for an edit box.
#include "ui/workspace/UpDown.h"

#include <QKeyEvent>
#include <QVBoxLayout>
#include <algorithm>
#include <tuple>

namespace velmora::ui {

UpDown::UpDown(QLineEdit* associate, int min, int max, QWidget* parent)
    : QWidget(parent), associate_(associate), min_(min), max_(max), up_(new QToolButton(this)),
      down_(new QToolButton(this)) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    const QString name = associate->accessibleName();
    for (auto [button, arrow, delta, verb] :
         {std::tuple{up_, Qt::UpArrow, 1, QStringLiteral("Increase")},
          std::tuple{down_, Qt::DownArrow, -1, QStringLiteral("Decrease")}}) {
        button->setArrowType(arrow);
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setFixedSize(16, 11);
        button->setAccessibleName(QStringLiteral("%1 %2").arg(verb, name));
        column->addWidget(button);
        connect(button, &QToolButton::clicked, this, [this, d = delta] { Step(d); });
    }
    associate->installEventFilter(this);
}

void UpDown::Step(int delta) {
    bool ok = false;
    const qlonglong current = associate_->text().trimmed().toLongLong(&ok);
    const qlonglong next = ok ? std::clamp<qlonglong>(current + delta, min_, max_) : min_;
    associate_->setText(QString::number(next));
}

bool UpDown::eventFilter(QObject* watched, QEvent* event) {
    if (watched == associate_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            Step(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace velmora::ui
