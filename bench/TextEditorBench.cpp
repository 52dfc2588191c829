// The names editor on screen (offscreen platform): showing 100,000 names against a plain text
// edit's setPlainText, a page's paint at 1,000 and 100,000 lines, and a keystroke with its
// repaint at the end of 100 and of 100,000 lines. Ratios are printed after the runs.
#include "core/workspace/EditorNamesPane.h"
#include "ui/editor/TextEditor.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <string>
#include <vector>

using velmora::ui::TextEditor;

namespace {

std::vector<std::string> Names(int n) {
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        names.push_back("Artist " + std::to_string(i % 97) + " - Track " + std::to_string(i) +
                        " - Title of the song.mp3");
    return names;
}

void SetUp(TextEditor& ed) {
    QFont fixed(QStringLiteral("DejaVu Sans Mono"));
    fixed.setPixelSize(13);
    ed.setFont(fixed);
    ed.SetScrollBars(TextEditor::ScrollStyle::ssVertical);
    ed.SetWordWrap(false);
    ed.CursorBeyondEOF = true;
    ed.CursorBeyondEOL = false;
    ed.resize(360, 520);
    ed.show();
    QApplication::processEvents();
}

// Loads names the way the workspace does: one update bracket, one Add per name.
void LoadNames(TextEditor& ed, const std::vector<std::string>& names) {
    velmora::workspace::EditorNamesPane pane(ed);
    pane.BeginLoad();
    ed.Lines().Clear();
    ed.Lines().BeginUpdate();
    for (const std::string& n : names)
        ed.Lines().Add(n);
    ed.Lines().EndUpdate();
    pane.EndLoad();
}

double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The work's processor time: on a shared machine, wall time mostly measures the neighbours.
template <class F> double Timed(F&& f) {
    const double start = ThreadSeconds();
    f();
    return ThreadSeconds() - start;
}

std::map<std::string, double> seconds; // mean seconds per iteration, by name

void Record(benchmark::State& state, const std::string& name, double total) {
    seconds[name] = total / static_cast<double>(state.iterations());
}

void BM_ShowNames(benchmark::State& state) {
    const auto names = Names(static_cast<int>(state.range(0)));
    QString plain;
    for (const std::string& n : names)
        plain += QString::fromStdString(n) + QLatin1Char('\n');
    TextEditor ed;
    SetUp(ed);
    QPlainTextEdit baseline;
    baseline.setFont(ed.font());
    baseline.resize(ed.size());
    baseline.show();
    QApplication::processEvents();
    double ours = 0;
    double bare = 0;
    for (auto _ : state) {
        const double t = Timed([&] {
            LoadNames(ed, names);
            ed.viewport()->repaint();
        });
        const double b = Timed([&] {
            baseline.setPlainText(plain);
            baseline.viewport()->repaint();
        });
        ours += t;
        bare += b;
        state.SetIterationTime(t);
    }
    Record(state, "show", ours);
    Record(state, "show_plaintext", bare);
    state.counters["ratio"] = ours / bare;
}
BENCHMARK(BM_ShowNames)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_PaintPage(benchmark::State& state) {
    const int lines = static_cast<int>(state.range(0));
    TextEditor ed;
    SetUp(ed);
    LoadNames(ed, Names(lines));
    ed.SetLeftTop(0, lines / 2);
    QApplication::processEvents();
    double total = 0;
    for (auto _ : state) {
        const double t = Timed([&] { ed.viewport()->repaint(); });
        total += t;
        state.SetIterationTime(t);
    }
    Record(state, "paint_" + std::to_string(lines), total);
}
BENCHMARK(BM_PaintPage)->Arg(1000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_KeystrokeAtEnd(benchmark::State& state) {
    const int lines = static_cast<int>(state.range(0));
    TextEditor ed;
    SetUp(ed);
    LoadNames(ed, Names(lines));
    ed.setFocus();
    QKeyEvent end(QEvent::KeyPress, Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier);
    QApplication::sendEvent(&ed, &end);
    ed.Deselect();
    QApplication::processEvents();
    QKeyEvent x(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    double total = 0;
    int typed = 0;
    for (auto _ : state) {
        const double t = Timed([&] {
            QApplication::sendEvent(&ed, &x);
            ed.viewport()->repaint(ed.viewport()->rect());
        });
        total += t;
        state.SetIterationTime(t);
        if (++typed % 200 == 0) {
            // Keep the row short; the undo of the run is not what is measured.
            state.PauseTiming();
            QKeyEvent home(QEvent::KeyPress, Qt::Key_Home, Qt::ShiftModifier);
            QApplication::sendEvent(&ed, &home);
            QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
            QApplication::sendEvent(&ed, &del);
            ed.UndoList().Clear();
            state.ResumeTiming();
        }
    }
    Record(state, "key_" + std::to_string(lines), total);
}
BENCHMARK(BM_KeystrokeAtEnd)->Arg(100)->Arg(100000)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    const auto ratio = [](const char* a, const char* b) {
        return seconds.count(a) && seconds.count(b) ? seconds[a] / seconds[b] : 0.0;
    };
    std::printf("show 100,000 names / setPlainText: %.3f (target <= 0.2)\n",
                ratio("show", "show_plaintext"));
    std::printf("page paint 100,000 / 1,000 lines: %.3f (target <= 1.5)\n",
                ratio("paint_100000", "paint_1000"));
    std::printf("keystroke at the end of 100,000 / 100 lines: %.3f (target <= 1.5)\n",
                ratio("key_100000", "key_100"));
    return 0;
}
