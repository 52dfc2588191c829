// Notices volumes coming and going: the mount table signals every mount and unmount.
#pragma once

#include "core/dirtree/VolumeList.h"

#include <functional>
#include <vector>

namespace velmora::dirtree {

class MountTableWatch {
public:
    using VolumeReader = std::function<std::vector<Volume>()>;
    explicit MountTableWatch(VolumeReader read = CurrentVolumes);
    ~MountTableWatch();
    MountTableWatch(const MountTableWatch&) = delete;
    MountTableWatch& operator=(const MountTableWatch&) = delete;

    // Signals an exceptional condition (POLLPRI) after every change of the table; -1 when the
    // table cannot be opened.
    int Fd() const { return fd_; }
    // The volumes as last read.
    const std::vector<Volume>& Volumes() const { return volumes_; }
    // Reads the volumes again; true when they differ from the last reading. Mounts that the
    // folder tree does not show (system and pseudo file systems) change nothing.
    bool Refresh();

private:
    VolumeReader read_;
    std::vector<Volume> volumes_;
    int fd_ = -1;
};

} // namespace velmora::dirtree
