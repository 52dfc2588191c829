// Regular-expression Replace All on 100,000 names against bare replace loops over the same lines
// in the same run: PCRE2's own substitution and, where the widgets are built, QRegularExpression.
// Ours includes reading the editor's text, its update and the undo record.
#include "BaselineRatio.h"
#include "core/editor/CustomTextEditor.h"
#include "core/workspace/FindReplace.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#define PCRE2_CODE_UNIT_WIDTH 32
#include <pcre2.h>

#ifdef VELMORA_BENCH_QT
#include <QRegularExpression>
#include <QStringList>
#endif

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

const char32_t kFind[] = U"^(\\d+) - (.+) - (.+)$";
const char32_t kReplace[] = U"\\1 - \\3 - \\2";

std::vector<std::u32string> MakeLines(int n) {
    std::vector<std::u32string> lines;
    char buf[80];
    for (int i = 0; i < n; ++i) {
        std::snprintf(buf, sizeof buf, "%05d - Song title %06d - Artist %03d", i, i * 7, i % 997);
        lines.emplace_back(buf, buf + std::char_traits<char>::length(buf));
    }
    return lines;
}

std::u32string Joined(const std::vector<std::u32string>& lines) {
    std::u32string text;
    for (const auto& l : lines)
        text.append(l).append(U"\r\n");
    return text;
}

// Runs ours in a fresh editor; returns the seconds taken and checks the count.
double Ours(const std::u32string& text, int n, benchmark::State& state, std::u32string* result) {
    editor::CustomTextEditor ed;
    ed.SetWordWrap(false);
    ed.CursorBeyondEOF = true;
    ed.Lines().SetText32(text);
    NoQuestions q;
    workspace::FindReplace finder(ed, q);
    finder.Options.FindText = kFind;
    finder.Options.ReplaceText = kReplace;
    finder.Options.RegularExpression = true;
    const auto t0 = Clock::now();
    const int count = finder.ReplaceAll();
    const auto t1 = Clock::now();
    if (count != n) state.SkipWithError("wrong count");
    *result = ed.Lines().GetText32();
    return Seconds(t0, t1);
}

void BM_RegexReplaceAllVsPcre2(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const auto lines = MakeLines(n);
    const std::u32string text = Joined(lines);
    const std::u32string find = kFind, replace = U"$1 - $3 - $2";
    int error = 0;
    PCRE2_SIZE offset = 0;
    pcre2_code* code =
        pcre2_compile(reinterpret_cast<PCRE2_SPTR>(find.data()), find.size(),
                      PCRE2_UTF | PCRE2_UCP | PCRE2_CASELESS, &error, &offset, nullptr);
    pcre2_jit_compile(code, PCRE2_JIT_COMPLETE);
    pcre2_match_data* data = pcre2_match_data_create_from_pattern(code, nullptr);
    bench::BaselineRatio ratio;
    for (auto _ : state) {
        std::u32string ours;
        const double oursSeconds = Ours(text, n, state, &ours);
        const auto t0 = Clock::now();
        std::vector<std::u32string> out;
        out.reserve(lines.size());
        PCRE2_UCHAR buffer[256];
        for (const std::u32string& line : lines) {
            PCRE2_SIZE length = sizeof buffer / sizeof buffer[0];
            pcre2_substitute(code, reinterpret_cast<PCRE2_SPTR>(line.data()), line.size(), 0,
                             PCRE2_SUBSTITUTE_GLOBAL, data, nullptr,
                             reinterpret_cast<PCRE2_SPTR>(replace.data()), replace.size(), buffer,
                             &length);
            out.emplace_back(reinterpret_cast<const char32_t*>(buffer), length);
        }
        const auto t1 = Clock::now();
        benchmark::DoNotOptimize(out.data());
        ratio.Add(oursSeconds, Seconds(t0, t1));
        state.SetIterationTime(oursSeconds);
        if (ours != Joined(out)) state.SkipWithError("different results");
    }
    ratio.Report(state);
    pcre2_match_data_free(data);
    pcre2_code_free(code);
}
BENCHMARK(BM_RegexReplaceAllVsPcre2)
    ->Arg(100000)
    ->UseManualTime()
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);

#ifdef VELMORA_BENCH_QT
void BM_RegexReplaceAllVsQRegularExpression(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const auto lines = MakeLines(n);
    const std::u32string text = Joined(lines);
    QStringList qLines;
    for (const auto& l : lines)
        qLines << QString::fromUcs4(l.data(), static_cast<qsizetype>(l.size()));
    const QRegularExpression re(QString::fromUcs4(kFind),
                                QRegularExpression::CaseInsensitiveOption |
                                    QRegularExpression::UseUnicodePropertiesOption);
    const QString replace = QString::fromUcs4(kReplace);
    bench::BaselineRatio ratio;
    for (auto _ : state) {
        std::u32string ours;
        const double oursSeconds = Ours(text, n, state, &ours);
        const auto t0 = Clock::now();
        QStringList out = qLines;
        for (QString& line : out)
            line.replace(re, replace);
        const auto t1 = Clock::now();
        benchmark::DoNotOptimize(out.data());
        ratio.Add(oursSeconds, Seconds(t0, t1));
        state.SetIterationTime(oursSeconds);
        std::u32string qt;
        for (const QString& line : out)
            qt.append(line.toStdU32String()).append(U"\r\n");
        if (ours != qt) state.SkipWithError("different results");
    }
    ratio.Report(state);
}
BENCHMARK(BM_RegexReplaceAllVsQRegularExpression)
    ->Arg(100000)
    ->UseManualTime()
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);
#endif

} // namespace

BENCHMARK_MAIN();
