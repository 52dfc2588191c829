// What the file system holding a folder refuses in file names, and how it compares them.
#pragma once

#include <string>
#include <string_view>

namespace velmora::fs {

struct VolumeNaming {
    // FAT, exFAT and NTFS refuse \ : * ? " < > | and control characters, and drop a trailing
    // dot or blank.
    bool fatCharacters = false;
    // Names that differ only in letter case are one name there.
    bool caseInsensitive = false;

    // By the file system's type as the mount table names it ("vfat", "exfat", "ntfs3",
    // "fuseblk", "fuse.fusefat", ...). FUSE block devices are FAT or NTFS volumes in practice.
    static VolumeNaming ForFileSystemType(std::string_view fsType);
    // For the folder (which must exist); an unknown file system gets the POSIX rules.
    static VolumeNaming ForFolder(const std::string& folder);

    // Whether such a volume refuses the character anywhere in a name.
    static bool FatRefuses(char32_t c) {
        return c < 0x20 || c == 0x7F || c == U'\\' || c == U':' || c == U'*' || c == U'?' ||
               c == U'"' || c == U'<' || c == U'>' || c == U'|';
    }
};

} // namespace velmora::fs
