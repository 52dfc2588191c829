// Directory enumeration by pattern.
#include "core/fs/DirectoryListing.h"

#include "core/fs/NaturalOrder.h"
#include "core/fs/PathUtils.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <vector>

namespace velmora::fs {

bool DirectoryExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool ListMatchingFiles(const std::string& dir, const std::string& pattern,
                       const std::function<void(const std::string& name)>& onName) {
    if (pattern.empty()) return true;
    DIR* d = ::opendir(dir.c_str());
    if (!d) return false;
    int dfd = ::dirfd(d);
    const bool everything = pattern == "*" || pattern == "*.*";
    // readdir order is the file system's own (hash order on ext4); users expect name order.
    std::vector<std::string> names;
    while (dirent* e = ::readdir(d)) {
        const char* name = e->d_name;
        if (name[0] == '.') continue;
        if (e->d_type == DT_DIR) continue;
        if (!everything && !MatchesMask(name, pattern)) continue;
        // Links and file systems that do not fill d_type need a stat to tell folders apart.
        if (e->d_type == DT_LNK || e->d_type == DT_UNKNOWN) {
            struct stat st {};
            if (::fstatat(dfd, name, &st, 0) == 0 && S_ISDIR(st.st_mode)) continue;
        }
        names.emplace_back(name);
    }
    ::closedir(d);
    NaturalOrder::Sort(names);
    for (const std::string& name : names)
        onName(name);
    return true;
}

} // namespace velmora::fs
