// Permanent deletion and file properties on real files.
#include "core/fs/FileDeletion.h"
#include "core/fs/FileProperties.h"
#include "support/TempDir.h"

#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace velmora::fs;
using velmora::test::TempDir;

TEST(FileDeletion, DeletesTheFileOrNamesTheReason) {
    TempDir d;
    d.Write("a.mp3");
    std::filesystem::create_directories(d / "ro");
    d.Write("ro/b.mp3");
    std::filesystem::create_directories(d / "folder");

    FileDeletion::DeletePermanently(d / "a.mp3");
    EXPECT_FALSE(d.Exists("a.mp3"));

    const struct {
        std::string path, reason;
    } failures[] = {
        {d / "a.mp3", "No such file or directory"},
        {d / "folder", "it is a folder"},
        {d / "ro/b.mp3", "Permission denied"},
    };
    ::chmod((d / "ro").c_str(), 0555);
    for (const auto& f : failures) {
        if (f.reason == "Permission denied" && ::geteuid() == 0) continue; // root may delete
        try {
            FileDeletion::DeletePermanently(f.path);
            ADD_FAILURE() << f.path;
        } catch (const EFileDeleteError& e) {
            EXPECT_EQ(e.Message(), "Could not delete \"" + f.path + "\": " + f.reason + ".");
        }
    }
    EXPECT_TRUE(d.Exists("ro/b.mp3") || ::geteuid() == 0);
    EXPECT_TRUE(d.Exists("folder"));
}

TEST(FileProperties, FileLinkAndLargeFile) {
    TempDir d;
    d.Write("song.mp3", "12345");
    ::chmod((d / "song.mp3").c_str(), 0640);
    std::filesystem::create_symlink("song.mp3", d / "link");
    std::filesystem::create_symlink("gone", d / "broken");
    // A sparse file over 4 GB: its size must not wrap at 32 bits.
    const std::uint64_t big = (std::uint64_t{1} << 32) + 7;
    int fd = ::open((d / "big.bin").c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(big)), 0);
    ::close(fd);

    FileProperties f = FileProperties::Read(d / "song.mp3");
    EXPECT_EQ(f.name, "song.mp3");
    EXPECT_EQ(f.location, d.Path());
    EXPECT_EQ(f.kind, FileProperties::Kind::File);
    EXPECT_EQ(f.size, 5u);
    EXPECT_EQ(f.permissions, 0640u);
    EXPECT_EQ(PermissionText(f.permissions), "rw-r-----");
    EXPECT_FALSE(f.owner.empty());
    EXPECT_GT(f.modified, 1600000000);
    EXPECT_FALSE(f.fileSystem.empty());
    EXPECT_FALSE(f.mountPoint.empty());
    EXPECT_TRUE(f.freeSpace.has_value());

    FileProperties l = FileProperties::Read(d / "link");
    EXPECT_EQ(l.kind, FileProperties::Kind::Link);
    EXPECT_EQ(l.linkTarget, "song.mp3");
    EXPECT_FALSE(l.linkBroken);
    EXPECT_EQ(l.size, 5u);
    FileProperties b = FileProperties::Read(d / "broken");
    EXPECT_TRUE(b.linkBroken);
    EXPECT_EQ(b.linkTarget, "gone");

    EXPECT_EQ(FileProperties::Read(d / "big.bin").size, big);
    EXPECT_EQ(FileProperties::Read(d.Path()).kind, FileProperties::Kind::Folder);
    EXPECT_THROW(FileProperties::Read(d / "missing"), velmora::platform::Exception);
}

TEST(FileProperties, Texts) {
    EXPECT_EQ(PermissionText(0755), "rwxr-xr-x");
    EXPECT_EQ(PermissionText(04755), "rwsr-xr-x");
    EXPECT_EQ(PermissionText(02644), "rw-r-Sr--");
    EXPECT_EQ(PermissionText(01777), "rwxrwxrwt");
    EXPECT_EQ(UtcTimeText(0), "1970-01-01 00:00:00 UTC");
    EXPECT_EQ(UtcTimeText(1796738709), "2026-12-08 14:05:09 UTC");
}
