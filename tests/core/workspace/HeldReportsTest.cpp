// One hold over several report sources: nesting, order, a new hold while letting go, errors.
#include "core/workspace/HeldReports.h"

#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>

using velmora::workspace::HeldReports;

namespace {

// A source that counts its own holds, as the watcher and the folder tree do, and logs what it
// is told; release runs onRelease once its own count is back at 0.
struct Source {
    Source(std::string n, std::string* l) : name(std::move(n)), log(l) {}
    std::string name;
    std::string* log;
    int holds = 0;
    std::function<void()> onRelease;
    void Add(HeldReports& r) {
        r.AddSource(
            [this] {
                ++holds;
                *log += name + "+";
            },
            [this] {
                *log += name + "-";
                if (--holds == 0 && onRelease) onRelease();
            });
    }
};

} // namespace

TEST(HeldReports, SourcesAreHeldOnceForNestedHoldsAndLetGoInOrder) {
    std::string log;
    HeldReports reports;
    Source watcher{"w", &log}, tree{"t", &log};
    watcher.Add(reports);
    tree.Add(reports);
    reports.Hold();
    reports.Hold();
    EXPECT_EQ(log, "w+t+");
    reports.Release();
    EXPECT_TRUE(reports.Holding());
    reports.Release();
    EXPECT_EQ(log, "w+t+w-t-");
    EXPECT_FALSE(reports.Holding());
    reports.Release(); // unmatched: nothing
    EXPECT_EQ(log, "w+t+w-t-");

    // A source added during a hold is held from then on.
    log.clear();
    Source late{"l", &log};
    reports.Hold();
    late.Add(reports);
    reports.Release();
    EXPECT_EQ(log, "w+t+l+w-t-l-");
}

// What the first source delivers may start a new action, which holds again: the later source
// stays held until that action ends too, and every source ends balanced.
TEST(HeldReports, ADeliveryThatStartsAnActionKeepsTheRestHeldUntilItEnds) {
    std::string log;
    HeldReports reports;
    Source watcher{"w", &log}, tree{"t", &log};
    watcher.onRelease = [&] { reports.Hold(); };
    watcher.Add(reports);
    tree.Add(reports);
    reports.Hold();
    reports.Release();
    EXPECT_EQ(log, "w+t+w-w+t+t-");
    EXPECT_EQ(tree.holds, 1);
    watcher.onRelease = nullptr;
    reports.Release();
    EXPECT_EQ(watcher.holds, 0);
    EXPECT_EQ(tree.holds, 0);
}

TEST(HeldReports, AFailingSourceDoesNotKeepTheOthersHeld) {
    std::string log;
    HeldReports reports;
    Source watcher{"w", &log}, tree{"t", &log};
    watcher.onRelease = [] { throw std::runtime_error("report failed"); };
    watcher.Add(reports);
    tree.Add(reports);
    reports.Hold();
    EXPECT_THROW(reports.Release(), std::runtime_error);
    EXPECT_EQ(tree.holds, 0);
    EXPECT_FALSE(reports.Holding());

    // A delivery that destroys the holder (its window closed) ends the round.
    auto owned = std::make_unique<HeldReports>();
    Source closer{"c", &log}, after{"a", &log};
    closer.onRelease = [&] { owned.reset(); };
    closer.Add(*owned);
    after.Add(*owned);
    log.clear();
    owned->Hold();
    owned->Release();
    EXPECT_EQ(log, "c+a+c-");
}
