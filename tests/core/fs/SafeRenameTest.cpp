// No-replace renames on a real file system.
#include "core/fs/SafeRename.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

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
