// Runs a worker's call on the UI thread and waits for it, built on a non-blocking poster.
#pragma once

#include "core/watch/UiThreadPoster.h"

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

namespace velmora::watch {

// A blocking cross-thread call deadlocks when the UI thread waits for the worker while the
// worker waits for the UI thread. Here the UI thread can Close the hand-over instead: a call
// not yet started is discarded, and the worker stops waiting at once.
class BlockingHandOver {
public:
    explicit BlockingHandOver(UiThreadPoster& poster);
    ~BlockingHandOver();
    BlockingHandOver(const BlockingHandOver&) = delete;
    BlockingHandOver& operator=(const BlockingHandOver&) = delete;

    // Worker thread: runs fn on the UI thread and returns once it has run (true; also when it
    // threw there) or was discarded (false). Returns false at once after Close.
    bool Run(std::function<void()> fn);

    // UI thread: discards a call still waiting in the queue, releases the worker from waiting
    // for a call that is running (the call itself goes on), and refuses every later Run.
    void Close();

private:
    struct Call;
    struct State;

    UiThreadPoster& poster_;
    std::shared_ptr<State> state_;
};

} // namespace velmora::watch
