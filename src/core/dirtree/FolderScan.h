// Reading one level of folders for the tree: subfolders, each with its has-children flag.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velmora::dirtree {

struct FolderEntry {
    std::string name;
    bool hasChildren = false; // at least one subfolder: the node shows an expand button
};

enum class ScanStatus : std::uint8_t {
    ssOk,
    ssUnreadable, // exists but cannot be listed (permissions, I/O): shown without children
    ssVanished    // no longer there (or no longer a folder): dropped from the tree
};

struct FolderScan {
    ScanStatus status = ScanStatus::ssOk;
    std::vector<FolderEntry> entries; // in name order
};

// The subfolders of path, hidden ones included; a link to a folder counts as a folder. Each
// entry's has-children flag comes from the folder's link count where the file system keeps
// it exact, otherwise from a listing that stops at the first subfolder.
FolderScan ScanFolder(const std::string& path);

// Whether path has at least one subfolder; false when it cannot be read.
bool HasSubDirs(const std::string& path);

} // namespace velmora::dirtree
