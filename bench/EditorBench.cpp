// Editor model costs: local edits independent of the text size, block edits against a bare
// join-and-split of the whole text, and linear loading. Prints the ratios after the runs.
#include "core/editor/CustomTextEditor.h"
#include "core/editor/EditorCommands.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <map>
#include <string>

using namespace velmora::editor;

namespace {

std::u32string MakeText(int lines) {
    std::u32string text;
    for (int i = 0; i < lines; ++i) {
        std::u32string line = U"Artist " + std::u32string(1, char32_t(U'A' + i % 26)) + U" - ";
        line.resize(40, U'x'); // 40 characters per line
        text += line;
        text += U"\r\n";
    }
    return text;
}

// An editor as the names pane configures it, caret in the middle of the text.
struct Fixture {
    CustomTextEditor ed;
    int mid;
    explicit Fixture(int lines) : mid(lines / 2) {
        ed.SetWordWrap(false);
        ed.CursorBeyondEOF = true;
        ed.CursorBeyondEOL = false;
        ed.Lines().SetText32(MakeText(lines));
        ed.SetCaret(10, mid);
    }
    void Reset() {
        ed.Lines().LockedPut(mid, ed.Lines().Get32(mid).substr(0, 40));
        ed.UndoList().Clear();
        ed.MoveCaret(10, mid);
    }
};

template <class F> double Timed(F&& f) {
    auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_TypeChar(benchmark::State& state) {
    Fixture fx(static_cast<int>(state.range(0)));
    int n = 0;
    for (auto _ : state) {
        fx.ed.TypeChar(U'q');
        if (++n % 256 == 0) {
            state.PauseTiming();
            fx.Reset();
            state.ResumeTiming();
        }
    }
}

void BM_MoveCaret(benchmark::State& state) {
    Fixture fx(static_cast<int>(state.range(0)));
    int n = 0;
    for (auto _ : state) {
        fx.ed.ExecuteCommand(n % 2 == 0 ? cmdRight : cmdLeft);
        if (++n % 4096 == 0) {
            state.PauseTiming();
            fx.ed.UndoList().Clear();
            state.ResumeTiming();
        }
    }
}

void BM_UndoTypedChar(benchmark::State& state) {
    Fixture fx(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        fx.ed.TypeChar(U'q');
        state.SetIterationTime(Timed([&] { fx.ed.ExecuteCommand(cmdUndo); }));
    }
}

const std::u32string kBlock = U"New name one\r\nNew name two\r\nNew name three";

void BM_InsertAtCaret(benchmark::State& state) {
    Fixture fx(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.SetIterationTime(Timed([&] { fx.ed.InsertAtCaret(kBlock); }));
        fx.ed.ExecuteCommand(cmdUndo);
    }
}

void BM_DeleteSelected(benchmark::State& state) {
    Fixture fx(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        fx.ed.ExtendSelection(5, fx.mid);
        fx.ed.ExtendSelection(7, fx.mid + 3);
        state.SetIterationTime(Timed([&] { fx.ed.DeleteSelected(); }));
        fx.ed.ExecuteCommand(cmdUndo);
        fx.ed.SetSelected(false);
    }
}

void BM_UndoBlock(benchmark::State& state) {
    Fixture fx(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        fx.ed.InsertAtCaret(kBlock);
        state.SetIterationTime(Timed([&] { fx.ed.ExecuteCommand(cmdUndo); }));
    }
}

// The bare baseline of a whole-text rebuild: join every line into one string and split it.
void BM_JoinSplit(benchmark::State& state) {
    const std::vector<std::u32string> lines =
        SplitLines32(MakeText(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        std::u32string text;
        for (const auto& l : lines) {
            text += l;
            text += U"\r\n";
        }
        auto back = SplitLines32(text);
        benchmark::DoNotOptimize(back.data());
    }
}

void BM_LoadAdd(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    std::vector<std::string> names;
    for (int i = 0; i < n; ++i)
        names.push_back("Track " + std::to_string(i) + " - Artist.mp3");
    for (auto _ : state) {
        CustomTextEditor ed;
        ed.SetWordWrap(false);
        ed.Lines().BeginUpdate();
        for (const auto& s : names)
            ed.Lines().Add(s);
        ed.Lines().EndUpdate();
        benchmark::DoNotOptimize(ed.Lines().Count());
    }
}

BENCHMARK(BM_TypeChar)->Arg(100)->Arg(100000);
BENCHMARK(BM_MoveCaret)->Arg(100)->Arg(100000);
BENCHMARK(BM_UndoTypedChar)->Arg(100)->Arg(100000)->UseManualTime();
BENCHMARK(BM_InsertAtCaret)->Arg(100000)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DeleteSelected)->Arg(100000)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UndoBlock)->Arg(100000)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_JoinSplit)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadAdd)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Keeps every run's time per iteration so the ratios can be printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& r : runs)
            if (r.run_type == Run::RT_Iteration)
                seconds[r.benchmark_name()] =
                    r.GetAdjustedRealTime() * benchmark::GetTimeUnitMultiplier(r.time_unit);
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> seconds;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto& t = reporter.seconds;
    auto ratio = [&](const char* label, const std::string& a, const std::string& b, double limit) {
        if (!t.count(a) || !t.count(b)) return;
        const double r = t[a] / t[b];
        std::printf("%-48s %7.2f  (limit %.0f)\n", label, r, limit);
    };
    std::printf("\nRatios measured in this run:\n");
    ratio("type a character, 100000 vs 100 lines", "BM_TypeChar/100000", "BM_TypeChar/100", 2);
    ratio("move the caret, 100000 vs 100 lines", "BM_MoveCaret/100000", "BM_MoveCaret/100", 2);
    ratio("undo a typed character, 100000 vs 100 lines", "BM_UndoTypedChar/100000/manual_time",
          "BM_UndoTypedChar/100/manual_time", 2);
    ratio("InsertAtCaret vs join+split, 100000 lines", "BM_InsertAtCaret/100000/manual_time",
          "BM_JoinSplit/100000", 3);
    ratio("DeleteSelected vs join+split, 100000 lines", "BM_DeleteSelected/100000/manual_time",
          "BM_JoinSplit/100000", 3);
    ratio("undo of a block vs join+split, 100000 lines", "BM_UndoBlock/100000/manual_time",
          "BM_JoinSplit/100000", 3);
    ratio("load through Add, 100000 vs 10000 lines (linear: 10)", "BM_LoadAdd/100000",
          "BM_LoadAdd/10000", 10);
    benchmark::Shutdown();
    return 0;
}
