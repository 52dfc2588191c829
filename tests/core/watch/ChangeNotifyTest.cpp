// Directory watcher against real folders and real inotify: what is reported, and how often.
#include "WatchTestSupport.h"

#include <fstream>
#include <sys/stat.h>

namespace velmora::watch::test {
namespace {

void ForEachOf25(const fs::path& dir, void (*action)(const fs::path&)) {
    for (int i = 0; i < 25; ++i)
        action(dir / ("track" + std::to_string(i)));
}

TEST_F(WatchTest, CreateDeleteAndRenameAreReportedOncePerBurst) {
    fs::path dir = Watch("music");
    watcher->SetActive(true);
    ForEachOf25(dir, Touch);
    EXPECT_TRUE(Reports({1}));
    ForEachOf25(dir, [](const fs::path& p) { fs::remove(p); });
    EXPECT_TRUE(Reports({2}));
    Touch(dir / "a.mp3");
    EXPECT_TRUE(Reports({3}));
    fs::rename(dir / "a.mp3", dir / "b.mp3");
    EXPECT_TRUE(Reports({4}));

    // A burst going on while the UI thread is busy, after the worker has handed over its start.
    Touch(dir / "c.mp3");
    ASSERT_TRUE(poster.WaitPending());
    ForEachOf25(dir, Touch);
    EXPECT_TRUE(Reports({5}));
}

TEST_F(WatchTest, AHandlerErrorReachesTheUiThreadAndItsOwnChangesAreReportedOnceMore) {
    fs::path dir = Watch("music");
    Item(0).OnChange = [&](ChangeItem&) {
        if (++counts[0] > 1) return;
        Touch(dir / "made-by-the-handler.mp3");
        throw platform::Exception("Invalid or empty path [x]");
    };
    watcher->SetActive(true);
    Touch(dir / "a.mp3");
    EXPECT_THROW(poster.PumpUntil([&] { return counts[0] >= 1; }), platform::Exception);
    EXPECT_TRUE(Reports({2}));
}

TEST_F(WatchTest, WritesSignalOnlyTheKindsThatAskForThem) {
    fs::path dir;
    for (TChangeActions kinds :
         {DefaultChangeActions, TChangeActions{caChangeLastWrite}, TChangeActions{caChangeSize},
          TChangeActions{caChangeAttributes}, TChangeActions{caChangeSecurity}})
        dir = Watch("music", kinds);
    fs::path song = dir / "song.mp3";
    Touch(song);
    watcher->SetActive(true);
    std::ofstream(song, std::ios::app) << "ID3";
    EXPECT_TRUE(Reports({0, 1, 1, 0, 0}));
    ASSERT_EQ(::truncate(song.c_str(), 0), 0);
    EXPECT_TRUE(Reports({0, 2, 2, 0, 0}));
    ASSERT_EQ(::chmod(song.c_str(), 0600), 0);
    EXPECT_TRUE(Reports({0, 2, 2, 1, 1}));
    Touch(dir / "new.mp3"); // an empty new file: a name change, nothing written
    EXPECT_TRUE(Reports({1, 2, 2, 1, 1}));
}

TEST_F(WatchTest, OnlyASubtreeItemFollowsFoldersAsTheyAppearMoveAndLeave) {
    fs::path dir = Watch("music");              // 0: the folder alone
    Watch("music", DefaultChangeActions, true); // 1: the whole subtree
    fs::path outside = MakeDir("outside");
    fs::path sub = MakeDir("music/album/disc1");
    watcher->SetActive(true);
    Touch(sub / "inside.mp3");
    EXPECT_TRUE(Reports({0, 1}));
    fs::create_directories(dir / "a" / "b" / "c"); // nested at once: the inner ones unseen
    EXPECT_TRUE(Reports({1, 2}));
    Touch(dir / "a" / "b" / "c" / "deep.mp3");
    EXPECT_TRUE(Reports({1, 3}));

    fs::rename(dir / "a", dir / "a2"); // renamed inside the tree: still watched
    EXPECT_TRUE(Reports({2, 4}));
    Touch(dir / "a2" / "b" / "c" / "again.mp3");
    EXPECT_TRUE(Reports({2, 5}));
    fs::rename(dir / "album", dir / "renamed");
    EXPECT_TRUE(Reports({3, 6}));
    Touch(dir / "renamed" / "disc1" / "again.mp3");
    EXPECT_TRUE(Reports({3, 7}));

    fs::create_directories(outside / "in" / "deeper"); // moved in from elsewhere
    fs::rename(outside / "in", dir / "in");
    EXPECT_TRUE(Reports({4, 8}));
    Touch(dir / "in" / "deeper" / "x.mp3");
    EXPECT_TRUE(Reports({4, 9}));

    fs::rename(dir / "a2", outside / "gone"); // moved out: no longer ours
    EXPECT_TRUE(Reports({5, 10}));
    Touch(outside / "gone" / "b" / "c" / "out.mp3");
    EXPECT_TRUE(Reports({5, 10}));
}

TEST_F(WatchTest, FilesCreatedInAFolderBeforeItsWatchExistsAreReported) {
    // Only file names are asked for, so a new folder alone reports nothing; what was put in it
    // before the watcher could watch it must still be seen.
    fs::path dir = Watch("music", {caChangeFileName}, true);
    fs::path other = Watch("other");
    watcher->SetActive(true);
    fs::create_directory(dir / "empty");
    EXPECT_TRUE(Reports({0}));
    // Keep the worker busy with the other item's hand-over while the folder fills.
    Touch(other / "x.mp3");
    ASSERT_TRUE(poster.WaitPending());
    fs::create_directory(dir / "filled");
    Touch(dir / "filled" / "early.mp3");
    EXPECT_TRUE(Reports({1, 1}));
    Touch(dir / "filled" / "late.mp3");
    EXPECT_TRUE(Reports({2, 1}));
}

TEST_F(WatchTest, LostEventsCountAsAChangeAndTheSubtreeIsWatchedAfresh) {
    int limit = 0;
    std::ifstream("/proc/sys/fs/inotify/max_queued_events") >> limit;
    if (limit <= 0 || limit > 100000) GTEST_SKIP() << "event queue limit " << limit;
    fs::path dir = Watch("music", DefaultChangeActions, true);
    watcher->SetActive(true);
    // The worker reads the first event and then waits for the hand-over, so the rest pile up
    // in the kernel queue until it overflows and drops the new folder's event.
    Touch(dir / "first");
    ASSERT_TRUE(poster.WaitPending());
    for (int i = 0; i < limit + 10; ++i)
        Touch(dir / std::to_string(i));
    fs::create_directory(dir / "late");
    EXPECT_TRUE(Reports({1}));
    Touch(dir / "late" / "x.mp3");
    EXPECT_TRUE(Reports({2}));
}

TEST_F(WatchTest, ReportsReachTheRightItemAndThenOnChangeNotify) {
    Watch("a");
    fs::path b = Watch("b", {caChangeFileName, caChangeSize});
    int notified = 0;
    watcher->OnChangeNotify = [&](ChangeNotify& sender, const std::string& directory,
                                  TChangeActions actions) {
        EXPECT_EQ(&sender, watcher.get());
        EXPECT_EQ(directory, b.string());
        EXPECT_EQ(actions, (TChangeActions{caChangeFileName, caChangeSize}));
        EXPECT_EQ(counts[1], 1); // after the item's own event
        ++notified;
    };
    watcher->SetActive(true);
    Touch(b / "x.mp3");
    EXPECT_TRUE(Reports({0, 1}));
    EXPECT_EQ(notified, 1);
}

} // namespace
} // namespace velmora::watch::test
