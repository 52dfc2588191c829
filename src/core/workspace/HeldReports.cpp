// Holding and delivering outside reports.
#include "core/workspace/HeldReports.h"

#include <exception>

namespace velmora::workspace {

void HeldReports::AddSource(std::function<void()> hold, std::function<void()> release) {
    sources_.push_back({std::move(hold), std::move(release)});
    if (count_ > 0 && sources_.back().hold) sources_.back().hold();
}

void HeldReports::Hold() {
    if (count_++ > 0) return;
    for (const Source& s : sources_)
        if (s.hold) s.hold();
}

void HeldReports::Release() {
    if (count_ == 0 || --count_ > 0) return;
    // A delivered report may start a new action, which holds every source again; each source
    // counts its own holds, so the rest are still released once here.
    const std::weak_ptr<char> alive = alive_;
    const std::size_t n = sources_.size();
    std::exception_ptr error;
    for (std::size_t i = 0; i < n; ++i) {
        try {
            if (std::function<void()> release = sources_[i].release) release();
        } catch (...) {
            if (!error) error = std::current_exception();
        }
        if (alive.expired()) break;
    }
    if (error) std::rethrow_exception(error);
}

} // namespace velmora::workspace
