// Runs the closing half of a bracket when a scope ends, normally or by an exception.
#pragma once

#include <exception>
#include <utility>

namespace velmora::editor {

// Runs the closing action of a scope. Closing actions restore their count before anything that
// may fail. Should one fail while an exception already unwinds, that second failure is dropped:
// the first error is the one the caller gets, and a destructor leaving with two exceptions
// would end the program. (Asking whether an exception unwinds only after a failure keeps the
// way out of every command free of that question.)
template <class Action> void RunAtScopeEnd(Action&& action) {
    try {
        action();
    } catch (...) {
        if (std::uncaught_exceptions() == 0) throw;
    }
}

// An ad hoc closing action: ScopeExit restore([&] { --depth; });
template <class Action> class ScopeExit {
public:
    explicit ScopeExit(Action action) : action_(std::move(action)) {}
    ~ScopeExit() noexcept(false) { RunAtScopeEnd(action_); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    Action action_;
};

} // namespace velmora::editor
