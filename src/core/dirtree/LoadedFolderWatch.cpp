// inotify on the loaded folders.
#include "core/dirtree/LoadedFolderWatch.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora::dirtree {

namespace {

constexpr std::uint32_t kFolderEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;

// A folder every program makes and removes folders in: world-writable and sticky, or the
// system's temporary folder whatever its mode (containers often have a plain /tmp).
bool IsScratchFolder(const struct stat& st) {
    if ((st.st_mode & S_ISVTX) && (st.st_mode & S_IWOTH)) return true;
    const char* tmpdir = std::getenv("TMPDIR");
    for (const char* path : {tmpdir, "/tmp", "/var/tmp"}) {
        struct stat t {};
        if (path && *path && ::stat(path, &t) == 0 && t.st_dev == st.st_dev &&
            t.st_ino == st.st_ino)
            return true;
    }
    return false;
}

} // namespace

LoadedFolderWatch::LoadedFolderWatch() : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {}

LoadedFolderWatch::~LoadedFolderWatch() {
    if (fd_ >= 0) ::close(fd_);
}

void LoadedFolderWatch::Add(const std::string& path) {
    if (fd_ < 0) return;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && IsScratchFolder(st)) return;
    int wd = ::inotify_add_watch(fd_, path.c_str(), kFolderEvents | IN_ONLYDIR);
    if (wd >= 0) watches_.insert(wd);
}

void LoadedFolderWatch::Clear() {
    for (int wd : watches_)
        ::inotify_rm_watch(fd_, wd);
    watches_.clear();
    ReadEvents();
}

bool LoadedFolderWatch::ReadEvents() {
    if (fd_ < 0) return false;
    bool changed = false;
    alignas(inotify_event) char buf[8192];
    for (;;) {
        ssize_t n = ::read(fd_, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        for (ssize_t off = 0; off + static_cast<ssize_t>(sizeof(inotify_event)) <= n;) {
            inotify_event ev{};
            std::memcpy(&ev, buf + off, sizeof ev);
            off += static_cast<ssize_t>(sizeof(inotify_event) + ev.len);
            if (ev.mask & IN_Q_OVERFLOW) changed = true;
            if (ev.mask & IN_IGNORED) watches_.erase(ev.wd); // the folder itself went away
            if ((ev.mask & IN_ISDIR) && (ev.mask & kFolderEvents) && watches_.count(ev.wd))
                changed = true;
        }
    }
    return changed;
}

} // namespace velmora::dirtree
