// Notices folders created, removed or renamed inside the folders the tree has read.
#pragma once

#include <string>
#include <unordered_set>

namespace velmora::dirtree {

class LoadedFolderWatch {
public:
    LoadedFolderWatch();
    ~LoadedFolderWatch();
    LoadedFolderWatch(const LoadedFolderWatch&) = delete;
    LoadedFolderWatch& operator=(const LoadedFolderWatch&) = delete;

    // Readable when events are waiting; -1 when inotify is unavailable.
    int Fd() const { return fd_; }
    // Watches path for subfolders appearing, disappearing or being renamed. A folder that
    // cannot be watched (gone, watch limit reached) is left out: the tree still works. So is a
    // shared scratch folder (world-writable and sticky, or the system's temporary folder):
    // every program makes and removes folders there all the time, and each would rebuild the
    // tree.
    void Add(const std::string& path);
    // Drops every watch and every event not yet read (the tree is being rebuilt).
    void Clear();
    int Count() const { return static_cast<int>(watches_.size()); }
    // Reads what is waiting without blocking; true when a subfolder of a watched folder
    // appeared, vanished or was renamed, or when events were lost.
    bool ReadEvents();

private:
    int fd_ = -1;
    std::unordered_set<int> watches_;
};

} // namespace velmora::dirtree
