// One hold over several report sources: nesting, order, a new hold while letting go, errors.
#include "core/workspace/HeldReports.h"

#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>
#include <string>

using velmora::workspace::HeldReports;

// Each source counts its own holds, as the watcher and the folder tree do; `deliver` runs when
// its count is back at 0.
TEST(HeldReports, SourcesAreHeldForTheOutermostHoldAndLetGoInOrder) {
    std::string log;
    int holds[2] = {0, 0};
    std::function<void()> deliver[2];
    auto reports = std::make_unique<HeldReports>();
    for (int i : {0, 1})
        reports->AddSource([&, i] { log += "+" + std::to_string(i), ++holds[i]; },
                           [&, i] {
                               log += "-" + std::to_string(i);
                               if (--holds[i] == 0 && deliver[i]) deliver[i]();
                           });
    reports->Hold();
    reports->Hold();
    reports->Release();
    EXPECT_EQ(log, "+0+1");
    reports->Release();
    reports->Release(); // unmatched: nothing
    EXPECT_EQ(log, "+0+1-0-1");

    // The first source's delivery starts a new action: the second stays held until it ends.
    log.clear();
    deliver[0] = [&] { reports->Hold(); };
    reports->Hold();
    reports->Release();
    EXPECT_EQ(log, "+0+1-0+0+1-1");
    EXPECT_EQ(holds[1], 1);
    deliver[0] = nullptr;
    reports->Release();
    EXPECT_EQ(holds[0] + holds[1], 0);

    // A failing delivery does not keep the other source held; its error comes afterwards.
    deliver[0] = [] { throw std::runtime_error("report failed"); };
    reports->Hold();
    EXPECT_THROW(reports->Release(), std::runtime_error);
    EXPECT_EQ(holds[1], 0);
    EXPECT_FALSE(reports->Holding());

    // A delivery that destroys the holder (its window closed) ends the round.
    log.clear();
    deliver[0] = [&] { reports.reset(); };
    reports->Hold();
    reports->Release();
    EXPECT_EQ(log, "+0+1-0");
}
