// Which file a path names and how it stood when it was read: a file overwritten in place keeps
// its identity but not its size or times, so writing what was read back into it is told apart.
#pragma once

#include "core/fs/FileIdentity.h"

#include <cstdint>
#include <optional>
#include <string>

namespace velmora::fs {

struct FileVersion {
    FileIdentity Identity;
    std::uint64_t Size = 0;
    // Last write (contents) and last change (contents or attributes), in nanoseconds since 1970.
    std::int64_t WriteTime = 0;
    std::int64_t ChangeTime = 0;

    bool operator==(const FileVersion&) const = default;

    // The file the path names now, following symbolic links; nothing when there is none.
    static std::optional<FileVersion> Of(const std::string& path);
};

} // namespace velmora::fs
