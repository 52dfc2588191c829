// Watcher life cycle: stopping with a hand-over pending, vanished folders, errors and limits.
#include "WatchTestSupport.h"

#include <sys/resource.h>

namespace velmora::watch::test {
namespace {

using platform::EComponentError;

std::string MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const EComponentError& e) {
        return e.Message();
    }
    return "(no EComponentError)";
}

TEST_F(WatchTest, StoppingWithAHandOverPendingDoesNotWaitForTheUiThread) {
    watcher->SetCheckInterval(100); // the shipped default: a stop takes at most this long
    fs::path dir = MakeDir("music");
    AddItem(dir);
    watcher->SetActive(true);
    Touch(dir / "a.mp3");
    ASSERT_TRUE(poster.WaitPending());

    auto start = Clock::now();
    watcher->SetActive(false);
    EXPECT_LT(Clock::now() - start, 500ms);
    EXPECT_FALSE(watcher->Active());

    poster.RunQueued(); // the stale call does nothing
    EXPECT_EQ(counts[0], 0);

    watcher->SetActive(true); // and the watcher starts again normally
    Touch(dir / "b.mp3");
    EXPECT_EQ(Settle(0, 1), 1);
}

TEST_F(WatchTest, ACallArrivingAfterTheWatcherIsGoneDoesNothing) {
    fs::path dir = MakeDir("music");
    AddItem(dir);
    watcher->SetActive(true);
    Touch(dir / "a.mp3");
    ASSERT_TRUE(poster.WaitPending());
    watcher.reset();
    poster.RunQueued();
    EXPECT_EQ(counts[0], 0);
}

TEST_F(WatchTest, AHandlerMayStopRestartOrDestroyTheWatcher) {
    fs::path dir = MakeDir("music");
    ChangeItem& item = AddItem(dir);
    int reports = 0;
    item.OnChange = [&](ChangeItem&) {
        ++reports;
        watcher->SetActive(false);
        watcher->SetActive(true);
    };
    watcher->SetActive(true);
    Touch(dir / "a.mp3");
    ASSERT_TRUE(poster.PumpUntil([&] { return reports == 1; }));
    Touch(dir / "b.mp3"); // the restarted watcher reports
    ASSERT_TRUE(poster.PumpUntil([&] { return reports == 2; }));

    bool notified = false;
    watcher->OnChangeNotify = [&](ChangeNotify&, const std::string&, TChangeActions) {
        notified = true;
    };
    item.OnChange = [&](ChangeItem&) {
        ++reports;
        watcher.reset();
    };
    Touch(dir / "c.mp3");
    ASSERT_TRUE(poster.PumpUntil([&] { return reports == 3; }));
    EXPECT_EQ(watcher, nullptr);
    EXPECT_FALSE(notified); // nothing ran on the destroyed watcher
    poster.PumpFor(QuietSpell);
}

TEST_F(WatchTest, ARemovedOrMovedFolderEndsOnlyItsOwnWatch) {
    fs::path removed = MakeDir("removed");
    fs::path moved = MakeDir("moved");
    fs::path kept = MakeDir("kept");
    Touch(removed / "a.mp3");
    AddItem(removed);
    AddItem(moved, DefaultChangeActions, true);
    AddItem(kept);
    watcher->SetActive(true);

    fs::remove_all(removed);
    EXPECT_EQ(Settle(0, 1), 1);
    fs::rename(moved, tmp.Path() / "moved-away");
    EXPECT_EQ(Settle(1, 1), 1);

    fs::create_directory(removed); // same path again: a new folder, not watched
    Touch(removed / "b.mp3");
    Touch(tmp.Path() / "moved-away" / "c.mp3");
    Touch(kept / "d.mp3");
    EXPECT_EQ(Settle(2, 1), 1);
    EXPECT_EQ(counts[0], 1);
    EXPECT_EQ(counts[1], 1);
    EXPECT_TRUE(watcher->Active());
}

