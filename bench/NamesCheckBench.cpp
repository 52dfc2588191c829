// The names check against bare loops in the same run: the first check of 100,000 lines against
// a loop that builds the final names into a hash set, and a keystroke in 100,000 lines with the
// check following it against the keystroke alone.
#include "BaselineRatio.h"
#include "core/editor/CustomTextEditor.h"
#include "core/fs/PathUtils.h"
#include "core/platform/StringList.h"
#include "core/platform/Utf8.h"
#include "core/workspace/NamesCheck.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <string>
#include <unordered_set>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using velmora::bench::BaselineRatio;
using velmora::platform::StringList;
using velmora::workspace::NamesCheck;
using velmora::workspace::NamingRules;

double Since(Clock::time_point t) {
    return std::chrono::duration<double>(Clock::now() - t).count();
}

std::string FileName(int i) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "Artist %c - Some Album - Track title %06d.mp3", 'A' + i % 26,
                  i);
    return buf;
}

// range(0): lines; range(1): 1 when every line is renamed (numbered), 0 when none is.
void BM_FirstCheck(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const bool renamed = state.range(1) != 0;
    const bool excludeExt = true;
    StringList left, right;
    for (int i = 0; i < n; ++i) {
        const std::string name = FileName(i);
        left.Add(name);
        const std::string line = velmora::fs::ChangeFileExtEmpty(name);
        right.Add(renamed ? std::to_string(i + 1) + " - " + line : line);
    }
    std::vector<std::string> entries;
    for (int i = 0; i < n; ++i)
        entries.push_back(left.Get(i));
    entries.emplace_back("cover.jpg");
    NamesCheck check;
    check.SetFolder(NamingRules(), entries, left);
    BaselineRatio ratio;
    for (auto _ : state) {
        auto t = Clock::now();
        {
            std::unordered_set<std::string> names;
            for (int i = 0; i < n; ++i) {
                std::string name = right.Get(i);
                name += velmora::fs::ExtractFileExt(left.Get(i));
                names.insert(std::move(name));
            }
            benchmark::DoNotOptimize(names.size());
        }
        const double bare = Since(t);
        t = Clock::now();
        check.Reset(left, right, excludeExt);
        benchmark::DoNotOptimize(check.Count(velmora::workspace::NameState::Changed));
        ratio.Add(Since(t), bare);
    }
    ratio.Report(state);
}
BENCHMARK(BM_FirstCheck)
    ->Args({100000, 0})
    ->Args({100000, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

// A names pane of n lines, the caret in the middle, typing into a line.
struct Pane {
    velmora::editor::CustomTextEditor ed;
    int mid;
    explicit Pane(const StringList& names) : mid(names.Count() / 2) {
        ed.SetWordWrap(false);
        ed.CursorBeyondEOF = true;
        ed.CursorBeyondEOL = false;
        ed.Lines().BeginUpdate();
        for (int i = 0; i < names.Count(); ++i)
            ed.Lines().Add(names.Get(i));
        ed.Lines().EndUpdate();
        ed.MoveCaret(10, mid);
    }
    void Reset(const StringList& names) {
        ed.Lines().LockedPut(mid, velmora::platform::DecodeUtf8(names.Get(mid)));
        ed.UndoList().Clear();
        ed.MoveCaret(10, mid);
    }
};

void BM_Keystroke(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    StringList left;
    for (int i = 0; i < n; ++i)
        left.Add(FileName(i));
    Pane bare(left), checked(left);
    NamesCheck check;
    check.SetFolder(NamingRules(), {}, left);
    check.Reset(left, checked.ed.Lines(), false);
    checked.ed.Lines().TakeEdits();
    const auto follow = [&] {
        const auto span = checked.ed.Lines().TakeEdits();
        if (span.Changed)
            check.Edited(left, checked.ed.Lines(), span.First, span.Tail, span.OldCount);
    };
    BaselineRatio ratio;
    int typed = 0;
    for (auto _ : state) {
        auto t = Clock::now();
        bare.ed.TypeChar(U'q');
        const double b = Since(t);
        t = Clock::now();
        checked.ed.TypeChar(U'q');
        follow();
        ratio.Add(Since(t), b);
        if (++typed % 64 == 0) {
            state.PauseTiming();
            bare.Reset(left);
            checked.Reset(left);
            follow();
            state.ResumeTiming();
        }
    }
    benchmark::DoNotOptimize(check.Count(velmora::workspace::NameState::Changed));
    ratio.Report(state);
}
BENCHMARK(BM_Keystroke)->Arg(100000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
