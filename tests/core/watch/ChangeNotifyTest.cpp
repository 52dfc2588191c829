// Directory watcher against real folders and real inotify: what is reported, and how often.
#include "WatchTestSupport.h"

#include <cstdio>
#include <sys/stat.h>

namespace velmora::watch::test {
namespace {

TEST_F(WatchTest, CreateDeleteAndRenameAreReportedOncePerBurst) {
    fs::path dir = MakeDir("music");
    AddItem(dir);
    watcher->SetActive(true);

    for (int i = 0; i < 25; ++i)
        Touch(dir / ("track" + std::to_string(i) + ".mp3"));
    EXPECT_EQ(Settle(0, 1), 1);

    for (int i = 0; i < 25; ++i)
        fs::remove(dir / ("track" + std::to_string(i) + ".mp3"));
    EXPECT_EQ(Settle(0, 2), 2);

    Touch(dir / "a.mp3");
    EXPECT_EQ(Settle(0, 3), 3);
    fs::rename(dir / "a.mp3", dir / "b.mp3");
    EXPECT_EQ(Settle(0, 4), 4);

    // A burst going on while the UI thread is busy, after the worker has handed over its start.
    Touch(dir / "c.mp3");
    ASSERT_TRUE(poster.WaitPending());
    for (int i = 0; i < 25; ++i)
        Touch(dir / ("late" + std::to_string(i) + ".mp3"));
    EXPECT_EQ(Settle(0, 5), 5);
}

TEST_F(WatchTest, ChangesDuringAHandlerAreReportedOnceMore) {
    fs::path dir = MakeDir("music");
    ChangeItem& item = AddItem(dir);
    int reports = 0;
    item.OnChange = [&](ChangeItem&) {
        if (++reports == 1) Touch(dir / "made-by-the-handler.mp3");
    };
    watcher->SetActive(true);
    Touch(dir / "a.mp3");
    poster.PumpUntil([&] { return reports >= 2; });
    poster.PumpFor(QuietSpell);
    EXPECT_EQ(reports, 2);
}

TEST_F(WatchTest, WritesSignalOnlyTheKindsThatAskForThem) {
    fs::path dir = MakeDir("music");
    Touch(dir / "song.mp3");
    AddItem(dir);                       // 0: names only
    AddItem(dir, {caChangeLastWrite});  // 1
    AddItem(dir, {caChangeSize});       // 2
    AddItem(dir, {caChangeAttributes}); // 3
    AddItem(dir, {caChangeSecurity});   // 4
    watcher->SetActive(true);

    Append(dir / "song.mp3", "ID3");
    EXPECT_EQ(SettleAll({0, 1, 1, 0, 0}), (std::vector<int>{0, 1, 1, 0, 0}));
    ASSERT_EQ(::truncate((dir / "song.mp3").c_str(), 0), 0);
    EXPECT_EQ(SettleAll({0, 2, 2, 0, 0}), (std::vector<int>{0, 2, 2, 0, 0}));
    ASSERT_EQ(::chmod((dir / "song.mp3").c_str(), 0600), 0);
    EXPECT_EQ(SettleAll({0, 2, 2, 1, 1}), (std::vector<int>{0, 2, 2, 1, 1}));
    Touch(dir / "new.mp3"); // an empty new file: a name change, nothing written
    EXPECT_EQ(SettleAll({1, 2, 2, 1, 1}), (std::vector<int>{1, 2, 2, 1, 1}));
}

TEST_F(WatchTest, SubFoldersAreWatchedOnlyWithIncludeSubTrees) {
    fs::path dir = MakeDir("music");
    fs::path sub = MakeDir("music/album");
    AddItem(dir);
    watcher->SetActive(true);

    Touch(sub / "inside.mp3");
    poster.PumpFor(QuietSpell);
    EXPECT_EQ(counts[0], 0);

    fs::create_directory(dir / "new-album");
    EXPECT_EQ(Settle(0, 1), 1);
    fs::rename(sub, dir / "renamed");
    EXPECT_EQ(Settle(0, 2), 2);
    Touch(dir / "new-album" / "x.mp3");
    poster.PumpFor(QuietSpell);
    EXPECT_EQ(counts[0], 2);
}

TEST_F(WatchTest, SubtreeFollowsFoldersAsTheyAppearMoveAndLeave) {
    fs::path dir = MakeDir("music");
    fs::path sub = MakeDir("music/album/disc1");
    TempDir outside;
    AddItem(dir, DefaultChangeActions, true);
    watcher->SetActive(true);

    int expected = 0;
    Touch(sub / "inside.mp3"); // existing nested folder
    EXPECT_EQ(Settle(0, ++expected), expected);

    fs::create_directories(dir / "a" / "b" / "c"); // nested at once: the inner ones unseen
    EXPECT_EQ(Settle(0, ++expected), expected);
    Touch(dir / "a" / "b" / "c" / "deep.mp3");
    EXPECT_EQ(Settle(0, ++expected), expected);

    fs::rename(dir / "a", dir / "a2"); // renamed inside the tree: still watched
    EXPECT_EQ(Settle(0, ++expected), expected);
    Touch(dir / "a2" / "b" / "c" / "again.mp3");
    EXPECT_EQ(Settle(0, ++expected), expected);

    fs::create_directories(outside.Path() / "in" / "deeper"); // moved in from elsewhere
    fs::rename(outside.Path() / "in", dir / "in");
    EXPECT_EQ(Settle(0, ++expected), expected);
    Touch(dir / "in" / "deeper" / "x.mp3");
    EXPECT_EQ(Settle(0, ++expected), expected);

    fs::rename(dir / "a2", outside.Path() / "gone"); // moved out: no longer ours
    EXPECT_EQ(Settle(0, ++expected), expected);
    Touch(outside.Path() / "gone" / "b" / "c" / "out.mp3");
    poster.PumpFor(QuietSpell);
    EXPECT_EQ(counts[0], expected);
}

TEST_F(WatchTest, FilesCreatedInAFolderBeforeItsWatchExistsAreReported) {
    // Only file names are asked for, so a new folder alone reports nothing; what was put in it
    // before the watcher could watch it must still be seen.
    fs::path dir = MakeDir("music");
    fs::path other = MakeDir("other");
    AddItem(dir, {caChangeFileName}, true);
    AddItem(other);
    watcher->SetActive(true);
    fs::create_directory(dir / "empty");
    poster.PumpFor(QuietSpell);
    EXPECT_EQ(counts[0], 0);

    // Keep the worker busy with the other item's hand-over while the folder fills.
    Touch(other / "x.mp3");
    ASSERT_TRUE(poster.WaitPending());
    fs::create_directory(dir / "filled");
    Touch(dir / "filled" / "early.mp3");
    EXPECT_EQ(SettleAll({1, 1}), (std::vector<int>{1, 1}));
    Touch(dir / "filled" / "late.mp3");
    EXPECT_EQ(Settle(0, 2), 2);
}

TEST_F(WatchTest, LostEventsCountAsAChangeAndTheSubtreeIsWatchedAfresh) {
    int limit = 0;
    if (FILE* f = std::fopen("/proc/sys/fs/inotify/max_queued_events", "r")) {
        if (std::fscanf(f, "%d", &limit) != 1) limit = 0;
        std::fclose(f);
    }
    if (limit <= 0 || limit > 100000) GTEST_SKIP() << "event queue limit " << limit;
    fs::path dir = MakeDir("music");
    AddItem(dir, DefaultChangeActions, true);
    watcher->SetActive(true);

    // The worker reads the first event and then waits for the hand-over, so the rest pile up
    // in the kernel queue until it overflows and drops the new folder's event.
    Touch(dir / "first");
    ASSERT_TRUE(poster.WaitPending());
    for (int i = 0; i < limit + 10; ++i)
        Touch(dir / std::to_string(i));
    fs::create_directory(dir / "late");
    EXPECT_EQ(Settle(0, 1), 1);
    Touch(dir / "late" / "x.mp3");
    EXPECT_EQ(Settle(0, 2), 2);
}

TEST_F(WatchTest, ReportsReachTheRightItemAndThenOnChangeNotify) {
    fs::path a = MakeDir("a");
    fs::path b = MakeDir("b");
    AddItem(a);
    AddItem(b, {caChangeFileName, caChangeSize});
    std::vector<std::string> order;
    watcher->Notifications()[1].OnChange = [&](ChangeItem& item) {
        order.push_back("item " + std::to_string(item.Index()));
    };
    watcher->OnChangeNotify = [&](ChangeNotify& sender, const std::string& directory,
                                  TChangeActions actions) {
        EXPECT_EQ(&sender, watcher.get());
        EXPECT_EQ(actions, (TChangeActions{caChangeFileName, caChangeSize}));
        order.push_back("notify " + directory);
    };
    watcher->SetActive(true);
    Touch(b / "x.mp3");
    poster.PumpUntil([&] { return order.size() >= 2; });
    poster.PumpFor(QuietSpell);
    EXPECT_EQ(order, (std::vector<std::string>{"item 1", "notify " + b.string()}));
    EXPECT_EQ(counts[0], 0);
}

TEST_F(WatchTest, AHandlerErrorReachesTheUiThreadAndWatchingGoesOn) {
    fs::path dir = MakeDir("music");
    ChangeItem& item = AddItem(dir);
    int reports = 0;
    item.OnChange = [&](ChangeItem&) {
        if (++reports == 1) throw platform::Exception("Invalid or empty path [x]");
    };
    watcher->SetActive(true);
    Touch(dir / "a.mp3");
    EXPECT_THROW(poster.PumpUntil([&] { return reports >= 1; }), platform::Exception);
    Touch(dir / "b.mp3");
    poster.PumpUntil([&] { return reports >= 2; });
    EXPECT_EQ(reports, 2);
}

} // namespace
} // namespace velmora::watch::test
