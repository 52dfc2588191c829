// Shared pieces of the watcher tests: a queue standing in for the UI event loop, temporary
// folders, file helpers and the watcher fixture.
#pragma once

#include "core/platform/Error.h"
#include "core/watch/ChangeNotify.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <memory>
#include <mutex>
#include <stdlib.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace velmora::watch::test {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Long enough for a report that should not come to arrive; events reach the worker at once.
inline constexpr auto QuietSpell = 150ms;

// Posted calls queue up until the test thread runs them.
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
            std::unique_lock lock(mutex_);
            if (!arrived_.wait_until(lock, deadline, [&] { return !queue_.empty(); }))
                return done();
            std::function<void()> fn = std::move(queue_.front());
            queue_.pop_front();
            lock.unlock();
            ++ran;
            fn();
        }
        return true;
    }

    // Runs every call posted within the given time.
    void PumpFor(Clock::duration time) {
        PumpUntil([] { return false; }, time);
    }

    // Runs the calls queued now.
    void RunQueued() {
        std::unique_lock lock(mutex_);
        const int target = ran + static_cast<int>(queue_.size());
        lock.unlock();
        PumpUntil([&] { return ran >= target; }, 0s);
    }

    // Waits, without running anything, until a call is queued.
    bool WaitPending(Clock::duration timeout = 5s) {
        std::unique_lock lock(mutex_);
        return arrived_.wait_for(lock, timeout, [&] { return !queue_.empty(); });
    }

    int ran = 0; // calls run so far (by the test thread)

private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<std::function<void()>> queue_;
};

struct TempDir {
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "velmora-watch-XXXXXX").string();
        if (::mkdtemp(pattern.data())) path = pattern;
    }
    ~TempDir() { fs::remove_all(path, ec); }
    std::error_code ec;
    fs::path path;
};

inline void Touch(const fs::path& p) {
    int fd = ::open(p.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0) << p;
    ::close(fd);
}

// Open inotify instances of this process.
inline int InotifyInstances() {
    int n = 0;
    for (const auto& e : fs::directory_iterator("/proc/self/fd")) {
        std::error_code ec;
        if (fs::read_symlink(e.path(), ec).string() == "anon_inode:inotify") ++n;
    }
    return n;
}

class WatchTest : public ::testing::Test {
protected:
    WatchTest() { watcher->SetCheckInterval(20); }

    fs::path MakeDir(const std::string& name) {
        fs::path p = tmp.path / name;
        fs::create_directories(p);
        return p;
    }

    // Adds an item watching the folder `name` (made if missing) that counts its reports.
    fs::path Watch(const std::string& name, TChangeActions actions = DefaultChangeActions,
                   bool subtree = false) {
        fs::path dir = MakeDir(name);
        ChangeItem& item = watcher->Notifications().Add();
        item.SetDirectory(dir.string());
        item.SetActions(actions);
        item.SetIncludeSubTrees(subtree);
        item.OnChange = [this](ChangeItem& sender) { ++counts.at(sender.Index()); };
        return dir;
    }
    ChangeItem& Item(int index) { return watcher->Notifications()[index]; }

    // Runs reports until the first items' counts reach `expected`, then for a quiet spell in
    // which no further report may come; succeeds when the counts are then exactly `expected`.
    ::testing::AssertionResult Reports(const std::vector<int>& expected) {
        auto got = [&] {
            return std::vector<int>(counts.begin(), counts.begin() + std::ssize(expected));
        };
        poster.PumpUntil([&] { return std::ranges::equal(got(), expected, std::greater_equal{}); });
        poster.PumpFor(QuietSpell);
        if (got() == expected) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "report counts " << ::testing::PrintToString(got())
                                             << ", expected " << ::testing::PrintToString(expected);
    }

    // Touches the file and runs the hand-over that follows: for reports held, not delivered.
    void TouchAndHandOver(const fs::path& file) {
        Touch(file);
        const int target = poster.ran + 1;
        ASSERT_TRUE(poster.PumpUntil([&] { return poster.ran >= target; }));
    }

    TempDir tmp;
    QueuePoster poster;
    std::unique_ptr<ChangeNotify> watcher = std::make_unique<ChangeNotify>(poster);
    std::vector<int> counts = std::vector<int>(ChangeItems::MaxItems);
};

} // namespace velmora::watch::test
