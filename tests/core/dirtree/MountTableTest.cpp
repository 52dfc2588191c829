// The mount table parser and the volume filter, on canned tables and on a real mount.
#include "core/dirtree/MountTableWatch.h"
#include "core/dirtree/VolumeList.h"
#include "core/tags/ChildProcess.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <poll.h>
#include <sched.h>
#include <sys/mount.h>

using namespace velmora::dirtree;
using velmora::test::TempDir;

namespace {

// A desktop's table: system mounts, the user's stick (label with a space), a DVD, a share in
// home, document portals, snaps, a second mount over the same point.
const char* const kDesktop =
    "22 1 0:21 / /proc rw,nosuid,nodev,noexec,relatime shared:12 - proc proc rw\n"
    "23 1 0:22 / /sys rw,nosuid shared:2 - sysfs sysfs rw\n"
    "1 0 259:2 / / rw,relatime shared:1 - ext4 /dev/nvme0n1p2 rw,errors=remount-ro\n"
    "30 1 259:1 / /boot/efi rw,relatime shared:3 - vfat /dev/nvme0n1p1 rw,fmask=0077\n"
    "31 1 259:3 / /home rw,relatime shared:4 - ext4 /dev/nvme0n1p3 rw\n"
    "40 22 0:40 / /run/user/1000 rw shared:20 - tmpfs tmpfs rw,size=1G,mode=700\n"
    "41 40 0:41 / /run/user/1000/doc rw shared:21 - fuse.portal portal rw,user_id=1000\n"
    "42 1 7:1 / /snap/core/1 ro shared:22 - squashfs /dev/loop1 ro\n"
    "50 1 8:17 / /media/ann/USB\\040STICK rw,nosuid shared:30 - vfat /dev/sdb1 rw\n"
    "51 1 11:0 / /run/media/ann/AUDIO_CD ro shared:31 - iso9660 /dev/sr0 ro\n"
    "52 31 0:50 / /home/ann/nas rw shared:32 - nfs4 nas:/music rw\n"
    "53 31 0:51 / /home/ann/.cache/doc rw shared:33 - fuse.sshfs host: rw\n"
    "54 1 8:33 / /media/ann/Backup rw shared:34 - ext4 /dev/sdc1 rw\n"
    "55 1 0:52 / /media/ann/ram rw shared:35 - tmpfs tmpfs rw\n"
    "56 1 8:49 / /run/media/bob/Other rw shared:36 - ext4 /dev/sdd1 rw\n"
    "57 31 0:53 / /home/ann/Data rw shared:37 - autofs systemd-1 rw\n"
    "58 57 8:65 / /home/ann/Data rw shared:38 - xfs /dev/sde1 rw\n";

auto Fields(const MountEntry& e) {
    return std::make_tuple(e.id, e.parentId, e.device, e.root, e.mountPoint, e.options, e.fsType,
                           e.source);
}
using Row = decltype(Fields({}));

std::vector<std::string> Paths(const std::vector<Volume>& v) {
    std::vector<std::string> paths;
    for (const Volume& x : v)
        paths.push_back(x.path);
    return paths;
}

} // namespace

TEST(MountTable, ParsesFieldsAndUnescapes) {
    auto t = ParseMountInfo(kDesktop);
    ASSERT_EQ(t.size(), 17u);
    EXPECT_EQ(Fields(t[0]), (Row{22, 1, "0:21", "/", "/proc", "rw,nosuid,nodev,noexec,relatime",
                                 "proc", "proc"}));
    EXPECT_EQ(Fields(t[8]),
              (Row{50, 1, "8:17", "/", "/media/ann/USB STICK", "rw,nosuid", "vfat", "/dev/sdb1"}));
    // Optional fields before the separator are skipped, however many there are.
    auto many =
        ParseMountInfo("7 1 8:1 /sub /mnt/x rw shared:1 master:2 unbindable - ext4 /dev/a rw");
    ASSERT_EQ(many.size(), 1u);
    EXPECT_EQ(Fields(many[0]), (Row{7, 1, "8:1", "/sub", "/mnt/x", "rw", "ext4", "/dev/a"}));
}

TEST(MountTable, SkipsMalformedLines) {
    const char* text = "garbage\n"
                       "x 1 8:1 / /a rw - ext4 /dev/a rw\n"       // id not a number
                       "5 1 8:1 / relative rw - ext4 /dev/a rw\n" // mount point not absolute
                       "6 1 8:1 / /no-separator rw shared:1 ext4 /dev/a rw\n"
                       "7 1 8:1 / /no-type rw -\n"
                       "\n"
                       "8 1 8:1 / /ok rw - ext4\n"; // source and options may be missing
    auto t = ParseMountInfo(text);
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(Fields(t[0]), (Row{8, 1, "8:1", "/", "/ok", "rw", "ext4", ""}));
}

TEST(MountTable, UnescapeKeepsWhatIsNotAnEscape) {
    const std::pair<const char*, const char*> cases[] = {
        {"a\\040b", "a b"},       {"tab\\011x", "tab\tx"}, {"back\\134slash", "back\\slash"},
        {"\\04", "\\04"},         {"\\089", "\\089"},      {"end\\", "end\\"},
        {"\\000nul", "\\000nul"}, {"\\101\\102", "AB"},
    };
    for (auto [in, out] : cases)
        EXPECT_EQ(UnescapeMountField(in), out) << in;
}

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
    EXPECT_EQ(VisibleVolumes(ParseMountInfo(kDesktop), "/home/ann", "ann"), want);
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
    bool ok = velmora::tags::test::RunInChild([&] {
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