TEST_F(WatchTest, DirectoryMustNameAnExistingFolder) {
    fs::path dir = MakeDir("music");
    Touch(dir / "file.mp3");
    ChangeItem& item = watcher->Notifications().Add();
    EXPECT_EQ(item.Directory(), "");
    EXPECT_EQ(item.Actions(), DefaultChangeActions);
    EXPECT_FALSE(item.IncludeSubTrees());

    EXPECT_EQ(MessageOf([&] { item.SetDirectory(""); }), "Invalid or empty path []");
    item.SetDirectory(dir.string());
    std::string missing = (dir / "missing").string();
    EXPECT_EQ(MessageOf([&] { item.SetDirectory(missing); }),
              "Invalid or empty path [" + missing + "]");
    std::string file = (dir / "file.mp3").string();
    EXPECT_EQ(MessageOf([&] { item.SetDirectory(file); }), "Invalid or empty path [" + file + "]");
    EXPECT_EQ(item.Directory(), dir.string());
}

TEST_F(WatchTest, ActivationFailsOnAVanishedFolderAndClosesWhatItOpened) {
    fs::path a = MakeDir("a");
    fs::path b = MakeDir("b");
    AddItem(a);
    AddItem(b, DefaultChangeActions, true);
    fs::remove(b);
    int before = InotifyInstances();
    EXPECT_EQ(MessageOf([&] { watcher->SetActive(true); }),
              "Invalid or empty path (\"" + b.string() + "\") at index 1");
    EXPECT_FALSE(watcher->Active());
    EXPECT_EQ(InotifyInstances(), before);

    ChangeItems empty;
    empty.Add();
    watcher->SetNotifications(empty); // an item never given a folder
    EXPECT_EQ(MessageOf([&] { watcher->SetActive(true); }),
              "Invalid or empty path (\"\") at index 0");
}

TEST_F(WatchTest, ASystemRefusalIsReportedWithItsErrorText) {
    fs::path a = MakeDir("a");
    fs::path b = MakeDir("b");
    AddItem(a);
    AddItem(b);
    int before = InotifyInstances();
    // Leave the process no free descriptor for a second inotify instance.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
    int first = ::dup(0); // the lowest free descriptor: the first item's instance gets it
    ASSERT_GE(first, 0);
    int next = ::dup(0); // every descriptor between the two is taken
    ASSERT_GE(next, 0);
    ::close(next);
    ::close(first);
    rlimit tight = saved;
    tight.rlim_cur = static_cast<rlim_t>(next);
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &tight), 0);
    std::exception_ptr error; // looked at once the limit is back: sanitizers need descriptors
    try {
        watcher->SetActive(true);
    } catch (...) {
        error = std::current_exception();
    }
    ::setrlimit(RLIMIT_NOFILE, &saved);
    std::string message = MessageOf([&] {
        if (error) std::rethrow_exception(error);
    });

    EXPECT_EQ(message, "Too many open files [" + b.string() + "]");
    EXPECT_FALSE(watcher->Active());
    EXPECT_EQ(InotifyInstances(), before);
}

