// No-replace renames on a real file system.
#include "core/fs/SafeRename.h"

#include "core/platform/StringList.h"
#include "core/workspace/RenameRun.h"
#include "support/FuseVolume.h"
#include "support/NameFreedTrigger.h"
#include "support/ScriptedQuestions.h"
#include "support/TempDir.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iostream>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace velmora::fs;
using velmora::test::FuseVolume;
using velmora::test::OnEachFuseVolume;
using velmora::test::TempDir;
namespace test = velmora::test;

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

namespace {

std::vector<std::string> NamesIn(const std::string& folder) {
    std::vector<std::string> v;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        v.push_back(e.path().filename().string());
    std::sort(v.begin(), v.end());
    return v;
}

// Sets or clears the immutable flag of a folder (chattr +i / -i); false where the file system
// or the process may not.
bool SetImmutable(const std::string& folder, bool on) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
}

} // namespace

// On a case-sensitive file system "Song.mp3" beside "song.mp3" is another name: the rename
// meets the conflict at once and the file never leaves its name, so another program that
// takes the name or locks the folder the moment the name is freed finds nothing to act on.
TEST(SafeRename, AnotherSpellingOnACaseSensitiveFolderConflictsWithoutAnyMove) {
    for (const bool lockFolder : {false, true}) {
        SCOPED_TRACE(lockFolder ? "folder made immutable" : "old name taken");
        TempDir d;
        if (lockFolder && !(SetImmutable(d.Path(), true) && SetImmutable(d.Path(), false))) {
            std::cout << "[ note ] immutable folder case skipped: chattr +i refused here\n";
            continue;
        }
        d.Write("song.mp3", "MINE");
        d.Write("Song.mp3", "other");
        test::NameFreedTrigger other(d.Path(), "song.mp3", [&] {
            if (lockFolder)
                SetImmutable(d.Path(), true);
            else
                d.Write("song.mp3", "THEIRS");
        });
        ASSERT_TRUE(other.ok);
        EXPECT_TRUE(TargetConflicts(d / "song.mp3", d / "Song.mp3"));
        const RenameResult r = RenameNoReplace(d / "song.mp3", d / "Song.mp3");
        EXPECT_EQ(r.status, RenameStatus::Exists);
        EXPECT_EQ(r.movedTo, "");
        ::usleep(50 * 1000); // time for the other program to act had the name been freed
        EXPECT_FALSE(other.fired);
        SetImmutable(d.Path(), false);
        EXPECT_EQ(NamesIn(d.Path()), (std::vector<std::string>{"Song.mp3", "song.mp3"}));
        EXPECT_EQ(d.Read("song.mp3"), "MINE");
        EXPECT_EQ(d.Read("Song.mp3"), "other");
    }
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

std::string ReadFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

} // namespace

// The kernel keeps FUSE lookups for about a second, so right after the file moved to its
// temporary name the new spelling still seems to exist; the listing must decide.
TEST(SafeRename, CaseChangesOnCaseInsensitiveFuseVolumes) {
    OnEachFuseVolume([&](FuseVolume& v, const char* label) {
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
    });
}

// A case change on a case-insensitive volume goes through a temporary name. Another program
// takes the old name the moment it is freed: the file must not stay under the hidden temporary
// name. It goes to a free name made from the old one, and the Apply's failure question says so.
// Which of the two acts first is a race; every try checks the outcome it got.
TEST(SafeRename, ACaseChangeWhoseOldNameIsTakenEndsUnderAVisibleName) {
    using velmora::platform::ModalResult;
    OnEachFuseVolume([&](FuseVolume& v, const char* label) {
        int taken = 0;
        for (int i = 0; i < 12 && taken < 2; ++i) {
            // Fresh names each try: the kernel still remembers the last try's lookups.
            const std::string old = "t" + std::to_string(i) + ".mp3";
            const std::string wanted = "T" + std::to_string(i) + ".mp3";
            const std::string aside = "t" + std::to_string(i) + " (2).mp3";
            SCOPED_TRACE(std::string(label) + " " + old);
            std::ofstream(v / old) << "MINE";
            std::atomic<bool> created{false};
            test::NameFreedTrigger other(v / "", old, [&] {
                int fd = ::open((v / old).c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0644);
                if (fd >= 0) {
                    (void)!::write(fd, "THEIRS", 6);
                    ::close(fd);
                    created = true;
                }
            });
            ASSERT_TRUE(other.ok);
            velmora::platform::StringList left, right;
            left.Add(old);
            right.Add(wanted);
            test::ScriptedQuestions questions;
            questions.Answer(ModalResult::mrYes);
            test::RecordingStatus status;
            velmora::workspace::RenameRun(questions, status)
                .ApplyRenames(left, right, v / "", false);
            ::usleep(50 * 1000);
            const std::vector<std::string> names = v.Names();
            // What the run met, for a failure to say which interleaving it was.
            std::string seen = "listed:";
            for (const auto& n : names)
                seen += " [" + n + "]";
            for (const auto& q : questions.asked)
                seen += "; asked: " + q.text;
            SCOPED_TRACE(seen);
            // Neither file is ever lost, whoever won.
            std::vector<std::string> contents;
            for (const auto& n : names)
                if (n == old || n == wanted || n == aside) contents.push_back(ReadFile(v / n));
            std::sort(contents.begin(), contents.end());
            if (created) {
                EXPECT_EQ(contents, (std::vector<std::string>{"MINE", "THEIRS"}));
            }
            for (const auto& n : names)
                EXPECT_NE(n[0], '.') << "left under a hidden name: " << n;
            if (std::find(names.begin(), names.end(), aside) != names.end()) {
                // The other program won: the file is beside its old name, and the user is told.
                ++taken;
                EXPECT_EQ(ReadFile(v / aside), "MINE");
                EXPECT_EQ(ReadFile(v / old), "THEIRS");
                ASSERT_EQ(questions.asked.size(), 1u);
                EXPECT_EQ(questions.asked[0].text,
                          "Failed to rename \"" + v / old + "\" to \"" + v / wanted +
                              "\".\nThe file could not get its old name back and is now named \"" +
                              v / aside + "\".\nIgnore this error?");
                EXPECT_EQ(questions.asked[0].buttons, velmora::platform::mbYes |
                                                          velmora::platform::mbCancel |
                                                          velmora::platform::mbYesToAll);
            } else {
                // The rename was done first; the other program found the name in use.
                EXPECT_TRUE(questions.asked.empty());
                EXPECT_EQ(ReadFile(v / wanted), "MINE");
            }
        }
        std::cout << "[ note ] " << label << ": the old name was taken in " << taken << " tries\n";
    });
}

