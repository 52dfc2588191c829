// Reading a file's properties: statx, the mount table and the user database.
#include "core/fs/FileProperties.h"

#include "core/fs/MountTable.h"
#include "core/fs/PathUtils.h"
#include "core/platform/FileStream.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <vector>

namespace velmora::fs {

namespace {

std::string UserName(uid_t uid) {
    std::vector<char> buf(16384);
    passwd pw{};
    passwd* result = nullptr;
    if (::getpwuid_r(uid, &pw, buf.data(), buf.size(), &result) == 0 && result)
        return result->pw_name;
    return std::to_string(uid);
}

std::string GroupName(gid_t gid) {
    std::vector<char> buf(16384);
    group gr{};
    group* result = nullptr;
    if (::getgrgid_r(gid, &gr, buf.data(), buf.size(), &result) == 0 && result)
        return result->gr_name;
    return std::to_string(gid);
}

} // namespace

FileProperties FileProperties::Read(const std::string& path) {
    struct statx sx {};
    if (::statx(AT_FDCWD, path.c_str(), AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS | STATX_BTIME,
                &sx) != 0) {
        const int err = errno;
        throw platform::Exception(platform::Format("Cannot read the properties of \"%s\": %s.",
                                                   {path, platform::SysErrorMessage(err)}));
    }
    FileProperties p;
    p.path = path;
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/')
        trimmed.pop_back();
    auto slash = trimmed.find_last_of('/');
    p.name = slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
    if (p.name.empty()) p.name = trimmed;
    p.location = ParentPath(trimmed);
    p.size = sx.stx_size;
    p.permissions = sx.stx_mode & 07777;
    p.owner = UserName(sx.stx_uid);
    p.group = GroupName(sx.stx_gid);
    p.modified = sx.stx_mtime.tv_sec;
    p.accessed = sx.stx_atime.tv_sec;
    p.changed = sx.stx_ctime.tv_sec;
    if (sx.stx_mask & STATX_BTIME) p.created = sx.stx_btime.tv_sec;

    const unsigned type = sx.stx_mode & S_IFMT;
    p.kind = type == S_IFREG   ? Kind::File
             : type == S_IFDIR ? Kind::Folder
             : type == S_IFLNK ? Kind::Link
                               : Kind::Other;
    std::string examined = path; // where the mount and free space are looked up
    if (p.kind == Kind::Link) {
        std::vector<char> buf(static_cast<std::size_t>(sx.stx_size) + 1 + PATH_MAX);
        ssize_t n = ::readlink(path.c_str(), buf.data(), buf.size());
        if (n >= 0) p.linkTarget.assign(buf.data(), static_cast<std::size_t>(n));
        struct stat target {};
        if (::stat(path.c_str(), &target) == 0)
            p.size = static_cast<std::uint64_t>(target.st_size);
        else
            p.linkBroken = true;
        examined = p.location; // the link itself lives in its folder
    }
    if (char* real = ::realpath(examined.c_str(), nullptr)) {
        if (const auto mount = MountOf(ParseMountInfo(ReadMountInfo()), real)) {
            p.mountPoint = mount->mountPoint;
            p.fileSystem = mount->fsType;
        }
        std::free(real);
    }
    struct statvfs vfs {};
    if (::statvfs(examined.c_str(), &vfs) == 0)
        p.freeSpace = static_cast<std::uint64_t>(vfs.f_bavail) * vfs.f_frsize;
    return p;
}

std::string PermissionText(unsigned mode) {
    std::string s = "---------";
    const char letters[] = "rwx";
    for (int i = 0; i < 9; ++i)
        if (mode & (0400u >> i)) s[static_cast<std::size_t>(i)] = letters[i % 3];
    auto special = [&](unsigned bit, std::size_t pos, char set, char unset) {
        if (mode & bit) s[pos] = s[pos] == 'x' ? set : unset;
    };
    special(04000, 2, 's', 'S');
    special(02000, 5, 's', 'S');
    special(01000, 8, 't', 'T');
    return s;
}

std::string UtcTimeText(std::int64_t seconds) {
    std::time_t t = static_cast<std::time_t>(seconds);
    std::tm tm{};
    if (!::gmtime_r(&t, &tm)) return std::to_string(seconds);
    char buf[64];
    std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S UTC", &tm);
    return buf;
}

} // namespace velmora::fs
