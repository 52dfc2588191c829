// Reading the tags of a list of files on a thread of its own, in list order, so that a window
// can show the first results, the progress, and stop it.
#pragma once

#include "core/tagnames/TrackTags.h"

#include <atomic>
#include <cstddef>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace velmora::tagnames {

class TagScan {
public:
    using Reader = std::function<TrackTags(const std::string& path)>;

    // Starts reading paths at once.
    explicit TagScan(std::vector<std::string> paths, Reader reader = ReadTrackTags);
    // Stops the reading and waits for the file being read.
    ~TagScan();
    TagScan(const TagScan&) = delete;
    TagScan& operator=(const TagScan&) = delete;

    void Cancel() { cancelled_.store(true, std::memory_order_relaxed); }
    std::size_t Count() const { return paths_.size(); }
    // How many files have been read: the records 0 to Done() - 1 may be read.
    std::size_t Done() const { return done_.load(std::memory_order_acquire); }
    bool Finished() const { return Done() == Count(); }
    const TrackTags& At(std::size_t i) const { return results_[i]; }

private:
    void Run();

    std::vector<std::string> paths_;
    Reader reader_;
    std::vector<TrackTags> results_;
    std::atomic<std::size_t> done_{0};
    std::atomic<bool> cancelled_{false};
    std::thread thread_;
};

} // namespace velmora::tagnames
