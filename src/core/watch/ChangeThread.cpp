// Worker loop: poll the watches, drain them, hand each changed item over once per wake-up.
#include "core/watch/ChangeThread.h"

#include <poll.h>

namespace velmora::watch {

ChangeThread::ChangeThread(std::vector<std::unique_ptr<DirectoryWatch>> watches, int checkInterval,
                           UiThreadPoster& poster, ChangeCallback onChange)
    : watches_(std::move(watches)), checkInterval_(checkInterval), onChange_(std::move(onChange)),
      handOver_(poster) {}

ChangeThread::~ChangeThread() {
    Stop();
}

void ChangeThread::Start() {
    thread_ = std::thread(&ChangeThread::Execute, this);
}

void ChangeThread::Stop() {
    terminated_ = true;
    handOver_.Close();
    if (thread_.joinable()) thread_.join();
}

bool ChangeThread::Watching(int index) const {
    // The worker never changes the list of watches before it is asked to stop.
    return index >= 0 && index < static_cast<int>(watches_.size()) &&
           watches_[static_cast<std::size_t>(index)]->Live();
}

void ChangeThread::NoteReport(int index) {
    if (index >= 0 && index < MaxWatches) reports_[static_cast<std::size_t>(index)].fetch_add(1);
}

void ChangeThread::MarkChanged(int index) {
    auto i = static_cast<std::size_t>(index);
    changed_.set(i);
    reportsSeen_[i] = reports_[i].load();
}

void ChangeThread::Execute() {
    while (!terminated_) {
        int next = -1;
        for (int i = 0; i < static_cast<int>(watches_.size()) && next < 0; ++i)
            if (changed_.test(static_cast<std::size_t>(i))) next = i;
        if (next < 0) {
            WaitForChanges();
            continue;
        }
        changed_.reset(static_cast<std::size_t>(next));
        // The callback is copied into the call: the handler may stop and free this worker.
        handOver_.Run([this, next, callback = onChange_] { ReportOnUiThread(next, callback); });
    }
    watches_.clear();
}

void ChangeThread::WaitForChanges() {
    std::array<pollfd, MaxWatches> fds{};
    std::array<int, MaxWatches> owner{};
    nfds_t count = 0;
    for (int i = 0; i < static_cast<int>(watches_.size()); ++i) {
        if (watches_[static_cast<std::size_t>(i)]->Ended()) continue;
        fds[count] = pollfd{watches_[static_cast<std::size_t>(i)]->Handle(), POLLIN, 0};
        owner[count++] = i;
    }
    if (::poll(fds.data(), count, checkInterval_) <= 0) return;
    for (nfds_t k = 0; k < count; ++k)
        if (fds[k].revents != 0 && watches_[static_cast<std::size_t>(owner[k])]->Drain())
            MarkChanged(owner[k]);
}

void ChangeThread::ReportOnUiThread(int index, const ChangeCallback& callback) {
    auto at = static_cast<std::size_t>(index);
    // Still unreported unless a report of this item started after the worker read the change.
    bool fresh = reportsSeen_[at] == reports_[at].load();
    // Everything queued up to now is covered by this report, so a burst that went on while the
    // UI thread was busy yields one report, not two.
    for (std::size_t i = 0; i < watches_.size(); ++i) {
        if (!watches_[i]->Drain()) continue;
        if (i == at)
            fresh = true;
        else
            MarkChanged(static_cast<int>(i));
    }
    if (fresh) callback(index); // may free this object: nothing may follow
}

} // namespace velmora::watch
