// Telling the naming rules of a folder's volume from the mount table.
#include "core/fs/VolumeNaming.h"

#include "core/dirtree/MountTable.h"

#include <cstdlib>

namespace velmora::fs {

namespace {

bool Contains(std::string_view s, std::string_view part) {
    return s.find(part) != std::string_view::npos;
}

} // namespace

VolumeNaming VolumeNaming::ForFileSystemType(std::string_view type) {
    VolumeNaming n;
    if (type.starts_with("fuse.")) type.remove_prefix(5);
    const bool fat = type == "vfat" || type == "msdos" || type == "fat" ||
                     Contains(type, "exfat") || Contains(type, "fusefat") || type == "fuseblk";
    const bool ntfs = Contains(type, "ntfs");
    n.fatCharacters = fat || ntfs;
    n.caseInsensitive = fat;
    return n;
}

VolumeNaming VolumeNaming::ForFolder(const std::string& folder) {
    char* real = ::realpath(folder.c_str(), nullptr);
    if (real == nullptr) return {};
    const std::string path(real);
    std::free(real);
    const auto mount = dirtree::MountOf(dirtree::ParseMountInfo(dirtree::ReadMountInfo()), path);
    return mount ? ForFileSystemType(mount->fsType) : VolumeNaming{};
}

} // namespace velmora::fs
