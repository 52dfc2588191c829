// The drop rules: one directory, and the extension the dropped files share.
#include "core/workspace/DropSelection.h"

#include "core/fs/PathUtils.h"
#include "core/platform/Error.h"

namespace velmora::workspace {

DropSelection DropSelection::FromPaths(const std::vector<std::string>& paths,
                                       const std::function<bool(const std::string&)>& isDirectory) {
    std::string dir;
    std::string pattern;
    for (std::string path : paths) {
        while (path.size() > 1 && path.back() == '/')
            path.pop_back();
        const bool folder = isDirectory(path);
        // A folder's own path carries no trailing "/", a file's folder does; so a folder and a
        // file inside it count as two directories, and dropping them together is refused.
        std::string pathDir;
        if (folder) {
            pathDir = path;
        } else {
            auto slash = path.find_last_of('/');
            pathDir = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
        }
        if (dir.empty())
            dir = pathDir;
        else if (pathDir != dir)
            throw platform::Exception("You can only drop files from one directory.");
        std::string ext = folder ? std::string() : fs::ExtractFileExt(path);
        if (ext.empty()) ext = ".*";
        if (pattern.empty())
            pattern = "*" + ext;
        else if (pattern != "*.*" && pattern != "*" + ext)
            pattern = "*.*";
    }
    if (pattern.empty()) pattern = "*.*";
    while (dir.size() > 1 && dir.back() == '/')
        dir.pop_back();
    return {dir, pattern};
}

} // namespace velmora::workspace
