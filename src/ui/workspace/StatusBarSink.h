// Status text in the status bar, repainted at most every 50 ms so long runs stay fast.
#pragma once

#include "core/platform/Questions.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>

namespace velmora::ui {

class StatusBarSink : public QObject, public platform::StatusSink {
    Q_OBJECT
public:
    explicit StatusBarSink(QLabel* label, QObject* parent = nullptr);
    void SetStatusText(const std::string& text) override;
    // Shows the latest text now.
    void Flush();
    QString Text() const;

private:
    QLabel* label_;
    QElapsedTimer sinceRepaint_;
    QTimer pending_;
    std::string latest_;
    bool dirty_ = false;
};

} // namespace velmora::ui
