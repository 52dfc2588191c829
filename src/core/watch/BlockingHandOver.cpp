// Blocking hand-over with discard: the call's state machine shared by worker and UI thread.
#include "core/watch/BlockingHandOver.h"

namespace velmora::watch {

struct BlockingHandOver::Call {
    enum class Status { Pending, Running, Done, Discarded };
    std::function<void()> fn;
    Status status = Status::Pending;
};

struct BlockingHandOver::State {
    std::mutex mutex;
    std::condition_variable changed;
    std::shared_ptr<Call> current; // the call the worker waits for
    bool closed = false;
};

BlockingHandOver::BlockingHandOver(UiThreadPoster& poster)
    : poster_(poster), state_(std::make_shared<State>()) {}

BlockingHandOver::~BlockingHandOver() {
    Close();
}

bool BlockingHandOver::Run(std::function<void()> fn) {
    auto call = std::make_shared<Call>();
    call->fn = std::move(fn);
    {
        std::lock_guard lock(state_->mutex);
        if (state_->closed) return false;
        state_->current = call;
    }
    // The posted callback may run after this object is gone: it holds only a weak reference to
    // the shared state and the call itself, and does nothing unless the call is still pending.
    poster_.Post([weak = std::weak_ptr<State>(state_), call] {
        std::shared_ptr<State> state = weak.lock();
        if (!state) return;
        {
            std::lock_guard lock(state->mutex);
            if (call->status != Call::Status::Pending) return;
            call->status = Call::Status::Running;
        }
        struct Finish {
            State& state;
            Call& call;
            ~Finish() {
                std::lock_guard lock(state.mutex);
                if (call.status == Call::Status::Running) call.status = Call::Status::Done;
                state.changed.notify_all();
            }
        } finish{*state, *call};
        call->fn();
    });
    std::unique_lock lock(state_->mutex);
    state_->changed.wait(lock, [&] {
        return call->status == Call::Status::Done || call->status == Call::Status::Discarded;
    });
    bool ran = call->status == Call::Status::Done;
    state_->current.reset();
    return ran;
}

void BlockingHandOver::Close() {
    std::lock_guard lock(state_->mutex);
    state_->closed = true;
    if (state_->current && state_->current->status != Call::Status::Done)
        state_->current->status = Call::Status::Discarded;
    state_->changed.notify_all();
}

} // namespace velmora::watch
