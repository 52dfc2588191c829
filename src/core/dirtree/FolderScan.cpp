// Folder enumeration for the tree.
#include "core/dirtree/FolderScan.h"

#include "core/fs/NaturalOrder.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace velmora::dirtree {

namespace {

bool IsDotOrDotDot(const char* n) {
    return n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0));
}

// Whether the entry is a folder; links and file systems without d_type need a stat.
bool IsSubDirectory(int dfd, const dirent* e) {
    if (IsDotOrDotDot(e->d_name)) return false;
    if (e->d_type == DT_DIR) return true;
    if (e->d_type != DT_LNK && e->d_type != DT_UNKNOWN) return false;
    struct stat st {};
    return ::fstatat(dfd, e->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
}

// Takes ownership of fd.
bool HasSubDirsFd(int fd) {
    DIR* d = ::fdopendir(fd);
    if (!d) {
        ::close(fd);
        return false;
    }
    bool found = false;
    while (const dirent* e = ::readdir(d)) {
        if (IsSubDirectory(fd, e)) {
            found = true;
            break;
        }
    }
    ::closedir(d);
    return found;
}

// File systems whose folder link count is 2 + the number of subfolders (1 = not counted).
bool LinkCountIsExact(int fd) {
    struct statfs sf {};
    if (::fstatfs(fd, &sf) != 0) return false;
    switch (static_cast<unsigned long>(sf.f_type)) {
    case EXT4_SUPER_MAGIC: // also ext2 and ext3
    case XFS_SUPER_MAGIC:
    case TMPFS_MAGIC:
    case F2FS_SUPER_MAGIC:
        return true;
    default:
        return false;
    }
}

} // namespace

bool HasSubDirs(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    return fd >= 0 && HasSubDirsFd(fd);
}

FolderScan ScanFolder(const std::string& path) {
    FolderScan scan;
    int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        scan.status =
            errno == ENOENT || errno == ENOTDIR ? ScanStatus::ssVanished : ScanStatus::ssUnreadable;
        return scan;
    }
    struct stat self {};
    const bool exact = ::fstat(fd, &self) == 0 && LinkCountIsExact(fd);
    DIR* d = ::fdopendir(fd);
    if (!d) {
        ::close(fd);
        scan.status = ScanStatus::ssUnreadable;
        return scan;
    }
    std::vector<std::pair<fs::NaturalOrder::Keyed, bool>> found;
    while (const dirent* e = ::readdir(d)) {
        if (!IsSubDirectory(fd, e)) continue;
        bool hasChildren = false;
        bool known = false;
        if (exact && e->d_type == DT_DIR) {
            struct stat st {};
            // A folder on another file system (a mount point) keeps its own count rules.
            if (::fstatat(fd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
                st.st_dev == self.st_dev && st.st_nlink >= 2) {
                hasChildren = st.st_nlink > 2;
                known = true;
            }
        }
        if (!known) {
            int child = ::openat(fd, e->d_name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            hasChildren = child >= 0 && HasSubDirsFd(child);
        }
        // What the user cannot list and enter offers nothing to expand.
        if (hasChildren && ::faccessat(fd, e->d_name, R_OK | X_OK, AT_EACCESS) != 0)
            hasChildren = false;
        found.emplace_back(fs::NaturalOrder::MakeKeyed(e->d_name), hasChildren);
    }
    ::closedir(d);
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        return fs::NaturalOrder::KeyedLess(a.first, b.first);
    });
    scan.entries.reserve(found.size());
    for (auto& [key, hasChildren] : found)
        scan.entries.push_back({std::move(key.name), hasChildren});
    return scan;
}

} // namespace velmora::dirtree
