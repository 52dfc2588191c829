// Directory watcher: activation, deactivation, holding and delivering reports.
#include "core/watch/ChangeNotify.h"

#include "core/platform/Error.h"

#include <exception>

namespace velmora::watch {

ChangeNotify::ChangeNotify(UiThreadPoster& poster) : poster_(poster) {}

ChangeNotify::~ChangeNotify() {
    try {
        SetActive(false);
    } catch (...) {
        // Stopping never raises today; a destructor must not let it escape if it ever does.
    }
}

void ChangeNotify::SetCheckInterval(int milliseconds) {
    if (active_) throw platform::EComponentError("Cannot change this value when active");
    if (milliseconds > 0) checkInterval_ = milliseconds;
}

void ChangeNotify::SetActive(bool value) {
    if (value == active_) return;
    if (!value) {
        // Detach first: the stop may run inside one of this watcher's own handlers.
        std::unique_ptr<ChangeThread> worker = std::move(worker_);
        active_ = false;
        held_.reset();
        if (worker) worker->Stop();
        return;
    }
    std::vector<std::unique_ptr<DirectoryWatch>> watches;
    for (int i = 0; i < notifications_.Count(); ++i) {
        const ChangeItem& item = notifications_[i];
        if (!DirectoryExists(item.Directory()))
            throw platform::EComponentError(platform::Format(
                "Invalid or empty path (\"%s\") at index %d", {item.Directory(), std::int64_t{i}}));
        // A refusal raises here; the watches opened so far close as the vector goes.
        watches.push_back(std::make_unique<DirectoryWatch>(item.Directory(), item.Actions(),
                                                           item.IncludeSubTrees()));
    }
    worker_ = std::make_unique<ChangeThread>(std::move(watches), checkInterval_, poster_,
                                             [this](int index) { DoThreadChange(index); });
    worker_->Start();
    active_ = true;
}

void ChangeNotify::Hold() {
    ++holdCount_;
}

void ChangeNotify::Release() {
    if (holdCount_ == 0 || --holdCount_ > 0) return;
    std::weak_ptr<char> alive = alive_;
    std::exception_ptr error;
    while (holdCount_ == 0 && held_.any()) {
        int index = 0;
        while (!held_.test(static_cast<std::size_t>(index)))
            ++index;
        held_.reset(static_cast<std::size_t>(index));
        if (index >= notifications_.Count()) continue;
        // One failing handler must not swallow the other items' reports.
        try {
            Deliver(index);
        } catch (...) {
            if (!error) error = std::current_exception();
        }
        if (alive.expired()) break;
    }
    if (error) std::rethrow_exception(error);
}

void ChangeNotify::DoThreadChange(int index) {
    if (index >= notifications_.Count()) return; // the item was deleted while watching
    if (holdCount_ > 0) {
        held_.set(static_cast<std::size_t>(index));
        return;
    }
    Deliver(index);
}

void ChangeNotify::Deliver(int index) {
    if (worker_) worker_->NoteReport(index);
    Change(notifications_[index]);
}

void ChangeNotify::Change(ChangeItem& item) {
    std::weak_ptr<char> alive = alive_;
    // Copies: a handler may delete the item or the watcher.
    const std::string directory = item.Directory();
    const TChangeActions actions = item.Actions();
    if (ChangeItem::ChangeEvent onChange = item.OnChange) onChange(item);
    if (alive.expired()) return;
    if (ChangeNotifyEvent onNotify = OnChangeNotify) onNotify(*this, directory, actions);
}

} // namespace velmora::watch
