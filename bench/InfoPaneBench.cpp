// Arrowing through a folder of 1,000 files with 500 x 500 JPEG covers while the information pane
// shows: the window's own work for one selection step, showing the details included (the read
// runs on the worker), against a bare list view's selection step; and the cost the step would
// have if the window read the file itself. Ratios are printed after the runs.
#include "core/tags/picture/JpegImage.h"
#include "core/workspace/FileDetails.h"
#include "support/TempDir.h"
#include "ui/tags/QtPictureLoaders.h"
#include "ui/tags/TagFiles.h"
#include "ui/tags/VisualId3v1.h"
#include "ui/tags/VisualId3v2.h"
#include "ui/workspace/InfoPages.h"
#include "ui/workspace/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QListView>
#include <QStringListModel>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <thread>

using namespace velmora;

namespace {

constexpr int kFiles = 1000;

struct Folder {
    test::TempDir dir;
    Folder() {
        std::vector<std::uint8_t> samples(500 * 500 * 3);
        for (std::size_t i = 0; i < samples.size(); ++i)
            samples[i] = static_cast<std::uint8_t>(i * 31 % 251);
        const auto jpeg = tags::test::EncodeJpeg(500, 500, JCS_RGB, 3, samples);
        const test::Bytes tag =
            tags::test::Tag(3, tags::test::Text3("TIT2", "A title") +
                                   test::Apic(3, "Front", test::Bytes(jpeg.begin(), jpeg.end())));
        for (int i = 0; i < kFiles; ++i)
            dir.Write("song" + std::to_string(10000 + i) + ".mp3",
                      tag + test::Audio(4096) + test::Trailer("Song " + std::to_string(i)));
    }
};

Folder& TheFolder() {
    static Folder folder;
    return folder;
}

template <class F> double Timed(F&& f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::map<std::string, double> seconds; // mean seconds per iteration, by name

void Record(benchmark::State& state, const std::string& name, double total) {
    seconds[name] = total / static_cast<double>(state.iterations());
}

// One step down the list, and the events that step leaves behind (delivered details included).
void Step(QListView& list, int& row, int rows) {
    row = (row + 1) % rows;
    list.setCurrentIndex(list.model()->index(row, 0));
    QApplication::processEvents();
}

void BM_SelectionStep(benchmark::State& state) {
    Folder& folder = TheFolder();
    ui::MainWindow window({folder.dir.Path() + "/*.mp3"});
    window.FileInfo1->trigger();
    window.PageControlInfo->setCurrentIndex(2); // the viewer with its cover
    window.show();
    QStringList names;
    for (int i = 0; i < kFiles; ++i)
        names << QString::fromStdString(window.Work().Left().Get(i));
    QStringListModel bareModel(names);
    QListView bare;
    bare.setModel(&bareModel);
    bare.resize(window.ListBoxOrg->size());
    bare.show();
    QApplication::processEvents();

    int ourRow = 0;
    int bareRow = 0;
    double ours = 0;
    double baseline = 0;
    for (auto _ : state) {
        double t = Timed([&] { Step(*window.ListBoxOrg, ourRow, kFiles); });
        // Showing the details when they arrive is the window's work too; waiting for the
        // worker's read is not.
        while (window.PageControlInfo->Loading()) {
            std::this_thread::sleep_for(std::chrono::microseconds(50));
            t += Timed([] { QApplication::processEvents(); });
        }
        baseline += Timed([&] { Step(bare, bareRow, kFiles); });
        ours += t;
        state.SetIterationTime(t);
    }
    Record(state, "step", ours);
    Record(state, "step_bare", baseline);
    state.counters["ratio"] = ours / baseline;
}
BENCHMARK(BM_SelectionStep)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(2000);

// What one step would cost if the window read and showed the details itself.
void BM_ReadOnWindowThread(benchmark::State& state) {
    Folder& folder = TheFolder();
    ui::VisualId3v1 v1;
    ui::VisualId3v2 v2;
    v2.show();
    int i = 0;
    double total = 0;
    for (auto _ : state) {
        const std::string path =
            folder.dir / ("song" + std::to_string(10000 + i++ % kFiles) + ".mp3");
        const double t = Timed([&] {
            workspace::FileDetails d = workspace::FileDetails::Read(path);
            v1.ShowRead(d.Path, d.Id3v1);
            v2.ShowTag(d.Id3v2);
            QApplication::processEvents();
        });
        total += t;
        state.SetIterationTime(t);
    }
    Record(state, "read_on_window", total);
}
BENCHMARK(BM_ReadOnWindowThread)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(300);

} // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    tags::RegisterJpegImage();
    ui::RegisterQtPictureLoaders();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    const auto ratio = [](const char* a, const char* b) {
        return seconds.count(a) && seconds.count(b) ? seconds[a] / seconds[b] : 0.0;
    };
    std::printf("selection step with the information pane / bare list view: %.2f\n",
                ratio("step", "step_bare"));
    std::printf("reading on the window's thread / bare list view step: %.2f\n",
                ratio("read_on_window", "step_bare"));
    return 0;
}
