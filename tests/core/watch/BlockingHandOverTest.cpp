// The worker-to-UI-thread hand-over: runs there, survives errors, and never strands the worker.
#include "core/watch/BlockingHandOver.h"

#include "WatchTestSupport.h"

#include <future>
#include <stdexcept>
#include <thread>

namespace velmora::watch::test {
namespace {

TEST(BlockingHandOver, RunsOnThePumpingThreadWaitsForTheCallAndSurvivesItsError) {
    QueuePoster poster;
    BlockingHandOver handOver(poster);
    std::thread::id ranOn;
    auto worker = std::async(std::launch::async, [&] {
        return handOver.Run([&] { ranOn = std::this_thread::get_id(); }) &&
               handOver.Run([] { throw std::runtime_error("x"); });
    });
    ASSERT_TRUE(poster.WaitPending());
    EXPECT_EQ(worker.wait_for(50ms), std::future_status::timeout); // still waiting
    poster.RunQueued();
    EXPECT_EQ(ranOn, std::this_thread::get_id());
    ASSERT_TRUE(poster.WaitPending()); // the second call: its error reaches this thread
    EXPECT_THROW(poster.RunQueued(), std::runtime_error);
    EXPECT_TRUE(worker.get());
}

TEST(BlockingHandOver, CloseDiscardsAPendingCallAndRefusesLaterOnes) {
    QueuePoster poster;
    BlockingHandOver handOver(poster);
    int runs = 0;
    auto worker = std::async(std::launch::async, [&] { return handOver.Run([&] { ++runs; }); });
    ASSERT_TRUE(poster.WaitPending());
    handOver.Close();
    EXPECT_EQ(worker.wait_for(5s), std::future_status::ready);
    EXPECT_FALSE(worker.get());
    EXPECT_FALSE(handOver.Run([&] { ++runs; }));
    poster.RunQueued();
    EXPECT_EQ(runs, 0);
}

TEST(BlockingHandOver, CloseDuringTheCallReleasesTheWorkerAndTheCallGoesOn) {
    QueuePoster poster;
    auto handOver = std::make_unique<BlockingHandOver>(poster);
    std::future<bool> worker;
    bool completed = false;
    worker = std::async(std::launch::async, [&] {
        return handOver->Run([&] {
            handOver->Close();
            // The worker no longer waits for this call.
            EXPECT_EQ(worker.wait_for(5s), std::future_status::ready);
            handOver.reset();
            completed = true;
        });
    });
    ASSERT_TRUE(poster.WaitPending());
    poster.RunQueued();
    EXPECT_TRUE(completed);
    EXPECT_FALSE(worker.get());
}

} // namespace
} // namespace velmora::watch::test
