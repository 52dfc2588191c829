// Renames that never replace an existing entry, on every kind of Linux file system.
#pragma once

#include <cstdint>
#include <string>

namespace velmora::fs {

enum class RenameStatus : std::uint8_t { Ok, Exists, Failed };

struct RenameResult {
    RenameStatus status = RenameStatus::Ok;
    int error = 0; // errno for Failed
};

// True when an entry named newPath exists and is not the very file at oldPath. A mere change
// of letter case is left to RenameNoReplace, which reports Exists when it meets another file.
bool TargetConflicts(const std::string& oldPath, const std::string& newPath);

// Moves oldPath to newPath without ever replacing what is at newPath. A change of letter case
// whose target resolves to the same file (case-insensitive file systems) goes through a unique
// temporary name. Never copies; a cross-device target fails.
RenameResult RenameNoReplace(const std::string& oldPath, const std::string& newPath);

} // namespace velmora::fs
