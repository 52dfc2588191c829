// Queued invocation on the UI thread's event loop.
#include "ui/platform/QtUiThreadPoster.h"

#include <QMetaObject>

namespace velmora::ui {

void QtUiThreadPoster::Post(std::function<void()> fn) {
    // Queued, never blocking: the watcher itself waits and can give the call up when stopping.
    QMetaObject::invokeMethod(&context_, std::move(fn), Qt::QueuedConnection);
}

} // namespace velmora::ui
