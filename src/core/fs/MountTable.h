// The kernel's table of mounted file systems (/proc/self/mountinfo).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::fs {

// One line of the table; text fields are unescaped ("\040" is a space).
struct MountEntry {
    int id = 0;
    int parentId = 0;
    std::string device;     // "major:minor"
    std::string root;       // the folder of the file system that is mounted
    std::string mountPoint; // absolute
    std::string options;
    std::string fsType;
    std::string source;
};

// Parses the table text. Lines without the mandatory fields, or whose mount point is not an
// absolute path, are skipped; the table is outside data.
std::vector<MountEntry> ParseMountInfo(std::string_view text);

// Undoes the kernel's octal escapes (space, tab, newline, backslash as "\ooo").
std::string UnescapeMountField(std::string_view field);

// The current process's table text; empty when it cannot be read.
std::string ReadMountInfo();

// The entry whose file system holds realPath (an absolute path without symbolic links): the
// longest mount point above it, and of equally long ones the last, which is mounted on top.
std::optional<MountEntry> MountOf(const std::vector<MountEntry>& table,
                                  const std::string& realPath);

} // namespace velmora::fs
