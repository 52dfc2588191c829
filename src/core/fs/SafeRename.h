// Renames that never replace an existing entry, on every kind of Linux file system.
#pragma once

#include <cstdint>
#include <string>

namespace velmora::fs {

enum class RenameStatus : std::uint8_t { Ok, Exists, Failed };

struct RenameResult {
    RenameResult() = default;
    RenameResult(RenameStatus s, int e) : status(s), error(e) {}

    RenameStatus status = RenameStatus::Ok;
    int error = 0; // errno for Failed
    // Set when a failed change of letter case could not give the file its old name back: where
    // the file is now. That is a free name made from the old one ("song (2).mp3"), or the
    // hidden temporary name when nothing in the folder could be renamed any more.
    std::string movedTo;
};

// True when an entry named newPath exists and is not the very file at oldPath. Another
// spelling of the old name conflicts where the folder lists that very spelling (case-sensitive
// file systems); where a lookup merely folded the case, RenameNoReplace finds out.
bool TargetConflicts(const std::string& oldPath, const std::string& newPath);

// Moves oldPath to newPath without ever replacing what is at newPath. A change of letter case
// whose target resolves to the same file (case-insensitive file systems) goes through a unique
// temporary name; the file never stays there while any rename in the folder still works.
// Never copies; a cross-device target fails.
RenameResult RenameNoReplace(const std::string& oldPath, const std::string& newPath);

} // namespace velmora::fs
