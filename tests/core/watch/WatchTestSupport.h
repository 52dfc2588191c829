// Shared pieces of the watcher tests: temporary folders, file helpers, the watcher fixture.
#pragma once

#include "QueuePoster.h"
#include "core/platform/Error.h"
#include "core/watch/ChangeNotify.h"

#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <stdlib.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace velmora::watch::test {

namespace fs = std::filesystem;

// Long enough for a report that should not come to arrive; events reach the worker at once.
inline constexpr auto QuietSpell = 150ms;

class TempDir {
public:
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "velmora-watch-XXXXXX").string();
        if (::mkdtemp(pattern.data())) path_ = pattern;
    }
    ~TempDir() {
        std::error_code ec;
        if (!path_.empty()) fs::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const fs::path& Path() const { return path_; }

private:
    fs::path path_;
};

inline void Touch(const fs::path& p) {
    int fd = ::open(p.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0) << p;
    ::close(fd);
}

inline void Append(const fs::path& p, const std::string& text) {
    int fd = ::open(p.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    ASSERT_GE(fd, 0) << p;
    ASSERT_EQ(::write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
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
        fs::path p = tmp.Path() / name;
        fs::create_directories(p);
        return p;
    }

    ChangeItem& AddItem(const fs::path& dir, TChangeActions actions = DefaultChangeActions,
                        bool subtree = false) {
        ChangeItem& item = watcher->Notifications().Add();
        item.SetDirectory(dir.string());
        item.SetActions(actions);
        item.SetIncludeSubTrees(subtree);
        item.OnChange = [this](ChangeItem& sender) { ++counts.at(sender.Index()); };
        return item;
    }

    // Runs reports until the item has at least `atLeast`, then a quiet spell; the final count.
    int Settle(int index, int atLeast) {
        poster.PumpUntil([&] { return counts.at(index) >= atLeast; });
        poster.PumpFor(QuietSpell);
        return counts.at(index);
    }

    // Runs reports until the first items' counts reach `atLeast`, then a quiet spell; the counts.
    std::vector<int> SettleAll(const std::vector<int>& atLeast) {
        auto reached = [&] {
            for (std::size_t i = 0; i < atLeast.size(); ++i)
                if (counts[i] < atLeast[i]) return false;
            return true;
        };
        poster.PumpUntil(reached);
        poster.PumpFor(QuietSpell);
        return {counts.begin(), counts.begin() + static_cast<std::ptrdiff_t>(atLeast.size())};
    }

    // Runs hand-overs until `calls` have run in all: for reports that are held, not delivered.
    void HandOvers(int calls) {
        ASSERT_TRUE(poster.PumpUntil([&] { return poster.Ran() >= calls; }));
    }

    TempDir tmp;
    QueuePoster poster;
    std::unique_ptr<ChangeNotify> watcher = std::make_unique<ChangeNotify>(poster);
    std::vector<int> counts = std::vector<int>(ChangeItems::MaxItems);
};

} // namespace velmora::watch::test
