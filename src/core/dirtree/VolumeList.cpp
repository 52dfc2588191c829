// Volume filtering.
#include "core/dirtree/VolumeList.h"

#include "core/fs/NaturalOrder.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <pwd.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace velmora::dirtree {

namespace {

// Kernel-internal, virtual and container file systems: never a place to keep music.
constexpr std::array<std::string_view, 38> kSystemTypes = {"proc",
                                                           "sysfs",
                                                           "devtmpfs",
                                                           "devpts",
                                                           "tmpfs",
                                                           "ramfs",
                                                           "cgroup",
                                                           "cgroup2",
                                                           "cpuset",
                                                           "pstore",
                                                           "bpf",
                                                           "debugfs",
                                                           "tracefs",
                                                           "securityfs",
                                                           "configfs",
                                                           "fusectl",
                                                           "mqueue",
                                                           "hugetlbfs",
                                                           "binfmt_misc",
                                                           "autofs",
                                                           "efivarfs",
                                                           "rpc_pipefs",
                                                           "nfsd",
                                                           "nsfs",
                                                           "selinuxfs",
                                                           "overlay",
                                                           "aufs",
                                                           "squashfs",
                                                           "fuse.gvfsd-fuse",
                                                           "fuse.portal",
                                                           "fuse.xdg-document-portal",
                                                           "fuse.snapfuse",
                                                           "fuse.lxcfs",
                                                           "devfs",
                                                           "usbfs",
                                                           "kernfs",
                                                           "rootfs",
                                                           "none"};

constexpr std::array<std::string_view, 16> kRemoteTypes = {
    "nfs",         "nfs4",        "cifs",           "smb3",      "smbfs", "9p",
    "afs",         "ncpfs",       "ceph",           "glusterfs", "davfs", "fuse.sshfs",
    "fuse.rclone", "fuse.davfs2", "fuse.glusterfs", "fuse.s3fs"};

template <std::size_t N>
bool Contains(const std::array<std::string_view, N>& set, std::string_view v) {
    return std::find(set.begin(), set.end(), v) != set.end();
}

bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

// The part of mountPoint below prefix (a folder path ending with "/"), or empty when the mount
// point does not lie strictly below it.
std::string_view Below(std::string_view mountPoint, std::string_view prefix) {
    if (prefix.size() < 2 || !StartsWith(mountPoint, prefix)) return {};
    return mountPoint.substr(prefix.size());
}

bool HasHiddenPart(std::string_view rest) {
    std::size_t i = 0;
    while (i < rest.size()) {
        if (rest[i] == '.') return true;
        std::size_t slash = rest.find('/', i);
        if (slash == std::string_view::npos) break;
        i = slash + 1;
    }
    return false;
}

std::string WithSlash(std::string s) {
    if (s.empty() || s.back() != '/') s += '/';
    return s;
}

} // namespace

std::vector<Volume> VisibleVolumes(const std::vector<fs::MountEntry>& table, std::string_view home,
                                   std::string_view user, const VolumeLabels& labels) {
    const std::string homePrefix =
        home.empty() || home == "/" ? std::string() : WithSlash(std::string(home));
    const std::string runMedia =
        user.empty() ? std::string() : "/run/media/" + std::string(user) + "/";
    std::vector<Volume> found;
    for (const fs::MountEntry& e : table) {
        std::string mp = e.mountPoint;
        while (mp.size() > 1 && mp.back() == '/')
            mp.pop_back();
        // A later mount over the same point hides the earlier one, whatever it is.
        std::string path = WithSlash(mp);
        found.erase(std::remove_if(found.begin(), found.end(),
                                   [&](const Volume& v) { return v.path == path; }),
                    found.end());
        if (mp == "/" || Contains(kSystemTypes, e.fsType)) continue;
        std::string_view rest = Below(mp, "/media/");
        bool removable = !rest.empty();
        if (rest.empty()) {
            rest = Below(mp, runMedia);
            removable = !rest.empty();
        }
        if (rest.empty()) rest = Below(mp, homePrefix);
        if (rest.empty() || HasHiddenPart(rest)) continue;

        Volume v;
        v.path = path;
        v.caption = labels.LabelOf(e.source);
        if (v.caption.empty()) v.caption = mp.substr(mp.find_last_of('/') + 1);
        if (e.fsType == "iso9660" || e.fsType == "udf")
            v.kind = VolumeKind::vkOptical;
        else if (Contains(kRemoteTypes, e.fsType))
            v.kind = VolumeKind::vkRemote;
        else
            v.kind = removable ? VolumeKind::vkRemovable : VolumeKind::vkHardDisk;
        found.push_back(std::move(v));
    }
    std::stable_sort(found.begin(), found.end(), [](const Volume& a, const Volume& b) {
        if (a.caption != b.caption) return fs::NaturalOrder::Less(a.caption, b.caption);
        return a.path < b.path;
    });
    std::vector<Volume> volumes;
    volumes.reserve(found.size() + 1);
    volumes.push_back({"/", "File System", VolumeKind::vkFileSystem});
    for (Volume& v : found)
        volumes.push_back(std::move(v));
    return volumes;
}

std::vector<Volume> CurrentVolumes() {
    const char* home = std::getenv("HOME");
    std::string user;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_name)
        user = pw->pw_name;
    else if (const char* u = std::getenv("USER"))
        user = u;
    return VisibleVolumes(fs::ParseMountInfo(fs::ReadMountInfo()), home ? home : "", user,
                          VolumeLabels::Read());
}

bool VolumeReady(const std::vector<fs::MountEntry>& table, const std::string& path) {
    std::string mp = path;
    while (mp.size() > 1 && mp.back() == '/')
        mp.pop_back();
    bool mounted = std::any_of(table.begin(), table.end(),
                               [&](const fs::MountEntry& e) { return e.mountPoint == mp; });
    struct statvfs sv {};
    return mounted && ::statvfs(mp.c_str(), &sv) == 0;
}

} // namespace velmora::dirtree
