// Folder change notices through real inotify.
#include "core/dirtree/LoadedFolderWatch.h"

#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <poll.h>

using velmora::dirtree::LoadedFolderWatch;
using velmora::test::TempDir;
namespace fsys = std::filesystem;

namespace {
// Waits briefly for events, then reads them.
bool Changed(LoadedFolderWatch& w) {
    pollfd p{w.Fd(), POLLIN, 0};
    ::poll(&p, 1, 200);
    return w.ReadEvents();
}
} // namespace

TEST(LoadedFolderWatch, ReportsFolderChangesOnly) {
    TempDir dir;
    for (auto d : {"watched/old", "elsewhere", "scratch", "tmpdir"})
        fsys::create_directories(dir / d);
    LoadedFolderWatch w;
    ASSERT_GE(w.Fd(), 0);
    w.Add(dir / "watched");
    w.Add(dir / "missing"); // left out quietly
    fsys::permissions(dir / "scratch", fsys::perms::all | fsys::perms::sticky_bit);
    w.Add(dir / "scratch"); // shared by everyone, like /tmp: not watched
    // The system's temporary folder is not watched either, whatever its mode.
    const char* savedTmp = std::getenv("TMPDIR");
    const std::string saved = savedTmp ? savedTmp : "";
    ::setenv("TMPDIR", (dir / "tmpdir").c_str(), 1);
    w.Add(dir / "tmpdir/");
    if (savedTmp)
        ::setenv("TMPDIR", saved.c_str(), 1);
    else
        ::unsetenv("TMPDIR");
    EXPECT_EQ(w.Count(), 1);
    dir.Write("watched/file.mp3");                 // files are not the tree's business
    fsys::create_directory(dir / "elsewhere/new"); // not a loaded folder
    EXPECT_FALSE(Changed(w));

    struct Step {
        const char* what;
        std::function<void()> act;
    };
    const Step steps[] = {
        {"created", [&] { fsys::create_directory(dir / "watched/new"); }},
        {"renamed", [&] { fsys::rename(dir / "watched/new", dir / "watched/renamed"); }},
        {"moved out", [&] { fsys::rename(dir / "watched/renamed", dir / "elsewhere/r"); }},
        {"moved in", [&] { fsys::rename(dir / "elsewhere/r", dir / "watched/back"); }},
        {"removed", [&] { fsys::remove(dir / "watched/old"); }},
    };
    for (const Step& s : steps) {
        s.act();
        EXPECT_TRUE(Changed(w)) << s.what;
    }
}

TEST(LoadedFolderWatch, ClearDropsWatchesAndPendingEvents) {
    TempDir dir;
    fsys::create_directories(dir / "a");
    LoadedFolderWatch w;
    w.Add(dir / "a");
    w.Add(dir / "a"); // the same folder twice is one watch
    EXPECT_EQ(w.Count(), 1);
    fsys::create_directory(dir / "a/x");
    w.Clear();
    EXPECT_EQ(w.Count(), 0);
    fsys::create_directory(dir / "a/y");
    EXPECT_FALSE(Changed(w)); // neither the pending event nor the new one

    // A watched folder that is removed ends its own watch.
    w.Add(dir / "a");
    fsys::remove_all(dir / "a");
    Changed(w);
    EXPECT_EQ(w.Count(), 0);
}
