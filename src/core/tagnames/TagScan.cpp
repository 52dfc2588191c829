// The tag-reading thread.
#include "core/tagnames/TagScan.h"

namespace velmora::tagnames {

TagScan::TagScan(std::vector<std::string> paths, Reader reader)
    : paths_(std::move(paths)), reader_(std::move(reader)), results_(paths_.size()) {
    thread_ = std::thread([this] { Run(); });
}

TagScan::~TagScan() {
    Cancel();
    thread_.join();
}

void TagScan::Run() {
    for (std::size_t i = 0; i < paths_.size(); ++i) {
        if (cancelled_.load(std::memory_order_relaxed)) return;
        results_[i] = reader_(paths_[i]);
        done_.store(i + 1, std::memory_order_release);
    }
}

} // namespace velmora::tagnames
