// File information lines of real files: attribute words, UTC times, birth time, 64-bit sizes.
#include "core/fs/FileInformation.h"

#include "core/fs/FileVersion.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace velmora::fs;
using velmora::test::RunUnprivileged;
using velmora::test::TempDir;

namespace {

// Sets access and write times (seconds since the epoch, UTC).
void SetTimes(const std::string& path, std::int64_t access, std::int64_t write) {
    timespec t[2]{{static_cast<time_t>(access), 0}, {static_cast<time_t>(write), 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), t, 0), 0);
}

constexpr std::int64_t k2001_02_03_040506 = 981173106;
constexpr std::int64_t k2020_01_01_midnight = 1577836800;

} // namespace

TEST(FileInformation, ReadOnlyDotFileShowsItsWordsTimesInUtcAndSize) {
    TempDir d;
    d.Write(".hidden.mp3", "12345");
    SetTimes(d / ".hidden.mp3", k2001_02_03_040506, k2020_01_01_midnight);
    chmod((d / ".hidden.mp3").c_str(), 0444);
    // Whatever time zone the process runs in, times stay as stored.
    setenv("TZ", "America/Los_Angeles", 1);
    tzset();
    const time_t before = time(nullptr);
    // Root may write any file: the user's view needs an ordinary user.
    EXPECT_TRUE(RunUnprivileged(d.Path(), [&] {
        auto info = FileInformation::Read(d / ".hidden.mp3");
        if (!info) return false;
        std::vector<std::string> lines = info->Lines();
        EXPECT_EQ(lines.size(), 5u);
        EXPECT_EQ(lines[0], "Attributes:  Hidden Read-Only");
        EXPECT_EQ(lines[2], "Last access: 2001-02-03 04:05:06");
        EXPECT_EQ(lines[3], "Last write: 2020-01-01"); // midnight: the date alone
        EXPECT_EQ(lines[4], "Size: 5");
        // The birth time is the moment the test made the file, where it is recorded at all.
        if (info->Created)
            EXPECT_NEAR(static_cast<double>(info->Created->Seconds), static_cast<double>(before),
                        120.0);
        else
            EXPECT_EQ(lines[1], "Created: unknown");
        return !::testing::Test::HasFailure();
    }));
    unsetenv("TZ");
    tzset();
}

TEST(FileInformation, WritableFilesFoldersAndPipes) {
    TempDir d;
    d.Write("song.mp3");
    mkdir((d / "folder").c_str(), 0755);
    ASSERT_EQ(mkfifo((d / "pipe").c_str(), 0644), 0);
    const std::pair<const char*, const char*> cases[] = {
        {"song.mp3", "Attributes: "},
        {"folder", "Attributes:  Directory"},
        {"pipe", "Attributes: "}, // examined without waiting for a writer
    };
    alarm(20);
    for (auto [name, words] : cases) {
        auto info = FileInformation::Read(d / name);
        ASSERT_TRUE(info) << name;
        EXPECT_EQ(info->Lines()[0], words) << name;
    }
    alarm(0);
}

TEST(FileInformation, SparseFileOver4GBShowsItsFullSize) {
    TempDir d;
    const std::string path = d / "big.mp3";
    int fd = open(path.c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    const off_t size = (off_t{5} << 30) + 3; // 5 GiB + 3: modulo 2^32 it would be 1 GiB + 3
    ASSERT_EQ(ftruncate(fd, size), 0);
    close(fd);
    auto info = FileInformation::Read(path);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->Lines()[4], "Size: 5368709123");
}

TEST(FileInformation, FilesThatCannotBeOpenedGiveNothing) {
    TempDir d;
    EXPECT_FALSE(FileInformation::Read(d / "missing.mp3"));
    d.Write("secret.mp3");
    chmod((d / "secret.mp3").c_str(), 0);
    EXPECT_TRUE(
        RunUnprivileged(d.Path(), [&] { return !FileInformation::Read(d / "secret.mp3"); }));
}

TEST(FileInformation, TheFormatterDecidesTheTextAndLearnsAboutMidnight) {
    FileInformation info;
    info.LastAccess = {k2020_01_01_midnight, 0};
    info.LastWrite = {k2020_01_01_midnight, 1}; // a nanosecond past midnight is not midnight
    info.Created = FileTime{k2001_02_03_040506, 0};
    info.Size = 0;
    auto lines = info.Lines([](FileTime t, bool withTime) {
        return std::to_string(t.Seconds) + (withTime ? "+time" : "");
    });
    EXPECT_EQ(lines, (std::vector<std::string>{"Attributes: ", "Created: 981173106+time",
                                               "Last access: 1577836800",
                                               "Last write: 1577836800+time", "Size: 0"}));
}

TEST(FileInformation, IdentityFollowsTheFileNotItsName) {
    TempDir d;
    d.Write("a.mp3", "a");
    d.Write("b.mp3", "b");
    auto a = FileInformation::Read(d / "a.mp3");
    ASSERT_TRUE(a);
    EXPECT_EQ(FileIdentity::Of(d / "a.mp3"), a->Identity);
    EXPECT_NE(FileIdentity::Of(d / "b.mp3"), a->Identity);
    // New contents keep the identity; a rename carries it to the new name.
    d.Write("a.mp3", "changed");
    EXPECT_EQ(FileIdentity::Of(d / "a.mp3"), a->Identity);
    ASSERT_EQ(::rename((d / "a.mp3").c_str(), (d / "c.mp3").c_str()), 0);
    EXPECT_EQ(FileIdentity::Of(d / "c.mp3"), a->Identity);
    EXPECT_EQ(FileIdentity::Of(d / "a.mp3"), std::nullopt);
    ASSERT_EQ(::rename((d / "b.mp3").c_str(), (d / "a.mp3").c_str()), 0);
    EXPECT_NE(FileIdentity::Of(d / "a.mp3"), a->Identity);
}

TEST(FileInformation, AnOverwriteInPlaceKeepsTheIdentityButNotTheVersion) {
    TempDir d;
    d.Write("a.mp3", "old contents");
    auto a = FileInformation::Read(d / "a.mp3");
    ASSERT_TRUE(a);
    EXPECT_EQ(FileVersion::Of(d / "a.mp3"), a->Version);
    EXPECT_EQ(a->Version.Identity, a->Identity);
    EXPECT_EQ(a->Version.Size, 12u);
    // Same size, same inode, new bytes (as "cp other song.mp3" does); the clock ticks coarsely.
    usleep(20000);
    d.Write("a.mp3", "new contents");
    const auto now = FileVersion::Of(d / "a.mp3");
    ASSERT_TRUE(now);
    EXPECT_EQ(now->Identity, a->Identity);
    EXPECT_NE(*now, a->Version);
    EXPECT_EQ(FileVersion::Of(d / "missing.mp3"), std::nullopt);
}
