// Watcher life cycle: stopping with a hand-over pending, vanished folders, errors and limits.
#include "WatchTestSupport.h"

#include <sys/resource.h>

namespace velmora::watch::test {
namespace {

using platform::EComponentError;
using ::testing::ThrowsMessage;

TEST_F(WatchTest, AHandOverLeftPendingByAStopOrByTheWatchersEndDoesNothing) {
    watcher->SetCheckInterval(100); // the shipped default: a stop takes at most this long
    fs::path dir = Watch("music");
    watcher->SetActive(true);
    Touch(dir / "a.mp3");
    ASSERT_TRUE(poster.WaitPending());
    auto start = Clock::now();
    watcher->SetActive(false); // does not wait for the UI thread
    EXPECT_LT(Clock::now() - start, 500ms);
    EXPECT_FALSE(watcher->Active());
    poster.RunQueued();
    EXPECT_EQ(counts[0], 0);

    watcher->SetActive(true); // and the watcher starts again normally
    Touch(dir / "b.mp3");
    EXPECT_TRUE(Reports({1}));
    Touch(dir / "c.mp3");
    ASSERT_TRUE(poster.WaitPending());
    watcher.reset();
    poster.RunQueued();
    EXPECT_EQ(counts[0], 1);
}

TEST_F(WatchTest, AHandlerMayStopRestartOrDestroyTheWatcher) {
    fs::path dir = Watch("music");
    Item(0).OnChange = [&](ChangeItem&) {
        ++counts[0];
        watcher->SetActive(false);
        watcher->SetActive(true);
    };
    watcher->SetActive(true);
    Touch(dir / "a.mp3");
    ASSERT_TRUE(Reports({1}));
    Touch(dir / "b.mp3"); // the restarted watcher reports
    ASSERT_TRUE(Reports({2}));

    bool notified = false;
    watcher->OnChangeNotify = [&](auto&&...) { notified = true; };
    Item(0).OnChange = [&](ChangeItem&) {
        ++counts[0];
        watcher.reset();
    };
    Touch(dir / "c.mp3");
    EXPECT_TRUE(Reports({3}));
    EXPECT_EQ(watcher, nullptr);
    EXPECT_FALSE(notified); // nothing ran on the destroyed watcher
}

TEST_F(WatchTest, ARemovedOrMovedFolderEndsOnlyItsOwnWatch) {
    fs::path removed = Watch("removed");
    fs::path moved = Watch("moved", DefaultChangeActions, true);
    fs::path kept = Watch("kept");
    Touch(removed / "a.mp3");
    watcher->SetActive(true);
    auto watching = [&] {
        return std::vector<bool>{watcher->Watching(0), watcher->Watching(1), watcher->Watching(2)};
    };
    EXPECT_EQ(watching(), (std::vector<bool>{true, true, true}));
    fs::remove_all(removed);
    EXPECT_TRUE(Reports({1, 0, 0}));
    fs::rename(moved, tmp.path / "moved-away");
    EXPECT_TRUE(Reports({1, 1, 0}));
    fs::create_directory(removed); // same path again: a new folder, not watched
    Touch(removed / "b.mp3");
    Touch(tmp.path / "moved-away" / "c.mp3");
    Touch(kept / "d.mp3");
    EXPECT_TRUE(Reports({1, 1, 1}));
    EXPECT_TRUE(watcher->Active());
    // The watcher says which items it no longer watches, so a loader knows to restart it.
    EXPECT_EQ(watching(), (std::vector<bool>{false, false, true}));
    // A folder replaced under the watched path before the worker has read a thing is another
    // folder too.
    Item(1).SetDirectory((tmp.path / "moved-away").string());
    watcher->SetActive(false);
    watcher->SetActive(true);
    EXPECT_EQ(watching(), (std::vector<bool>{true, true, true}));
    fs::rename(removed, tmp.path / "old");
    fs::create_directory(removed);
    EXPECT_FALSE(watcher->Watching(0));
    watcher->SetActive(false);
    EXPECT_EQ(watching(), (std::vector<bool>{false, false, false}));
}

TEST_F(WatchTest, ItemsTakeOnlyExistingFoldersAreCopiedWhole64AtMost) {
    fs::path dir = MakeDir("music");
    Touch(dir / "file.mp3");
    ChangeItems source;
    ChangeItem& item = source.Add();
    EXPECT_EQ(item.Directory(), "");
    EXPECT_EQ(item.Actions(), DefaultChangeActions);
    EXPECT_FALSE(item.IncludeSubTrees());
    item.SetDirectory(dir.string());
    for (const fs::path& bad : {fs::path(), dir / "missing", dir / "file.mp3"})
        EXPECT_THAT([&] { item.SetDirectory(bad.string()); },
                    ThrowsMessage<EComponentError>("Invalid or empty path [" + bad.string() + "]"));
    EXPECT_EQ(item.Directory(), dir.string()); // the last good one is kept

    item.SetActions({caChangeSize});
    item.SetIncludeSubTrees(true);
    source.Add();
    ChangeItems& items = watcher->Notifications();
    for (int i = 0; i < 3; ++i)
        items.Add();
    watcher->SetNotifications(source);
    ASSERT_EQ(items.Count(), 2);
    EXPECT_EQ(items[0].Directory(), dir.string());
    EXPECT_EQ(items[0].Actions(), TChangeActions{caChangeSize});
    EXPECT_TRUE(items[0].IncludeSubTrees());
    EXPECT_EQ(items[1].Actions(), DefaultChangeActions);

    while (items.Count() < ChangeItems::MaxItems)
        items.Add();
    EXPECT_THAT([&] { items.Add(); },
                ThrowsMessage<EComponentError>("Maximum of 64 items allowed"));
    EXPECT_EQ(items.Count(), 64);
    EXPECT_EQ(items[63].Index(), 63);
    items.Delete(0);
    EXPECT_EQ(items[62].Index(), 62);
    items.Add();
    EXPECT_THROW(items[64], platform::Exception);
    items.Clear();
    EXPECT_EQ(items.Count(), 0);
    EXPECT_EQ(items.Add().Index(), 0);
}

TEST_F(WatchTest, ActivationFailuresNameTheirCauseAndCloseWhatWasOpened) {
    Watch("a");
    fs::path b = Watch("b", DefaultChangeActions, true);
    const int before = InotifyInstances();
    // Activates, with the descriptors limited to `fds` when given, and checks the failure.
    auto expectFailure = [&](const std::string& message, rlim_t fds = RLIM_INFINITY) {
        SCOPED_TRACE(message);
        rlimit saved{};
        ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
        rlimit tight{std::min(fds, saved.rlim_cur), saved.rlim_max};
        ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &tight), 0);
        EXPECT_THAT([&] { watcher->SetActive(true); }, ThrowsMessage<EComponentError>(message));
        ::setrlimit(RLIMIT_NOFILE, &saved);
        EXPECT_FALSE(watcher->Active());
        EXPECT_EQ(InotifyInstances(), before);
    };
    fs::remove(b);
    expectFailure("Invalid or empty path (\"" + b.string() + "\") at index 1");

