// The directory watcher: items to watch, activation, and reports on the UI thread.
#pragma once

#include "core/watch/ChangeItems.h"
#include "core/watch/ChangeThread.h"
#include "core/watch/UiThreadPoster.h"

#include <bitset>
#include <functional>
#include <memory>
#include <string>

namespace velmora::watch {

// Lives on the UI thread; every member is called there and every event is raised there.
class ChangeNotify {
public:
    using ChangeNotifyEvent = std::function<void(ChangeNotify& sender, const std::string& directory,
                                                 TChangeActions actions)>;

    // The poster must outlive the watcher.
    explicit ChangeNotify(UiThreadPoster& poster);
    ~ChangeNotify(); // deactivates first
    ChangeNotify(const ChangeNotify&) = delete;
    ChangeNotify& operator=(const ChangeNotify&) = delete;

    ChangeItems& Notifications() { return notifications_; }
    const ChangeItems& Notifications() const { return notifications_; }
    // Copies every item's directory, actions and subtree flag.
    void SetNotifications(const ChangeItems& items) { notifications_.Assign(items); }

    int CheckInterval() const { return checkInterval_; }
    // The worker's wait time-out in milliseconds, so the longest a stop takes. Raises
    // "Cannot change this value when active" while active; values of 0 or less are ignored.
    void SetCheckInterval(int milliseconds);

    bool Active() const { return active_; }
    // true: opens a watch per item (raising on the first that fails, with every watch closed
    // again) and starts the worker. false: stops the worker, dropping a report it is handing
    // over and any held reports. Nothing happens when the value equals the current state.
    void SetActive(bool value);

    // True while the item at index is watched for real: the watcher is active, and the item's
    // folder has neither ended its watch (removed, moved away, unmounted) nor been replaced by
    // another folder under the same path since activation.
    bool Watching(int index) const { return active_ && worker_ && worker_->Watching(index); }

    // Reports arriving between Hold and the matching Release wait, one per item, and are
    // delivered in item order by the outermost Release. Nestable.
    void Hold();
    void Release();

    // Raised after the item's own OnChange for every reported change.
    ChangeNotifyEvent OnChangeNotify;

    // Raises the item's OnChange, then OnChangeNotify with its directory and actions.
    void Change(ChangeItem& item);

private:
    // The worker's report of a change of the item at index, on the UI thread.
    void DoThreadChange(int index);
    void Deliver(int index);

    UiThreadPoster& poster_;
    ChangeItems notifications_;
    int checkInterval_ = 100;
    bool active_ = false;
    std::unique_ptr<ChangeThread> worker_;
    int holdCount_ = 0;
    std::bitset<ChangeItems::MaxItems> held_;
    // Expires when the watcher is destroyed, so code running after an event handler knows.
    std::shared_ptr<char> alive_ = std::make_shared<char>();
};

} // namespace velmora::watch