TEST_F(WatchTest, AtMost64Items) {
    ChangeItems& items = watcher->Notifications();
    for (int i = 0; i < ChangeItems::MaxItems; ++i)
        items.Add();
    EXPECT_EQ(MessageOf([&] { items.Add(); }), "Maximum of 64 items allowed");
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

TEST_F(WatchTest, AssigningItemsCopiesTheirSettings) {
    fs::path dir = MakeDir("music");
    ChangeItems source;
    ChangeItem& from = source.Add();
    from.SetDirectory(dir.string());
    from.SetActions({caChangeSize});
    from.SetIncludeSubTrees(true);
    source.Add();
    watcher->Notifications().Add();
    watcher->Notifications().Add();
    watcher->Notifications().Add();
    watcher->SetNotifications(source);
    ASSERT_EQ(watcher->Notifications().Count(), 2);
    const ChangeItem& copy = watcher->Notifications()[0];
    EXPECT_EQ(copy.Directory(), dir.string());
    EXPECT_EQ(copy.Actions(), TChangeActions{caChangeSize});
    EXPECT_TRUE(copy.IncludeSubTrees());
    EXPECT_EQ(watcher->Notifications()[1].Actions(), DefaultChangeActions);
}

TEST_F(WatchTest, CheckIntervalIsFixedWhileActiveAndMustBePositive) {
    fs::path dir = MakeDir("music");
    AddItem(dir);
    watcher->SetCheckInterval(0);
    watcher->SetCheckInterval(-5);
    EXPECT_EQ(watcher->CheckInterval(), 20);
    watcher->SetCheckInterval(30);
    watcher->SetActive(true);
    EXPECT_EQ(MessageOf([&] { watcher->SetCheckInterval(50); }),
              "Cannot change this value when active");
    EXPECT_EQ(watcher->CheckInterval(), 30);
    watcher->SetActive(false);
    watcher->SetCheckInterval(50);
    EXPECT_EQ(watcher->CheckInterval(), 50);
    EXPECT_EQ(ChangeNotify(poster).CheckInterval(), 100);
}

TEST_F(WatchTest, ActivatingTwiceOpensOnceAndDeactivatingTwiceIsHarmless) {
    fs::path dir = MakeDir("music");
    AddItem(dir);
    int before = InotifyInstances();
    watcher->SetActive(false);
    watcher->SetActive(true);
    watcher->SetActive(true);
    EXPECT_EQ(InotifyInstances(), before + 1);
    Touch(dir / "a.mp3");
    EXPECT_EQ(Settle(0, 1), 1);
    watcher->SetActive(false);
    watcher->SetActive(false);
    EXPECT_EQ(InotifyInstances(), before);
}

TEST_F(WatchTest, HeldReportsWaitForTheOutermostReleaseOncePerItem) {
    fs::path a = MakeDir("a");
    fs::path b = MakeDir("b");
    AddItem(a);
    AddItem(b);
    watcher->SetActive(true);
    watcher->Hold();
    watcher->Hold();
    Touch(b / "1.mp3");
    HandOvers(1);
    Touch(a / "1.mp3");
    HandOvers(2);
    Touch(b / "2.mp3");
    HandOvers(3);
    poster.PumpFor(QuietSpell);
    EXPECT_EQ(counts[0] + counts[1], 0);

    std::vector<int> order;
    watcher->OnChangeNotify = [&](ChangeNotify&, const std::string& directory, TChangeActions) {
        order.push_back(directory == a.string() ? 0 : 1);
    };
    watcher->Release();
    EXPECT_EQ(counts[0] + counts[1], 0);
    watcher->Release();
    EXPECT_EQ(order, (std::vector<int>{0, 1}));
    watcher->Release(); // unbalanced: ignored
    poster.PumpFor(QuietSpell);
    EXPECT_EQ(counts[0], 1);
    EXPECT_EQ(counts[1], 1);
}

TEST_F(WatchTest, AReportQueuedBeforeReleaseIsNotDeliveredTwice) {
    // Changes read while held, handed over only after the release delivered the held report:
    // that report already covered them.
    fs::path dir = MakeDir("music");
    AddItem(dir);
    watcher->SetActive(true);
    watcher->Hold();
    Touch(dir / "1.mp3");
    HandOvers(1);
    Touch(dir / "2.mp3");
    ASSERT_TRUE(poster.WaitPending());
    watcher->Release();
    EXPECT_EQ(counts[0], 1);
    poster.PumpFor(QuietSpell);
    EXPECT_EQ(counts[0], 1);
    Touch(dir / "3.mp3"); // later changes are reported again
    EXPECT_EQ(Settle(0, 2), 2);
}

TEST_F(WatchTest, DeactivationDropsHeldReports) {
    fs::path dir = MakeDir("music");
    AddItem(dir);
    watcher->SetActive(true);
    watcher->Hold();
    Touch(dir / "1.mp3");
    HandOvers(1);
    watcher->SetActive(false);
    watcher->Release();
    EXPECT_EQ(counts[0], 0);
}

TEST_F(WatchTest, AFailingHeldReportDoesNotSwallowTheOthers) {
    fs::path a = MakeDir("a");
    fs::path b = MakeDir("b");
    AddItem(a).OnChange = [](ChangeItem&) { throw platform::Exception("boom"); };
    AddItem(b);
    watcher->SetActive(true);
    watcher->Hold();
    Touch(a / "1.mp3");
    Touch(b / "1.mp3");
    HandOvers(2);
    EXPECT_THROW(watcher->Release(), platform::Exception);
    EXPECT_EQ(counts[1], 1);
}

} // namespace
} // namespace velmora::watch::test
