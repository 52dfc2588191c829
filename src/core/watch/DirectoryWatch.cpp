// inotify watch of one directory or subtree: opening, draining, following folders.
#include "core/watch/DirectoryWatch.h"

#include "core/platform/Error.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace velmora::watch {

namespace {

constexpr std::uint32_t NameEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;

std::uint32_t KindMask(TChangeActions a) {
    std::uint32_t m = 0;
    if (a.Contains(caChangeFileName) || a.Contains(caChangeDirName)) m |= NameEvents;
    if (a.Contains(caChangeAttributes) || a.Contains(caChangeSecurity)) m |= IN_ATTRIB;
    if (a.Contains(caChangeSize) || a.Contains(caChangeLastWrite)) m |= IN_MODIFY;
    return m;
}

std::string Join(const std::string& dir, const char* name) {
    std::string s = dir;
    if (s.empty() || s.back() != '/') s += '/';
    return s += name;
}

std::string SystemErrorText(int error) {
    char buf[256];
    return ::strerror_r(error, buf, sizeof buf); // GNU variant: may return a static string
}

// A folder that vanished, is a link or may not be read is left out of a subtree; everything
// else (the watch limit, memory) means the system refuses the watch.
bool SkippableFolderError(int error) {
    return error == ENOENT || error == ENOTDIR || error == EACCES || error == EPERM ||
           error == ELOOP || error == ENAMETOOLONG;
}

} // namespace

DirectoryWatch::DirectoryWatch(const std::string& directory, TChangeActions actions,
                               bool includeSubTrees)
    : directory_(directory), actions_(actions), includeSubTrees_(includeSubTrees) {
    std::uint32_t kinds = KindMask(actions);
    if (includeSubTrees) kinds |= IN_CREATE | IN_MOVED_FROM | IN_MOVED_TO; // to follow folders
    subMask_ = kinds | IN_ONLYDIR | IN_DONT_FOLLOW;
    auto refuse = [this](int error) {
        Close();
        throw platform::EComponentError(
            platform::Format("%s [%s]", {SystemErrorText(error), directory_}));
    };
    fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd_ < 0) refuse(errno);
    rootWd_ = ::inotify_add_watch(fd_, directory.c_str(),
                                  kinds | IN_ONLYDIR | IN_DELETE_SELF | IN_MOVE_SELF);
    if (rootWd_ < 0) refuse(errno);
    struct stat st {};
    if (::stat(directory.c_str(), &st) == 0) {
        rootDev_ = st.st_dev;
        rootIno_ = st.st_ino;
    }
    paths_[rootWd_] = directory_;
    if (includeSubTrees) {
        try {
            AddTree(directory_, false, true);
        } catch (...) {
            Close();
            throw;
        }
    }
}

DirectoryWatch::~DirectoryWatch() {
    Close();
}

bool DirectoryWatch::Live() const {
    struct stat st {};
    return !ended_ && ::stat(directory_.c_str(), &st) == 0 && st.st_dev == rootDev_ &&
           st.st_ino == rootIno_;
}

void DirectoryWatch::Close() {
    ended_ = true;
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    rootWd_ = -1;
    paths_.clear();
}

bool DirectoryWatch::AddTree(const std::string& path, bool created, bool throwOnRefusal) {
    bool found = false;
    std::vector<std::string> pending{path};
    while (!pending.empty()) {
        std::string folder = std::move(pending.back());
        pending.pop_back();
        if (folder != directory_) {
            int wd = ::inotify_add_watch(fd_, folder.c_str(), subMask_);
            if (wd < 0) {
                int error = errno;
                if (throwOnRefusal && !SkippableFolderError(error))
                    throw platform::EComponentError(
                        platform::Format("%s [%s]", {SystemErrorText(error), directory_}));
                continue;
            }
            // The same folder reached a second time (a bind mount inside the tree) is not
            // descended into again, which also ends any loop.
            if (!paths_.emplace(wd, folder).second) continue;
        }
        DIR* dir = ::opendir(folder.c_str());
        if (!dir) continue;
        while (const dirent* entry = ::readdir(dir)) {
            if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
                continue;
            std::string child = Join(folder, entry->d_name);
            bool isDir = entry->d_type == DT_DIR;
            if (entry->d_type == DT_UNKNOWN) {
                struct stat st {};
                isDir = ::lstat(child.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
            }
            if (isDir) pending.push_back(std::move(child));
            // Entries of a folder that was just created appeared before its watch did.
            if (created && actions_.Contains(isDir ? caChangeDirName : caChangeFileName))
                found = true;
        }
        ::closedir(dir);
    }
    return found;
}

void DirectoryWatch::RemoveTree(const std::string& path) {
    const std::string prefix = path.back() == '/' ? path : path + '/';
    for (auto it = paths_.begin(); it != paths_.end();) {
        if (it->first != rootWd_ &&
            (it->second == path || it->second.compare(0, prefix.size(), prefix) == 0)) {
            ::inotify_rm_watch(fd_, it->first);
            it = paths_.erase(it);
        } else {
            ++it;
        }
    }
}

void DirectoryWatch::Rebuild() {
    // Lost events may hide created, moved or removed folders: watch the tree afresh.
    RemoveTree(directory_);
    AddTree(directory_, false, false);
}

bool DirectoryWatch::HandleEvent(int wd, std::uint32_t mask, const char* name) {
    if (mask & IN_Q_OVERFLOW) {
        if (includeSubTrees_) Rebuild();
        return true;
    }
    auto it = paths_.find(wd);
    if (it == paths_.end()) return false; // a watch already given up
    if (wd == rootWd_ && (mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED | IN_UNMOUNT))) {
        Close();
        return true;
    }
    if (mask & IN_IGNORED) {
        paths_.erase(it);
        return false;
    }
    // An event about a watched folder itself is reported by its parent's watch, if at all.
    if (!name || !*name) return false;
    const bool isDir = (mask & IN_ISDIR) != 0;
    bool report = false;
    if (mask & NameEvents) report = actions_.Contains(isDir ? caChangeDirName : caChangeFileName);
    if ((mask & IN_ATTRIB) &&
        (actions_.Contains(caChangeAttributes) || actions_.Contains(caChangeSecurity)))
        report = true;
    if ((mask & IN_MODIFY) &&
        (actions_.Contains(caChangeSize) || actions_.Contains(caChangeLastWrite)))
        report = true;
    if (includeSubTrees_ && isDir) {
        std::string child = Join(it->second, name);
        if (mask & IN_MOVED_FROM) RemoveTree(child);
        if ((mask & (IN_CREATE | IN_MOVED_TO)) && AddTree(child, (mask & IN_CREATE) != 0, false))
            report = true;
    }
    return report;
}

bool DirectoryWatch::Drain() {
    alignas(inotify_event) char buffer[16384];
    bool report = false;
    while (fd_ >= 0) {
        ssize_t n = ::read(fd_, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EAGAIN) break;
        if (n <= 0) { // the instance broke: end the watch, and say so
            Close();
            return true;
        }
        for (ssize_t at = 0; at + static_cast<ssize_t>(sizeof(inotify_event)) <= n && fd_ >= 0;) {
            inotify_event event;
            std::memcpy(&event, buffer + at, sizeof event);
            const char* name = event.len ? buffer + at + sizeof event : nullptr;
            if (HandleEvent(event.wd, event.mask, name)) report = true;
            at += static_cast<ssize_t>(sizeof event + event.len);
        }
    }
    return report;
}

} // namespace velmora::watch
