// Our time against a bare baseline's, both taken in each iteration of one run.
#pragma once

#include <algorithm>
#include <benchmark/benchmark.h>
#include <limits>

namespace velmora::bench {

class BaselineRatio {
public:
    // One iteration: our seconds and the baseline's.
    void Add(double ours, double bare) {
        ours_ += ours;
        bare_ += bare;
        oursMin_ = std::min(oursMin_, ours);
        bareMin_ = std::min(bareMin_, bare);
    }
    double Ours() const { return ours_; }
    // bare_ms per iteration, the ratio of the sums, and the ratio of the best runs: other work on
    // a shared machine only ever adds time.
    void Report(benchmark::State& state) const {
        state.counters["bare_ms"] = bare_ * 1000 / static_cast<double>(state.iterations());
        state.counters["ratio"] = ours_ / bare_;
        state.counters["ratio_min"] = oursMin_ / bareMin_;
    }

private:
    double ours_ = 0, bare_ = 0;
    double oursMin_ = std::numeric_limits<double>::max();
    double bareMin_ = std::numeric_limits<double>::max();
};

} // namespace velmora::bench
