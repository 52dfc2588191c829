// Mount table change detection.
#include "core/dirtree/MountTableWatch.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace velmora::dirtree {

MountTableWatch::MountTableWatch(VolumeReader read) : read_(std::move(read)) {
    fd_ = ::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC);
    volumes_ = read_();
}

MountTableWatch::~MountTableWatch() {
    if (fd_ >= 0) ::close(fd_);
}

bool MountTableWatch::Refresh() {
    if (fd_ >= 0) {
        // Polling takes note of the change, so the next one signals again.
        pollfd p{fd_, POLLPRI, 0};
        ::poll(&p, 1, 0);
    }
    std::vector<Volume> now = read_();
    if (now == volumes_) return false;
    volumes_ = std::move(now);
    return true;
}

} // namespace velmora::dirtree
