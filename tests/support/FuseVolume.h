// Small case-insensitive volumes mounted through FUSE for tests: exFAT and FAT.
#pragma once

#include "support/TempDir.h"

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <iostream>
#include <string>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace velmora::test {

// Runs a program with its output discarded; true when it exits with 0. stdoutText, when given,
// receives what it printed.
inline bool RunTool(const std::vector<std::string>& argv, std::string* stdoutText = nullptr) {
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

// Runs body on a fresh exFAT and a fresh FAT volume. The test is skipped when neither mounts.
inline void OnEachFuseVolume(const std::function<void(FuseVolume& v, const char* label)>& body) {
    std::string reasons;
    int ran = 0;
    for (auto kind : {FuseVolume::Kind::ExFat, FuseVolume::Kind::Fat}) {
        const char* label = kind == FuseVolume::Kind::ExFat ? "exfat" : "vfat";
        TempDir d;
        FuseVolume v(kind, d.Path());
        if (!v.mounted) {
            reasons += "; " + std::string(label) + ": " + v.why;
            continue;
        }
        ++ran;
        body(v, label);
    }
    if (ran == 0) GTEST_SKIP() << "no FUSE volume could be mounted here" << reasons;
    if (!reasons.empty()) std::cout << "[ note ] not every volume mounted" << reasons << "\n";
}

} // namespace velmora::test
