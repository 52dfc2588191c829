// The freedesktop Trash on byte paths.
#include "core/fs/Trash.h"

#include "core/fs/MountTable.h"
#include "core/fs/PathUtils.h"
#include "core/platform/FileStream.h"
#include "core/platform/PercentEncoding.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <optional>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora::fs {

namespace {

constexpr std::string_view kInfoSuffix = ".trashinfo";

std::string Reason(int err) {
    return err == ENOENT ? std::string("it no longer exists") : platform::SysErrorMessage(err);
}

std::string StripSlashes(std::string p) {
    while (p.size() > 1 && p.back() == '/')
        p.pop_back();
    return p;
}

std::string Join(const std::string& dir, const std::string& name) {
    return dir == "/" ? "/" + name : dir + "/" + name;
}

// Creates path and its missing parents as private folders; 0 or the errno of the first failure.
int MakeDirs(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
    if (errno != ENOENT) return errno;
    const std::string parent = ParentPath(path);
    if (parent != path)
        if (int err = MakeDirs(parent)) return err;
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return errno;
    return 0;
}

// A Trash folder with its "files" and "info" folders, created where missing.
int MakeTrashFolders(const std::string& trash) {
    if (int err = MakeDirs(trash + "/files")) return err;
    return MakeDirs(trash + "/info");
}

// The nearest folder at or above path that exists: where a Trash that cannot be made would lie.
std::optional<dev_t> DeviceOfNearestFolder(std::string path) {
    for (;;) {
        struct stat st {};
        if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return st.st_dev;
        const std::string parent = ParentPath(path);
        if (parent == path) return std::nullopt;
        path = parent;
    }
}

bool IsBelow(const std::string& path, const std::string& top) {
    if (top == "/") return true;
    return path.size() > top.size() && path.compare(0, top.size(), top) == 0 &&
           path[top.size()] == '/';
}

// The top folder of the volume that holds folder: the deepest mount point above it; where the
// mount table cannot be read, the highest folder on the same device.
std::string TopFolder(const std::string& folder, dev_t device) {
    std::string top;
    for (const fs::MountEntry& m : fs::ParseMountInfo(fs::ReadMountInfo())) {
        const std::string point = StripSlashes(m.mountPoint);
        if ((point == folder || IsBelow(folder, point)) && point.size() > top.size()) top = point;
    }
    if (!top.empty()) return top;
    std::string cur = folder;
    for (;;) {
        const std::string parent = ParentPath(cur);
        struct stat st {};
        if (parent == cur || ::stat(parent.c_str(), &st) != 0 || st.st_dev != device) return cur;
        cur = parent;
    }
}

// A folder of ours: a real folder (not a link), owned by the user. Created when missing.
int OwnFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return errno;
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return errno;
    if (!S_ISDIR(st.st_mode)) return ENOTDIR;
    if (st.st_uid != ::getuid()) return EPERM;
    return 0;
}

// The volume's Trash below top: ".Trash/UID" when ".Trash" is a real folder with the sticky
// bit (one the administrator made for everyone), else ".Trash-UID". Empty with the reason in
// why when neither can be used.
std::string VolumeTrash(const std::string& top, std::string& why) {
    const std::string uid = std::to_string(::getuid());
    const std::string shared = Join(top, ".Trash");
    struct stat st {};
    if (::lstat(shared.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && (st.st_mode & S_ISVTX)) {
        const std::string mine = shared + "/" + uid;
        if (OwnFolder(mine) == 0 && MakeTrashFolders(mine) == 0) return mine;
    }
    const std::string own = Join(top, ".Trash-" + uid);
    int err = OwnFolder(own);
    if (err == 0) err = MakeTrashFolders(own);
    if (err == 0) return own;
    why = "\"" + own + "\": " + platform::SysErrorMessage(err);
    return {};
}

// text cut to at most max bytes without splitting a UTF-8 sequence.
std::string CutUtf8(std::string text, std::size_t max) {
    if (text.size() <= max) return text;
    text.resize(max);
    std::size_t lead = text.size();
    while (lead > 0 && (static_cast<unsigned char>(text[lead - 1]) & 0xC0) == 0x80)
        --lead;
    // A lead byte whose sequence was cut goes too.
    if (lead > 0 && static_cast<unsigned char>(text[lead - 1]) >= 0xC0) {
        const auto b = static_cast<unsigned char>(text[lead - 1]);
        const std::size_t need = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : 2;
        if (text.size() - (lead - 1) < need) text.resize(lead - 1);
    }
    return text;
}

// The name in the Trash: "song.mp3" first, then "song.2.mp3", "song.3.mp3" ..., always short
// enough that its info file's name is valid; the extension stays.
std::string Candidate(const std::string& name, int n) {
    std::string ext = ExtractFileExt(name);
    if (ext.size() > 32) ext.clear();
    const std::string stem = name.substr(0, name.size() - ext.size());
    std::string number;
    if (n > 1) number.append(1, '.').append(std::to_string(n));
    const std::size_t room = NAME_MAX - kInfoSuffix.size() - number.size() - ext.size();
    return CutUtf8(stem, room) + number + ext;
}

struct MoveResult {
    std::string where; // set when moved
    int error = 0;
    bool trashUnusable = false; // the Trash refused its info file: the fault is not the file's
};

bool WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

int RenameNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
    // File systems without the flag: nothing of ours moves into the Trash unannounced, so a
    // check just before is enough.
    struct stat st {};
    if (::lstat(to.c_str(), &st) == 0) return EEXIST;
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

// The info file first (it reserves the name), then the entry itself; the info file goes again
// when the move fails.
MoveResult MoveInto(const std::string& trash, const std::string& location,
                    const std::string& source, const std::string& name) {
    const std::string text = Trash::InfoText(location, static_cast<long long>(std::time(nullptr)));
    for (int n = 1; n < 10000; ++n) {
        const std::string candidate = Candidate(name, n);
        const std::string info = trash + "/info/" + candidate + std::string(kInfoSuffix);
        const int fd = ::open(info.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return {{}, errno, true};
        }
        const bool written = WriteAll(fd, text);
        const int writeError = errno;
        if (::close(fd) != 0 || !written) {
            ::unlink(info.c_str());
            return {{}, written ? EIO : writeError, true};
        }
        const std::string target = trash + "/files/" + candidate;
        const int err = RenameNoReplace(source, target);
        if (err == 0) return {target, 0, false};
        ::unlink(info.c_str());
        if (err != EEXIST) return {{}, err, false};
    }
    return {{}, EEXIST, true};
}

} // namespace

