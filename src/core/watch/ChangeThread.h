// The watcher's worker: waits for changes of the open watches and hands each to the UI thread.
#pragma once

#include "core/watch/BlockingHandOver.h"
#include "core/watch/DirectoryWatch.h"

#include <array>
#include <atomic>
#include <bitset>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

namespace velmora::watch {

class ChangeThread {
public:
    static constexpr int MaxWatches = 64;
    // Runs on the UI thread with the index of the item that changed.
    using ChangeCallback = std::function<void(int index)>;

    // Takes over the open watches (at most 64; index = item index). The worker starts at Start.
    ChangeThread(std::vector<std::unique_ptr<DirectoryWatch>> watches, int checkInterval,
                 UiThreadPoster& poster, ChangeCallback onChange);
    ~ChangeThread();
    ChangeThread(const ChangeThread&) = delete;
    ChangeThread& operator=(const ChangeThread&) = delete;

    void Start();
    // UI thread: asks the worker to stop, discards a hand-over it waits for, and waits until
    // it has finished; it closes its watches itself. Also safe from inside the callback.
    void Stop();

    // UI thread: whether the item's watch is still live (DirectoryWatch::Live).
    bool Watching(int index) const;

    // UI thread: a report for the item starts being handled now. Changes the worker had read
    // before this moment are covered by that report and are not reported again.
    void NoteReport(int index);

private:
    void Execute();
    void WaitForChanges();
    void MarkChanged(int index);
    // Runs on the UI thread as the hand-over of item index.
    void ReportOnUiThread(int index, const ChangeCallback& callback);

    std::vector<std::unique_ptr<DirectoryWatch>> watches_;
    const int checkInterval_;
    ChangeCallback onChange_;
    BlockingHandOver handOver_;
    std::atomic<bool> terminated_{false};
    std::thread thread_;

    // Owned by whichever side holds the hand-over: the worker, or the UI thread while it runs
    // a handed-over call.
    std::bitset<MaxWatches> changed_;
    std::array<std::uint32_t, MaxWatches> reportsSeen_{}; // reports_ when the change was read

    // Written by the UI thread, read by the worker.
    std::array<std::atomic<std::uint32_t>, MaxWatches> reports_{};
};

} // namespace velmora::watch
