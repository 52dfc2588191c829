// Hands the directory watcher's calls to the Qt event loop of the UI thread.
#pragma once

#include "core/watch/UiThreadPoster.h"

#include <QObject>

namespace velmora::ui {

// Create on the UI thread; calls posted from any thread run there in order, as queued events.
// Calls still queued when the poster is destroyed are dropped.
class QtUiThreadPoster : public watch::UiThreadPoster {
public:
    void Post(std::function<void()> fn) override;

private:
    QObject context_; // lives on the creating thread
};

} // namespace velmora::ui
