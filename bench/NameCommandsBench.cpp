// Replace All and Number Lines on 100,000 names, each against a bare loop that builds the same
// text in the same run. Both include the editor update and the undo record.
#include "BaselineRatio.h"
#include "core/editor/CustomTextEditor.h"
#include "core/workspace/FindReplace.h"
#include "core/workspace/LineNumbering.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

using namespace velmora;

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double>(b - a).count();
}

struct NoQuestions : platform::Questions {
    platform::ModalResult Ask(platform::MsgIcon, const std::string&, unsigned) override {
        return platform::ModalResult::mrOk;
    }
};

// Names of about 40 characters, one "Live" in each.
std::u32string MakeNames(int n) {
    std::u32string text;
    char buf[64];
    for (int i = 0; i < n; ++i) {
        std::snprintf(buf, sizeof buf, "Artist %05d - Song title (Live) %06d.mp3", i % 997, i);
        for (const char* p = buf; *p; ++p)
            text += static_cast<char32_t>(*p);
        text += U"\r\n";
    }
    return text;
}

void Configure(editor::CustomTextEditor& ed, const std::u32string& text) {
    ed.SetWordWrap(false);
    ed.CursorBeyondEOF = true;
    ed.CursorBeyondEOL = false;
    ed.Lines().SetText32(text);
}

void BM_ReplaceAll(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::u32string text = MakeNames(n);
    const std::u32string find = U"Live", replace = U"Studio";
    bench::BaselineRatio ratio;
    for (auto _ : state) {
        editor::CustomTextEditor ed;
        Configure(ed, text);
        NoQuestions q;
        workspace::FindReplace finder(ed, q);
        finder.Options.FindText = find;
        finder.Options.ReplaceText = replace;
        auto t0 = Clock::now();
        const int count = finder.ReplaceAll();
        auto t1 = Clock::now();
        std::u32string out;
        std::size_t at = 0;
        for (std::size_t hit; (hit = text.find(find, at)) != std::u32string::npos;
             at = hit + find.size()) {
            out.append(text, at, hit - at);
            out += replace;
        }
        out.append(text, at, std::u32string::npos);
        auto t2 = Clock::now();
        benchmark::DoNotOptimize(out.data());
        ratio.Add(Seconds(t0, t1), Seconds(t1, t2));
        state.SetIterationTime(Seconds(t0, t1));
        if (count != n || ed.Lines().GetText32() != out) state.SkipWithError("wrong result");
    }
    ratio.Report(state);
}
BENCHMARK(BM_ReplaceAll)
    ->Arg(100000)
    ->UseManualTime()
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);

void BM_NumberLines(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::u32string text = MakeNames(n);
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find(U'\r', at);
        std::string line;
        for (std::size_t i = at; i < end; ++i)
            line += static_cast<char>(text[i]);
        lines.push_back(std::move(line));
        at = end + 2;
    }
    const workspace::LineNumbering numbering("1", "1", "3", " - ");
    bench::BaselineRatio ratio;
    for (auto _ : state) {
        editor::CustomTextEditor ed;
        Configure(ed, text);
        auto t0 = Clock::now();
        numbering.Apply(ed);
        auto t1 = Clock::now();
        std::vector<std::string> out;
        out.reserve(lines.size());
        char buf[32];
        int number = 1;
        for (const std::string& line : lines) {
            std::snprintf(buf, sizeof buf, "%.3d", number++);
            out.push_back(buf + std::string(" - ") + line);
        }
        auto t2 = Clock::now();
        benchmark::DoNotOptimize(out.data());
        ratio.Add(Seconds(t0, t1), Seconds(t1, t2));
        state.SetIterationTime(Seconds(t0, t1));
        if (ed.Lines().Get(n - 1) != out.back()) state.SkipWithError("wrong result");
    }
    ratio.Report(state);
    state.counters["ns_per_line"] =
        ratio.Ours() * 1e9 / static_cast<double>(state.iterations()) / n;
}
BENCHMARK(BM_NumberLines)
    ->Arg(10000)
    ->Arg(100000)
    ->UseManualTime()
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
