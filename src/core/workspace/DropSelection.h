// What a drop of files on the window lists: their common directory and a pattern.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace velmora::workspace {

struct DropSelection {
    std::string directory; // without a trailing "/" (except the root itself)
    std::string pattern;   // "*.ext" when all dropped files share ext, else "*.*"

    // paths in the order they were dropped. A path is a folder when isDirectory says so; a
    // folder stands for itself, a file for the folder holding it. Raises "You can only drop
    // files from one directory." when they differ; a folder and a file inside it differ too.
    static DropSelection FromPaths(const std::vector<std::string>& paths,
                                   const std::function<bool(const std::string&)>& isDirectory);
};

} // namespace velmora::workspace
