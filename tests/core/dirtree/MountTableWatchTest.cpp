// The volume filter and the mount table watch, on canned tables and on a real mount.
#include "core/dirtree/MountTableWatch.h"

#include "core/dirtree/VolumeList.h"
#include "core/fs/MountTable.h"
#include "support/ChildProcess.h"
#include "support/DesktopMountTable.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <poll.h>
#include <sched.h>
#include <sys/mount.h>

using namespace velmora::dirtree;
using velmora::fs::ParseMountInfo;
using velmora::test::kDesktopMountTable;
using velmora::test::TempDir;

namespace {

std::vector<std::string> Paths(const std::vector<Volume>& v) {
    std::vector<std::string> paths;
    for (const Volume& x : v)
        paths.push_back(x.path);
    return paths;
}

} // namespace

TEST(VolumeList, DesktopTableShowsTheUsersVolumesSorted) {
    using K = VolumeKind;
    // The disk mounted over its automount point shows once. bob's media, the hidden folder,
    // tmpfs, snaps, portals and system mounts are not shown.
    const std::vector<Volume> want = {
        {"/", "File System", K::vkFileSystem},
        {"/run/media/ann/AUDIO_CD/", "AUDIO_CD", K::vkOptical},
        {"/media/ann/Backup/", "Backup", K::vkRemovable},
        {"/home/ann/Data/", "Data", K::vkHardDisk},
        {"/home/ann/nas/", "nas", K::vkRemote},
        {"/media/ann/USB STICK/", "USB STICK", K::vkRemovable},
    };
    EXPECT_EQ(VisibleVolumes(ParseMountInfo(kDesktopMountTable), "/home/ann", "ann"), want);
}

TEST(VolumeList, EdgeTables) {
    // Mount number n of an ext4 disk at point.
    const auto ext4 = [](const std::string& point, int n = 1) {
        const std::string id = std::to_string(n);
        return id + " 0 8:" + id + " / " + point + " rw - ext4 /dev/" + char('a' + n - 1) + " rw\n";
    };
    struct Case {
        std::string table;
        const char* home;
        std::vector<std::string> paths; // "/" first in every list
    };
    const Case cases[] = {
        {"", "/home/ann", {"/"}},                // an empty table still offers the root
        {ext4("/home/ann"), "/home/ann", {"/"}}, // home itself is not a volume
        {ext4("/home/ann/Music"), "/home/ann/", {"/", "/home/ann/Music/"}}, // home with a slash
        {ext4("/srv/x"), "/", {"/"}},                   // a home of / offers nothing below it
        {ext4("/media"), "/home/ann", {"/"}},           // /media itself is not a volume
        {ext4("/home/annex/x"), "/home/ann", {"/"}},    // a sibling of home is not below it
        {ext4("/media/.hidden/x"), "/home/ann", {"/"}}, // a hidden folder below media
        {"1 0 0:1 / /media/x rw - tmpfs t rw\n" + ext4("/media/x", 2), // a later visible mount
         "/home/ann",                                                  // over a system one shows
         {"/", "/media/x/"}},
        {ext4("/media/x") + ext4("/media/x", 2), "/home/ann", {"/", "/media/x/"}}, // counts once
    };
    for (const Case& c : cases)
        EXPECT_EQ(Paths(VisibleVolumes(ParseMountInfo(c.table), c.home, "ann")), c.paths)
            << c.table;
}

TEST(VolumeList, ReadyOnlyWhileMountedAndReachable) {
    TempDir dir;
    auto table = ParseMountInfo("1 0 8:1 / " + dir.Path() + " rw - iso9660 /dev/sr0 ro\n");
    EXPECT_TRUE(VolumeReady(table, dir.Slash()));
    EXPECT_FALSE(VolumeReady({}, dir.Slash())); // unmounted since
    EXPECT_FALSE(VolumeReady(ParseMountInfo("1 0 8:1 / " + dir.Path() + "/gone rw - udf s r\n"),
                             dir / "gone/")); // listed, but nothing answers there
}

TEST(MountTableWatch, RefreshReportsOnlyChangesOfTheVisibleVolumes) {
    std::vector<Volume> current = {{"/", "File System", VolumeKind::vkFileSystem}};
    MountTableWatch w([&] { return current; });
    EXPECT_GE(w.Fd(), 0);
    EXPECT_FALSE(w.Refresh());
    current.push_back({"/media/x/", "x", VolumeKind::vkRemovable});
    EXPECT_TRUE(w.Refresh());
    EXPECT_EQ(w.Volumes(), current);
    EXPECT_FALSE(w.Refresh());
}

// A real mount and unmount in a private mount namespace of a child process.
TEST(MountTableWatch, TableSignalsMountAndUnmount) {
    TempDir dir;
    std::filesystem::create_directories(dir / "home/Music");
    std::filesystem::create_directories(dir / "src");
    bool ok = velmora::test::RunInChild([&] {
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return true; // no right to mount here: nothing to check
        ::setenv("HOME", (dir / "home").c_str(), 1);
        MountTableWatch w;
        // Waits for the table's signal; the deadline only ends a test whose signal never comes.
        auto signalled = [&] {
            pollfd p{w.Fd(), POLLPRI, 0};
            return ::poll(&p, 1, 60000) == 1 && (p.revents & POLLPRI);
        };
        const std::string target = dir / "home/Music";
        if (::mount((dir / "src").c_str(), target.c_str(), nullptr, MS_BIND, nullptr) != 0)
            return true;
        if (!signalled() || !w.Refresh()) return false;
        bool listed = w.Volumes().size() == 2 && w.Volumes()[1].path == target + "/";
        ::umount(target.c_str());
        return listed && signalled() && w.Refresh() && w.Volumes().size() == 1;
    });
    EXPECT_TRUE(ok);
}
