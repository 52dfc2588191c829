// The inotify watch behind one watched item: a directory or a whole subtree.
#pragma once

#include "core/watch/ChangeAction.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <sys/types.h>
#include <unordered_map>

namespace velmora::watch {

// Owns one inotify instance. A subtree is watched by a watch per folder, kept up to date as
// folders appear, move and vanish. Not thread-safe: one thread at a time drains it.
class DirectoryWatch {
public:
    // Opens the watch; raises EComponentError "%s [%s]" (system error text, directory) when the
    // system refuses, for example at the limit of inotify instances or watches.
    DirectoryWatch(const std::string& directory, TChangeActions actions, bool includeSubTrees);
    ~DirectoryWatch();
    DirectoryWatch(const DirectoryWatch&) = delete;
    DirectoryWatch& operator=(const DirectoryWatch&) = delete;

    // The descriptor to poll for readability; -1 once the watch has ended.
    int Handle() const { return fd_; }
    bool Ended() const { return fd_ < 0; }
    // Any thread: the watch has not ended and its path still names the folder it was opened
    // on (a folder removed and made again under the same path is another folder).
    bool Live() const;

    // Reads every queued event without blocking. True when any of them is a change of one of
    // the item's kinds, a lost-events overflow, or the end of the watch because the directory
    // itself was removed, moved or unmounted (the watch is closed then).
    bool Drain();

private:
    bool HandleEvent(int wd, std::uint32_t mask, const char* name);
    // Watches the folder and every folder below it. Returns true when it finds entries that
    // were created before their folder's watch existed and that the item's kinds cover.
    bool AddTree(const std::string& path, bool created, bool throwOnRefusal);
    void RemoveTree(const std::string& path);
    void Rebuild();
    void Close();

    int fd_ = -1;
    std::atomic<bool> ended_{false};
    dev_t rootDev_ = 0; // the watched folder's identity
    ino_t rootIno_ = 0;
    int rootWd_ = -1;
    std::string directory_;
    TChangeActions actions_;
    bool includeSubTrees_;
    std::uint32_t subMask_ = 0;
    std::unordered_map<int, std::string> paths_; // watch descriptor -> folder path
};

} // namespace velmora::watch
