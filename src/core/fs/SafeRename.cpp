// No-replace renames: renameat2, then link+unlink, then a checked plain rename.
#include "core/fs/SafeRename.h"

#include "core/platform/CaseMap.h"
#include "core/platform/Utf8.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/stat.h>
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

bool Exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

// Names equal apart from letter case (Unicode simple folding): a case-insensitive file system
// may resolve both to one file.
bool CaseVariant(const std::string& a, const std::string& b) {
    if (a == b) return false;
    auto fa = platform::ToLower(platform::DecodeUtf8(a));
    auto fb = platform::ToLower(platform::DecodeUtf8(b));
    return fa == fb;
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

    // File systems without hard links (vfat, exfat): check right before a plain rename.
    if (Exists(to)) return {RenameStatus::Exists, EEXIST};
    if (::rename(from.c_str(), to.c_str()) == 0) return {};
    return {RenameStatus::Failed, errno};
}

std::string TemporaryBeside(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    auto slash = path.find_last_of('/');
    std::string dir = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    char buf[64];
    std::snprintf(buf, sizeof buf, ".velmora-case-%d-%u", static_cast<int>(::getpid()), counter++);
    return dir + buf;
}

// old -> temporary -> new; if the new name still resolves after the first step it was another
// file, so the move is undone and reported as a conflict.
RenameResult CaseChangeInTwoSteps(const std::string& oldPath, const std::string& newPath) {
    std::string temp;
    RenameResult r;
    for (int attempt = 0; attempt < 16; ++attempt) {
        temp = TemporaryBeside(oldPath);
        r = MoveOnce(oldPath, temp);
        if (r.status != RenameStatus::Exists) break;
    }
    if (r.status != RenameStatus::Ok) return r;
    if (!Exists(newPath)) {
        RenameResult second = MoveOnce(temp, newPath);
        if (second.status == RenameStatus::Ok) return {};
        MoveOnce(temp, oldPath);
        return second;
    }
    MoveOnce(temp, oldPath);
    return {RenameStatus::Exists, EEXIST};
}

} // namespace

bool TargetConflicts(const std::string& oldPath, const std::string& newPath) {
    struct stat sn {};
    if (::lstat(newPath.c_str(), &sn) != 0) return false;
    struct stat so {};
    if (::lstat(oldPath.c_str(), &so) == 0 && SameFile(so, sn)) return false;
    // FUSE case-insensitive file systems give two spellings different inodes; the rename
    // itself finds out whether the other spelling is really another file.
    return !CaseVariant(oldPath, newPath);
}

RenameResult RenameNoReplace(const std::string& oldPath, const std::string& newPath) {
    RenameResult r = MoveOnce(oldPath, newPath);
    if (r.status == RenameStatus::Exists && CaseVariant(oldPath, newPath))
        return CaseChangeInTwoSteps(oldPath, newPath);
    return r;
}

} // namespace velmora::fs