std::string Trash::HomeTrashPath() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && data[0] == '/') return StripSlashes(data) + "/Trash";
    std::string home;
    if (const char* h = std::getenv("HOME"); h && h[0] == '/') {
        home = h;
    } else if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) {
        home = pw->pw_dir;
    }
    return Join(StripSlashes(home.empty() ? "/" : home), ".local/share/Trash");
}

std::string Trash::InfoText(const std::string& location, long long deletedAt) {
    const std::time_t t = static_cast<std::time_t>(deletedAt);
    std::tm tm{};
    ::localtime_r(&t, &tm);
    char date[32];
    std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &tm);
    // The location as URL-escaped bytes: a line break or "%" in a name stays one value.
    return "[Trash Info]\nPath=" + platform::PercentEncodePath(location) +
           "\nDeletionDate=" + date + "\n";
}

std::string Trash::MoveToTrash(const std::string& path) {
    std::string full = StripSlashes(path);
    if (full.empty()) throw ETrashError(Reason(ENOENT), false);
    if (full.front() != '/') {
        char* cwd = ::getcwd(nullptr, 0);
        if (!cwd) throw ETrashError(Reason(errno), false);
        full = Join(cwd, full);
        std::free(cwd);
    }
    const std::size_t slash = full.rfind('/');
    const std::string name = full.substr(slash + 1);
    if (name.empty() || name == "." || name == "..") throw ETrashError(Reason(EINVAL), false);
    struct stat st {};
    if (::lstat(full.c_str(), &st) != 0) throw ETrashError(Reason(errno), false);
    // The folder's real path: a volume's Trash records the location below its top folder.
    char* real = ::realpath(slash == 0 ? "/" : full.substr(0, slash).c_str(), nullptr);
    if (!real) throw ETrashError(Reason(errno), false);
    const std::string folder = real;
    std::free(real);
    const std::string original = Join(folder, name);

    std::string why;
    bool crossDevice = false;
    const std::string home = HomeTrashPath();
    const int homeError = MakeTrashFolders(home);
    const std::optional<dev_t> homeDevice = DeviceOfNearestFolder(home);
    if (homeDevice && *homeDevice == st.st_dev) {
        if (homeError == 0) {
            const MoveResult r = MoveInto(home, original, full, name);
            if (!r.where.empty()) return r.where;
            if (r.error == EXDEV) {
                crossDevice = true; // another mount of the same file system: its own Trash
            } else if (!r.trashUnusable) {
                throw ETrashError(Reason(r.error), false);
            } else {
                why = "\"" + home + "\": " + platform::SysErrorMessage(r.error);
            }
        } else {
            why = "\"" + home + "\": " + platform::SysErrorMessage(homeError);
        }
    }
    if (!homeDevice || *homeDevice != st.st_dev || crossDevice) {
        const std::string top = TopFolder(folder, st.st_dev);
        const std::string trash = VolumeTrash(top, why);
        if (!trash.empty()) {
            const std::string location = original.substr(top == "/" ? 1 : top.size() + 1);
            const MoveResult r = MoveInto(trash, location, full, name);
            if (!r.where.empty()) return r.where;
            if (!r.trashUnusable && r.error != EXDEV) throw ETrashError(Reason(r.error), false);
            why = "\"" + trash + "\": " + platform::SysErrorMessage(r.error);
        }
    }
    // No Trash. Offer a permanent delete only when one could succeed: a folder the user may not
    // change (or a read-only volume) is the real reason then.
    if (::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0)
        throw ETrashError(Reason(errno), false);
    throw ETrashError(why.empty() ? std::string("the volume has no Trash") : why, true);
}

} // namespace velmora::fs