// FAT and exFAT through FUSE have neither the no-replace flag nor hard links. Another program
// keeps trying to create the new name while the rename runs: whichever gets the name first
// keeps it, and neither file is ever replaced.
TEST(SafeRename, ANameCreatedDuringARenameOnAFuseVolumeIsNeverReplaced) {
    OnEachFuseVolume([&](FuseVolume& v, const char* label) {
        int theirs = 0;
        for (int i = 0; i < 30; ++i) {
            const std::string from = v / ("a" + std::to_string(i) + ".mp3");
            const std::string to = v / ("b" + std::to_string(i) + ".mp3");
            SCOPED_TRACE(std::string(label) + " " + to);
            std::ofstream(from) << "MINE";
            std::atomic<bool> go{false};
            std::atomic<bool> stop{false};
            std::atomic<bool> created{false};
            std::thread other([&] {
                while (!go) {
                }
                // Later in each try, so that both orders happen.
                std::this_thread::sleep_for(std::chrono::microseconds(4 * i * i));
                while (!stop) {
                    const int fd =
                        ::open(to.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0644);
                    if (fd >= 0) {
                        (void)!::write(fd, "THEIRS", 6);
                        ::close(fd);
                        created = true;
                        return;
                    }
                }
            });
            // The other program retries until the rename has returned.
            go = true;
            const RenameResult r = RenameNoReplace(from, to);
            stop = true;
            other.join();
            if (created) {
                ++theirs;
                EXPECT_EQ(r.status, RenameStatus::Exists);
                EXPECT_EQ(ReadFile(from), "MINE");
                EXPECT_EQ(ReadFile(to), "THEIRS");
            } else {
                EXPECT_EQ(r.status, RenameStatus::Ok);
                EXPECT_EQ(ReadFile(to), "MINE");
            }
        }
        std::cout << "[ note ] " << label << ": the other program got the name " << theirs
                  << " times of 30\n";
    });
}

// A folder moves on these volumes too, and never onto a name in use.
TEST(SafeRename, AFolderOnAFuseVolumeMovesToAFreeNameOnly) {
    OnEachFuseVolume([&](FuseVolume& v, const char* label) {
        SCOPED_TRACE(label);
        ASSERT_EQ(::mkdir((v / "disc 1").c_str(), 0755), 0);
        std::ofstream(v / "disc 1/song.mp3") << "s";
        std::ofstream(v / "taken") << "t";
        EXPECT_EQ(RenameNoReplace(v / "disc 1", v / "taken").status, RenameStatus::Exists);
        EXPECT_EQ(RenameNoReplace(v / "disc 1", v / "CD 1").status, RenameStatus::Ok);
        EXPECT_EQ(v.Names(), (std::vector<std::string>{"CD 1", "taken"}));
        // fusefat itself loses the entries of a moved folder, with mv as well.
        if (std::string_view(label) != "vfat") {
            EXPECT_EQ(ReadFile(v / "CD 1/song.mp3"), "s");
        }
        EXPECT_EQ(ReadFile(v / "taken"), "t");
    });
}

// A name looked up as another spelling of a file stays in the kernel's FUSE cache for about a
// second after that file moved away. It is free, and a rename to it is no conflict.
TEST(SafeRename, ANameFreedAMomentAgoOnAFuseVolumeIsNoConflict) {
    OnEachFuseVolume([&](FuseVolume& v, const char* label) {
        SCOPED_TRACE(label);
        std::ofstream(v / "e.mp3") << "e";
        std::ofstream(v / "b.mp3") << "b";
        EXPECT_TRUE(TargetConflicts(v / "b.mp3", v / "E.mp3")); // looks E.mp3 up: e.mp3
        ASSERT_EQ(RenameNoReplace(v / "e.mp3", v / "a.mp3").status, RenameStatus::Ok);
        EXPECT_FALSE(TargetConflicts(v / "b.mp3", v / "E.mp3"));
        EXPECT_EQ(RenameNoReplace(v / "b.mp3", v / "E.mp3").status, RenameStatus::Ok);
        EXPECT_EQ(v.Names(), (std::vector<std::string>{"E.mp3", "a.mp3"}));
        EXPECT_EQ(ReadFile(v / "E.mp3"), "b");
        EXPECT_EQ(ReadFile(v / "a.mp3"), "e");
    });
}
