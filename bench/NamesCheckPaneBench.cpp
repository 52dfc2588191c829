// A keystroke in the names pane of a window listing 100,000 files, with the names check on
// against the same window with it off, both in one run: key, model, check and repaint.
#include "BaselineRatio.h"
#include "ui/editor/TextEditor.h"
#include "ui/workspace/MainWindow.h"
#include "ui/workspace/NamesCheckView.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

std::string g_dir;

double Since(Clock::time_point t) {
    return std::chrono::duration<double>(Clock::now() - t).count();
}

double Median(std::vector<double> v) {
    std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2), v.end());
    return v[v.size() / 2];
}

// One keystroke as the window handles it, painting included.
double Key(velmora::ui::MainWindow& w, QKeyEvent& key) {
    const auto t = Clock::now();
    QApplication::sendEvent(w.MemoNew, &key);
    QApplication::processEvents();
    return Since(t);
}

// range(0) 1: the line is renamed already, so its mark and the summary stay as they are; 0: each
// keystroke turns the line from untouched to renamed and back, the mark's and summary's worst.
void BM_KeystrokeWithCheck(benchmark::State& state) {
    velmora::ui::MainWindow checked({g_dir + "/*.mp3", "-x"});
    velmora::ui::MainWindow bare({g_dir + "/*.mp3", "-x"});
    bare.NamesCheck1->CheckNames1->setChecked(false);
    for (auto* w : {&checked, &bare}) {
        w->show();
        w->MemoNew->setFocus();
        w->MemoNew->MoveCaret(20, w->MemoNew->Lines().Count() / 2);
    }
    if (state.range(0) == 1) {
        QKeyEvent y(QEvent::KeyPress, Qt::Key_Y, Qt::NoModifier, QStringLiteral("y"));
        Key(checked, y);
        Key(bare, y);
    }
    QApplication::processEvents();
    QKeyEvent type(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QKeyEvent erase(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
    // Glyphs, layouts and caches are made on the first keystrokes; they are not measured.
    for (int i = 0; i < 100; ++i)
        for (auto* w : {&checked, &bare})
            Key(*w, i % 2 ? erase : type);
    velmora::bench::BaselineRatio ratio;
    std::vector<double> oursTimes, bareTimes;
    int n = 0;
    for (auto _ : state) {
        QKeyEvent& key = n++ % 2 ? erase : type;
        // Either window first in turn, so that neither gains from what the other warmed.
        double b = 0, ours = 0;
        if (n % 4 < 2) {
            b = Key(bare, key);
            ours = Key(checked, key);
        } else {
            ours = Key(checked, key);
            b = Key(bare, key);
        }
        ratio.Add(ours, b);
        oursTimes.push_back(ours);
        bareTimes.push_back(b);
    }
    state.counters["lines"] = checked.MemoNew->Lines().Count();
    ratio.Report(state);
    // A keystroke takes tens of microseconds, a time slice given to another process ten
    // milliseconds: the medians say more than the sums on a busy machine.
    state.counters["ratio_median"] = Median(oursTimes) / Median(bareTimes);
}
BENCHMARK(BM_KeystrokeWithCheck)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond)->Iterations(2000);

} // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QTemporaryDir config, files;
    setenv("XDG_CONFIG_HOME", config.path().toUtf8().constData(), 1);
    g_dir = files.path().toStdString();
    char name[96];
    for (int i = 0; i < 100000; ++i) {
        std::snprintf(name, sizeof name, "/Artist %c - Track title %06d.mp3", 'A' + i % 26, i);
        ::close(::open((g_dir + name).c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644));
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
