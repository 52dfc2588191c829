// No-replace renames on a real file system.
#include "core/fs/SafeRename.h"

#include "support/TempDir.h"

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iostream>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace velmora::fs;
using velmora::test::TempDir;

TEST(SafeRename, NeverReplacesAnExistingEntry) {
    TempDir d;
    d.Write("a", "A");
    d.Write("b", "B");
    EXPECT_TRUE(TargetConflicts(d / "a", d / "b"));
    RenameResult r = RenameNoReplace(d / "a", d / "b");
    EXPECT_EQ(r.status, RenameStatus::Exists);
    EXPECT_EQ(d.Read("a"), "A");
    EXPECT_EQ(d.Read("b"), "B");
}

TEST(SafeRename, CaseChangeOfOneFileIsNoConflictButOfAnotherFileIs) {
    TempDir d;
    d.Write("song.mp3", "s");
    EXPECT_FALSE(TargetConflicts(d / "song.mp3", d / "Song.mp3"));
    EXPECT_EQ(RenameNoReplace(d / "song.mp3", d / "Song.mp3").status, RenameStatus::Ok);
    EXPECT_EQ(d.Read("Song.mp3"), "s");
    EXPECT_FALSE(d.Exists("song.mp3"));

    // On a case-sensitive file system another spelling can be a different file.
    d.Write("song.mp3", "other");
    EXPECT_EQ(RenameNoReplace(d / "Song.mp3", d / "song.mp3").status, RenameStatus::Exists);
    EXPECT_EQ(d.Read("song.mp3"), "other");
    EXPECT_EQ(d.Read("Song.mp3"), "s");
}

TEST(SafeRename, FailuresCarryTheErrorAndLeaveTheSourceInPlace) {
    TempDir d;
    d.Write("a", "A");
    RenameResult r = RenameNoReplace(d / "a", d / "missing/a");
    EXPECT_EQ(r.status, RenameStatus::Failed);
    EXPECT_EQ(r.error, ENOENT);
    EXPECT_EQ(d.Read("a"), "A");
    EXPECT_EQ(RenameNoReplace(d / "nothing", d / "b").status, RenameStatus::Failed);
}

