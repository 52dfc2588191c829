// Throttled status text.
#include "ui/workspace/StatusBarSink.h"

#include "ui/platform/QtText.h"

namespace velmora::ui {

StatusBarSink::StatusBarSink(QLabel* label, QObject* parent) : QObject(parent), label_(label) {
    pending_.setSingleShot(true);
    pending_.setInterval(50);
    connect(&pending_, &QTimer::timeout, this, &StatusBarSink::Flush);
}

void StatusBarSink::SetStatusText(const std::string& text) {
    latest_ = text;
    dirty_ = true;
    if (!sinceRepaint_.isValid() || sinceRepaint_.elapsed() >= 50) {
        Flush();
        // A run keeps the event loop busy: paint now so the progress is seen.
        label_->repaint();
    } else if (!pending_.isActive()) {
        pending_.start();
    }
}

void StatusBarSink::Flush() {
    if (!dirty_) return;
    dirty_ = false;
    label_->setText(ToQString(latest_));
    sinceRepaint_.restart();
}

QString StatusBarSink::Text() const {
    return dirty_ ? ToQString(latest_) : label_->text();
}

} // namespace velmora::ui
