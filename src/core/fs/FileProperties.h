// Everything the properties dialog shows about one file, read without following its last link.
#pragma once

#include "core/platform/Error.h"

#include <cstdint>
#include <optional>
#include <string>

namespace velmora::fs {

struct FileProperties {
    std::string path;
    std::string name;
    std::string location; // the folder holding it
    enum class Kind : std::uint8_t { File, Folder, Link, Other } kind = Kind::File;
    std::string linkTarget;    // for a link: the target as stored
    bool linkBroken = false;   // for a link: the target does not exist
    std::uint64_t size = 0;    // bytes; for a link the size of what it points to
    std::string owner, group;  // names, or the numbers when there is no name
    unsigned permissions = 0;  // the mode's low 12 bits
    std::int64_t modified = 0; // seconds since 1970, UTC
    std::int64_t accessed = 0;
    std::int64_t changed = 0;
    std::optional<std::int64_t> created; // when the file system records a birth time
    std::string fileSystem;              // type, e.g. "ext4"
    std::string mountPoint;
    std::optional<std::uint64_t> freeSpace; // bytes available to the user

    // Raises platform::Exception "Cannot read the properties of \"%s\": %s." when path cannot
    // be examined.
    static FileProperties Read(const std::string& path);
};

// "rwxr-x---" for the permission bits, with s/S and t/T for the special bits.
std::string PermissionText(unsigned mode);
// "2026-12-08 14:05:09 UTC".
std::string UtcTimeText(std::int64_t seconds);

} // namespace velmora::fs