namespace {

// Runs a program with its output discarded; true when it exits with 0. stdoutText, when given,
// receives what it printed.
bool RunTool(const std::vector<std::string>& argv, std::string* stdoutText = nullptr) {
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) return false;
    pid_t pid = ::fork();
    if (pid == 0) {
        int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, 0);
        ::dup2(out[1], 1);
        ::dup2(null, 2);
        ::execvp(args[0], args.data());
        ::_exit(127);
    }
    ::close(out[1]);
    std::string text;
    char buf[256];
    for (ssize_t n; (n = ::read(out[0], buf, sizeof buf)) > 0;)
        text.append(buf, static_cast<std::size_t>(n));
    ::close(out[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    if (stdoutText) *stdoutText = text;
    return pid > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A small case-insensitive volume mounted through FUSE for one test: exFAT (exfat-fuse, from a
// loop device when running as root) or FAT (fusefat). `why` says what failed when the machine
// cannot mount it.
class FuseVolume {
public:
    enum class Kind { ExFat, Fat };
    FuseVolume(Kind kind, const std::string& dir) : image_(dir + "/image"), mount_(dir + "/mnt") {
        ::mkdir(mount_.c_str(), 0755);
        if (::access("/dev/fuse", R_OK | W_OK) != 0) {
            why = "no access to /dev/fuse";
            return;
        }
        int fd = ::open(image_.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        const bool sized = fd >= 0 && ::ftruncate(fd, 8 << 20) == 0;
        if (fd >= 0) ::close(fd);
        if (!sized) {
            why = "cannot make an image";
            return;
        }
        const bool exfat = kind == Kind::ExFat;
        if (!RunTool({exfat ? "mkfs.exfat" : "mkfs.vfat", image_})) {
            why = exfat ? "mkfs.exfat (exfatprogs) failed" : "mkfs.vfat (dosfstools) failed";
            return;
        }
        std::string device = image_;
        // As root exfat-fuse mounts block devices only.
        if (exfat && ::geteuid() == 0 && !RunTool({"losetup", "-f", "--show", image_}, &loop_)) {
            why = "no loop device";
            return;
        }
        if (!loop_.empty()) device = loop_;
        if (!(exfat ? RunTool({"mount.exfat-fuse", device, mount_})
                    : RunTool({"fusefat", "-o", "rw+", device, mount_}))) {
            why = exfat ? "mount.exfat-fuse (exfat-fuse) failed" : "fusefat failed";
            return;
        }
        struct statfs sf {};
        mounted = ::statfs(mount_.c_str(), &sf) == 0 && sf.f_type == 0x65735546; // FUSE
        if (!mounted) why = "the mount did not appear";
    }
    ~FuseVolume() {
        if (mounted && !RunTool({"fusermount3", "-u", mount_}) &&
            !RunTool({"fusermount", "-u", mount_}))
            RunTool({"umount", mount_});
        if (!loop_.empty()) RunTool({"losetup", "-d", loop_});
    }
    FuseVolume(const FuseVolume&) = delete;
    FuseVolume& operator=(const FuseVolume&) = delete;

    std::string operator/(const std::string& name) const { return mount_ + "/" + name; }
    std::vector<std::string> Names() const {
        std::vector<std::string> v;
        for (const auto& e : std::filesystem::directory_iterator(mount_))
            v.push_back(e.path().filename().string());
        std::sort(v.begin(), v.end());
        return v;
    }

    bool mounted = false;
    std::string why;

private:
    std::string image_, mount_, loop_;
};

std::string ReadFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

} // namespace

// The kernel keeps FUSE lookups for about a second, so right after the file moved to its
// temporary name the new spelling still seems to exist; the listing must decide.
TEST(SafeRename, CaseChangesOnCaseInsensitiveFuseVolumes) {
    std::vector<std::string> skipped;
    int ran = 0;
    for (auto kind : {FuseVolume::Kind::ExFat, FuseVolume::Kind::Fat}) {
        const char* label = kind == FuseVolume::Kind::ExFat ? "exfat" : "vfat";
        TempDir d;
        FuseVolume v(kind, d.Path());
        if (!v.mounted) {
            skipped.push_back(std::string(label) + ": " + v.why);
            continue;
        }
        ++ran;
        std::ofstream(v / "song.mp3") << "s";
        std::ofstream(v / "other.mp3") << "o";
        // Each step runs as an Apply does: the conflict test first (it looks the new name up),
        // then the rename, twice in a row within the cache's lifetime.
        std::string from = v / "song.mp3";
        for (const char* name : {"Song.mp3", "SONG.MP3"}) {
            EXPECT_FALSE(TargetConflicts(from, v / name)) << label << " " << name;
            EXPECT_EQ(RenameNoReplace(from, v / name).status, RenameStatus::Ok) << label << name;
            from = v / name;
            EXPECT_EQ(v.Names(), (std::vector<std::string>{name, "other.mp3"})) << label;
            EXPECT_EQ(ReadFile(v / name), "s") << label;
        }
        // Another file's name in other letters is still a conflict, and nothing is replaced.
        EXPECT_TRUE(TargetConflicts(v / "other.mp3", v / "song.mp3")) << label;
        EXPECT_EQ(RenameNoReplace(v / "other.mp3", v / "song.mp3").status, RenameStatus::Exists)
            << label;
        EXPECT_EQ(v.Names(), (std::vector<std::string>{"SONG.MP3", "other.mp3"})) << label;
        EXPECT_EQ(ReadFile(v / "other.mp3"), "o") << label;
    }
    std::string reasons;
    for (const auto& s : skipped)
        reasons += "; " + s;
    if (ran == 0) GTEST_SKIP() << "no FUSE volume could be mounted here" << reasons;
    if (!skipped.empty()) std::cout << "[ note ] not every volume mounted" << reasons << "\n";
}
