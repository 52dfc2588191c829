// The volumes the folder tree offers: the root file system and the user's mounted volumes.
#pragma once

#include "core/dirtree/VolumeLabels.h"
#include "core/fs/MountTable.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::dirtree {

enum class VolumeKind : std::uint8_t { vkFileSystem, vkHardDisk, vkRemovable, vkOptical, vkRemote };

struct Volume {
    std::string path;    // the mount point with a trailing "/"
    std::string caption; // "File System" for "/", else its label, or the mount point's last name
    VolumeKind kind = VolumeKind::vkHardDisk;

    bool operator==(const Volume&) const = default;
};

// "/" first, then the mounts a user put there or had mounted for them: under /media/,
// /run/media/<user>/ and below home, outside hidden folders, without pseudo and system file
// systems. A mount point mounted over again counts once. Sorted by caption. A volume whose device
// has a label in labels is shown by that label.
std::vector<Volume> VisibleVolumes(const std::vector<fs::MountEntry>& table, std::string_view home,
                                   std::string_view user, const VolumeLabels& labels = {});

// The visible volumes of the running process (its mount table, $HOME and user name).
std::vector<Volume> CurrentVolumes();

// Whether a removable or optical volume can be opened now: it is still mounted (the current
// table lists its mount point) and its file system answers.
bool VolumeReady(const std::vector<fs::MountEntry>& table, const std::string& path);

} // namespace velmora::dirtree
