// Which file a path names: its device and inode. A rename keeps them, so a path that names
// another file than before (the old file renamed away, another renamed onto its name) is told
// apart from the same file with new contents.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace velmora::fs {

struct FileIdentity {
    std::uint64_t Device = 0;
    std::uint64_t Inode = 0;

    bool operator==(const FileIdentity&) const = default;

    // The file the path names now, following symbolic links; nothing when there is none.
    static std::optional<FileIdentity> Of(const std::string& path);
};

} // namespace velmora::fs
