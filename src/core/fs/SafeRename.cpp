// No-replace renames: renameat2, then link+unlink, then a plain rename over a placeholder.
#include "core/fs/SafeRename.h"

#include "core/fs/PathUtils.h"
#include "core/platform/CaseMap.h"
#include "core/platform/Utf8.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <linux/magic.h>
#include <string_view>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace velmora::fs {

namespace {

int Renameat2NoReplace(const char* from, const char* to) {
    return static_cast<int>(
        ::syscall(SYS_renameat2, AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE));
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Names equal apart from letter case (Unicode simple folding): a case-insensitive file system
// may resolve both to one file.
bool CaseVariant(const std::string& a, const std::string& b) {
    if (a == b) return false;
    auto fa = platform::ToLower(platform::DecodeUtf8(a));
    auto fb = platform::ToLower(platform::DecodeUtf8(b));
    return fa == fb;
}

// Removes the placeholder MoveOverPlaceholder made, if it is still its own.
void RemovePlaceholder(const std::string& path, const struct stat& made) {
    struct stat now {};
    if (::lstat(path.c_str(), &now) == 0 && SameFile(now, made) && now.st_size == 0)
        ::unlink(path.c_str());
}

// For file systems with neither the no-replace flag nor hard links (FAT and exFAT through
// FUSE). A check followed by a plain rename would replace a file another program creates in
// between; an exclusive create, which the file system itself decides, claims the name first,
// so the plain rename can replace only our own empty placeholder.
RenameResult MoveOverPlaceholder(const std::string& from, const std::string& to) {
    struct stat source {};
    if (::lstat(from.c_str(), &source) != 0) return {RenameStatus::Failed, errno};
    struct stat made {};
    if (S_ISDIR(source.st_mode)) {
        // exFAT through FUSE will not move a folder even over an empty one, so a folder has no
        // placeholder: the check comes right before the rename. Only files are listed to rename.
        if (::lstat(to.c_str(), &made) == 0) return {RenameStatus::Exists, EEXIST};
        if (::rename(from.c_str(), to.c_str()) == 0) return {};
        return {RenameStatus::Failed, errno};
    }
    const int fd = ::open(to.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return {errno == EEXIST ? RenameStatus::Exists : RenameStatus::Failed, errno};
    const int statted = ::fstat(fd, &made);
    const int statError = errno;
    ::close(fd);
    if (statted != 0) {
        ::unlink(to.c_str());
        return {RenameStatus::Failed, statError};
    }
    // Someone replaced the placeholder in the meantime: the name is theirs now.
    struct stat now {};
    if (::lstat(to.c_str(), &now) != 0 || !SameFile(now, made))
        return {RenameStatus::Exists, EEXIST};
    if (::rename(from.c_str(), to.c_str()) == 0) return {};
    const int err = errno;
    RemovePlaceholder(to, made);
    return {RenameStatus::Failed, err};
}

// One no-replace move, trying the mechanisms in order of safety.
RenameResult MoveOnce(const std::string& from, const std::string& to) {
    if (Renameat2NoReplace(from.c_str(), to.c_str()) == 0) return {};
    int err = errno;
    if (err == EEXIST) return {RenameStatus::Exists, EEXIST};
    if (err != EINVAL && err != ENOSYS && err != ENOTSUP) return {RenameStatus::Failed, err};

    // NFS and FUSE file systems lack the flag; a hard link fails with EEXIST instead of replacing.
    if (::link(from.c_str(), to.c_str()) == 0) {
        if (::unlink(from.c_str()) == 0) return {};
        int unlinkErr = errno;
        ::unlink(to.c_str());
        return {RenameStatus::Failed, unlinkErr};
    }
    err = errno;
    if (err == EEXIST) return {RenameStatus::Exists, EEXIST};
    if (err != EPERM && err != ENOTSUP && err != ENOSYS && err != EMLINK)
        return {RenameStatus::Failed, err};

    return MoveOverPlaceholder(from, to);
}

std::string TemporaryBeside(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    auto slash = path.find_last_of('/');
    std::string dir = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    char buf[64];
    std::snprintf(buf, sizeof buf, ".velmora-case-%d-%u", static_cast<int>(::getpid()), counter++);
    return dir + buf;
}

std::pair<std::string, std::string> SplitPath(const std::string& path) {
    auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return {".", path};
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

bool Ascii(std::string_view s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

bool AsciiCaseEqual(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x + 32);
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y + 32);
        if (x != y) return false;
    }
    return true;
}

// Whether the folder holds an entry, other than `except`, named `name` or (unless `exact`) a
// case variant of it, which a case-insensitive file system takes for the same name. It reads
// the folder's entries rather than looking the name up: the kernel answers lookups on FUSE
// file systems from a cache for about a second, so a name just moved away still seems to exist
// there. Fails with errno when the folder cannot be read.
enum class Listed : std::uint8_t { No, Yes, Unreadable };
Listed FolderHolds(const std::string& path, const std::string& except, bool exact = false) {
    const auto [dir, name] = SplitPath(path);
    const std::string skip = except.empty() ? std::string() : SplitPath(except).second;
    DIR* d = ::opendir(dir.c_str());
    if (!d) return Listed::Unreadable;
    const bool ascii = Ascii(name);
    Listed found = Listed::No;
    errno = 0;
    while (const dirent* e = ::readdir(d)) {
        const std::string_view entry = e->d_name;
        if (!skip.empty() && entry == skip) continue;
        const bool match =
            entry == name ||
            (!exact && (ascii && Ascii(entry) ? AsciiCaseEqual(entry, name)
                                              : CaseVariant(std::string(entry), name)));
        if (match) {
            found = Listed::Yes;
            break;
        }
    }
    if (found == Listed::No && errno != 0) found = Listed::Unreadable;
    int err = errno;
    ::closedir(d);
    errno = err;
    return found;
}

bool OnFuse(const std::string& path) {
    struct statfs sf {};
    return ::statfs(SplitPath(path).first.c_str(), &sf) == 0 && sf.f_type == FUSE_SUPER_MAGIC;
}

// Moves from to a name that FolderHolds has just found free. The no-replace rename is tried
// first; where the file system lacks it, and on FUSE where the kernel may still hold the name
// in its lookup cache and so refuse, the file system is asked through an exclusive create.
RenameResult MoveToFreeName(const std::string& from, const std::string& to) {
    if (Renameat2NoReplace(from.c_str(), to.c_str()) == 0) return {};
    int err = errno;
    const bool unsupported = err == EINVAL || err == ENOSYS || err == ENOTSUP;
    if (err == EEXIST && !OnFuse(to)) return {RenameStatus::Exists, EEXIST};
    if (!unsupported && err != EEXIST) return {RenameStatus::Failed, err};
    return MoveOverPlaceholder(from, to);
}

// A visible free name in the old name's folder for a file that cannot get its old name back:
// "song (2).mp3", "song (3).mp3", ... The temporary name when no rename works there any more.
std::string PutAside(const std::string& temp, const std::string& oldPath) {
    const auto slash = oldPath.find_last_of('/');
    const std::string dir = oldPath.substr(0, slash + 1);
    const std::string name = oldPath.substr(slash + 1);
    const std::string ext = ExtractFileExt(name);
    const std::string stem = name.substr(0, name.size() - ext.size());
    for (int n = 2; n < 1000; ++n) {
        const std::string candidate = dir + stem + " (" + std::to_string(n) + ")" + ext;
        const RenameResult r = MoveOnce(temp, candidate);
        if (r.status == RenameStatus::Ok) return candidate;
        if (r.status == RenameStatus::Failed) break; // the folder refuses every rename
    }
    return temp;
}

// old -> temporary -> new. If an entry of the new name is still listed once the file has
// moved away, it was another file: the move is undone and reported as a conflict. Someone may
// take the old name or lock the folder in that moment; the file then goes to a visible free
// name, and the result says where it is.
RenameResult CaseChangeInTwoSteps(const std::string& oldPath, const std::string& newPath) {
    std::string temp;
    RenameResult r;
    for (int attempt = 0; attempt < 16; ++attempt) {
        temp = TemporaryBeside(oldPath);
        r = MoveOnce(oldPath, temp);
        if (r.status != RenameStatus::Exists) break;
    }
    if (r.status != RenameStatus::Ok) return r;
    RenameResult second;
    switch (FolderHolds(newPath, temp)) {
    case Listed::No:
        second = MoveToFreeName(temp, newPath);
        break;
    case Listed::Yes:
        second = {RenameStatus::Exists, EEXIST};
        break;
    case Listed::Unreadable:
        second = {RenameStatus::Failed, errno};
        break;
    }
    if (second.status == RenameStatus::Ok) return second;
    // The old name was the file's own a moment ago, so no cached lookup stands in the way.
    if (MoveOnce(temp, oldPath).status != RenameStatus::Ok)
        second.movedTo = PutAside(temp, oldPath);
    return second;
}

// Whether newPath, another spelling of oldPath that resolves to an entry, may be the old file
// itself found by a lookup that ignores case. A folder listing that very spelling holds it as a
// name of its own, as every case-sensitive file system does: then it is another name.
bool MaySpellTheSameFile(const std::string& oldPath, const std::string& newPath) {
    if (!CaseVariant(oldPath, newPath)) return false;
    switch (FolderHolds(newPath, {}, true)) {
    case Listed::No:
        return true;
    case Listed::Yes:
        return false;
    case Listed::Unreadable:
        break;
    }
    // Kernel file systems give both spellings of one file one inode; FUSE ones may not.
    struct stat so {};
    struct stat sn {};
    if (::lstat(oldPath.c_str(), &so) == 0 && ::lstat(newPath.c_str(), &sn) == 0 &&
        SameFile(so, sn))
        return true;
    return OnFuse(newPath);
}

} // namespace

bool TargetConflicts(const std::string& oldPath, const std::string& newPath) {
    struct stat sn {};
    if (::lstat(newPath.c_str(), &sn) != 0) return false;
    struct stat so {};
    if (::lstat(oldPath.c_str(), &so) == 0 && SameFile(so, sn)) return false;
    // FUSE case-insensitive file systems give two spellings different inodes; the rename
    // itself finds out whether the other spelling is really another file.
    if (MaySpellTheSameFile(oldPath, newPath)) return false;
    // On FUSE the kernel answers a lookup from its cache for about a second: a name looked up
    // as another spelling of a file that has since moved away still seems to exist. The
    // listing, in every spelling, decides; a folder that cannot be read keeps the conflict.
    return !OnFuse(newPath) || FolderHolds(newPath, {}) != Listed::No;
}

RenameResult RenameNoReplace(const std::string& oldPath, const std::string& newPath) {
    RenameResult r = MoveOnce(oldPath, newPath);
    if (r.status == RenameStatus::Exists && MaySpellTheSameFile(oldPath, newPath))
        return CaseChangeInTwoSteps(oldPath, newPath);
    return r;
}

} // namespace velmora::fs
