// The UI layer's side of the watcher's hand-over: queue a call for the UI thread.
#pragma once

#include <functional>

namespace velmora::watch {

class UiThreadPoster {
public:
    virtual ~UiThreadPoster() = default;
    // Called from any thread. Queues fn to run later on the UI thread's event loop; never runs
    // it synchronously and never waits for it. An exception fn throws belongs to the UI thread's
    // error handling. A queued call may be dropped when the poster goes away.
    virtual void Post(std::function<void()> fn) = 0;
};

} // namespace velmora::watch
