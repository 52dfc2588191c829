// Test stand-in for the UI event loop: posted calls queue up until the test thread runs them.
#pragma once

#include "core/watch/UiThreadPoster.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace velmora::watch::test {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

class QueuePoster : public UiThreadPoster {
public:
    void Post(std::function<void()> fn) override {
        std::lock_guard lock(mutex_);
        queue_.push_back(std::move(fn));
        arrived_.notify_all();
    }

    // Runs queued calls on this thread until done() holds or the time is up; returns done().
    // Exceptions of a call reach the caller, as they reach an event loop's error handler.
    bool PumpUntil(const std::function<bool()>& done, Clock::duration timeout = 5s) {
        const auto deadline = Clock::now() + timeout;
        while (!done()) {
            std::function<void()> fn = Take(deadline);
            if (!fn) return done();
            ++ran_;
            fn();
        }
        return true;
    }

    // Runs every call posted within the given time.
    void PumpFor(Clock::duration time) {
        PumpUntil([] { return false; }, time);
    }

    // Waits, without running anything, until a call is queued.
    bool WaitPending(Clock::duration timeout = 5s) {
        std::unique_lock lock(mutex_);
        return arrived_.wait_for(lock, timeout, [&] { return !queue_.empty(); });
    }

    // Runs what is queued now.
    void RunQueued() {
        std::deque<std::function<void()>> now;
        {
            std::lock_guard lock(mutex_);
            now.swap(queue_);
        }
        for (auto& fn : now) {
            ++ran_;
            fn();
        }
    }

    // Calls run so far (by this thread).
    int Ran() const { return ran_; }

private:
    std::function<void()> Take(Clock::time_point deadline) {
        std::unique_lock lock(mutex_);
        if (!arrived_.wait_until(lock, deadline, [&] { return !queue_.empty(); })) return {};
        std::function<void()> fn = std::move(queue_.front());
        queue_.pop_front();
        return fn;
    }

    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<std::function<void()>> queue_;
    int ran_ = 0;
};

} // namespace velmora::watch::test