    // A system refusal: the first item's instance takes the lowest free descriptor, the last
    // one allowed, and none is left for the second.
    fs::create_directory(b);
    int lowest = ::dup(0);
    ASSERT_GE(lowest, 0);
    ::close(lowest);
    expectFailure("Too many open files [" + b.string() + "]", static_cast<rlim_t>(lowest) + 1);

    ChangeItems empty;
    empty.Add();
    watcher->SetNotifications(empty); // an item never given a folder
    expectFailure("Invalid or empty path (\"\") at index 0");
}

TEST_F(WatchTest, ActivationIsIdempotentAndFixesTheCheckInterval) {
    fs::path dir = Watch("music");
    EXPECT_EQ(ChangeNotify(poster).CheckInterval(), 100);
    watcher->SetCheckInterval(0);
    watcher->SetCheckInterval(-5);
    EXPECT_EQ(watcher->CheckInterval(), 20);
    watcher->SetCheckInterval(30);
    const int before = InotifyInstances();
    watcher->SetActive(false);
    watcher->SetActive(true);
    watcher->SetActive(true);
    EXPECT_EQ(InotifyInstances(), before + 1);
    EXPECT_THAT([&] { watcher->SetCheckInterval(50); },
                ThrowsMessage<EComponentError>("Cannot change this value when active"));
    EXPECT_EQ(watcher->CheckInterval(), 30);
    Touch(dir / "a.mp3");
    EXPECT_TRUE(Reports({1}));
    watcher->SetActive(false);
    watcher->SetActive(false);
    EXPECT_EQ(InotifyInstances(), before);
    watcher->SetCheckInterval(50);
    EXPECT_EQ(watcher->CheckInterval(), 50);
}

TEST_F(WatchTest, HeldReportsWaitForTheOutermostReleaseOncePerItemInItemOrder) {
    fs::path a = Watch("a");
    fs::path b = Watch("b");
    watcher->SetActive(true);
    watcher->Hold();
    watcher->Hold();
    TouchAndHandOver(b / "1.mp3");
    TouchAndHandOver(a / "1.mp3");
    TouchAndHandOver(b / "2.mp3");
    EXPECT_TRUE(Reports({0, 0}));
    std::vector<int> order;
    watcher->OnChangeNotify = [&](ChangeNotify&, const std::string& directory, TChangeActions) {
        order.push_back(directory == a.string() ? 0 : 1);
    };
    watcher->Release();
    EXPECT_EQ(counts[0] + counts[1], 0);
    watcher->Release();
    EXPECT_EQ(order, (std::vector<int>{0, 1}));
    watcher->Release(); // unbalanced: ignored
    EXPECT_TRUE(Reports({1, 1}));

    // One failing report does not swallow the others.
    Item(0).OnChange = [](ChangeItem&) { throw platform::Exception("boom"); };
    watcher->Hold();
    TouchAndHandOver(a / "2.mp3");
    TouchAndHandOver(b / "3.mp3");
    EXPECT_THROW(watcher->Release(), platform::Exception);
    EXPECT_EQ(counts[1], 2);

    // Deactivation drops what is held.
    watcher->Hold();
    TouchAndHandOver(b / "4.mp3");
    watcher->SetActive(false);
    watcher->Release();
    EXPECT_EQ(counts[1], 2);
}

TEST_F(WatchTest, AReportQueuedBeforeReleaseIsNotDeliveredTwice) {
    // Changes read while held, handed over only after the release delivered the held report:
    // that report already covered them.
    fs::path dir = Watch("music");
    watcher->SetActive(true);
    watcher->Hold();
    TouchAndHandOver(dir / "1.mp3");
    Touch(dir / "2.mp3");
    ASSERT_TRUE(poster.WaitPending());
    watcher->Release();
    EXPECT_EQ(counts[0], 1);
    EXPECT_TRUE(Reports({1}));

    // Later changes are reported again, also one first read by such a stale hand-over.
    watcher->Hold();
    TouchAndHandOver(dir / "3.mp3");
    Touch(dir / "4.mp3");
    ASSERT_TRUE(poster.WaitPending());
    watcher->Release();
    Touch(dir / "5.mp3");
    EXPECT_TRUE(Reports({3}));
}

} // namespace
} // namespace velmora::watch::test
