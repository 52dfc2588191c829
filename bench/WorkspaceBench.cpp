// Apply and list loading (in name order) against bare system-call loops on the same files, in
// one run.
#include "BaselineRatio.h"
#include "core/journal/JournalRecorder.h"
#include "core/journal/JournalStore.h"
#include "core/platform/Questions.h"
#include "core/platform/StringList.h"
#include "core/workspace/EditorNamesPane.h"
#include "core/workspace/RenameRun.h"
#include "core/workspace/Workspace.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fnmatch.h>
#include <linux/fs.h>
#include <string>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct NoQuestions : velmora::platform::Questions {
    velmora::platform::ModalResult Ask(velmora::platform::MsgIcon, const std::string&,
                                       unsigned) override {
        return velmora::platform::ModalResult::mrCancel;
    }
};

// Keeps the latest text, as the status bar does between its repaints.
struct LatestStatus : velmora::platform::StatusSink {
    std::string text;
    void SetStatusText(const std::string& t) override { text = t; }
};

std::string MakeDir(const char* tag) {
    std::string tmpl =
        (std::filesystem::temp_directory_path() / (std::string("velmora-bench-") + tag + "-XXXXXX"))
            .string();
    return ::mkdtemp(tmpl.data());
}

void CreateFiles(const std::string& dir, int n, std::vector<std::string>& names) {
    names.clear();
    char buf[64];
    for (int i = 0; i < n; ++i) {
        std::snprintf(buf, sizeof buf, "track %06d.mp3", i);
        names.emplace_back(buf);
        int fd = ::open((dir + "/" + buf).c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        ::close(fd);
    }
}

double Seconds(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double>(b - a).count();
}

void BM_Apply(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    double ours = 0, bare = 0;
    for (auto _ : state) {
        std::string dirA = MakeDir("apply"), dirB = MakeDir("bare");
        std::vector<std::string> names;
        CreateFiles(dirA, n, names);
        CreateFiles(dirB, n, names);
        velmora::platform::StringList left, right;
        for (auto& nm : names) {
            left.Add(nm);
            right.Add("01 - " + nm);
        }
        NoQuestions q;
        LatestStatus status;
        velmora::workspace::RenameRun run(q, status);

        auto t0 = Clock::now();
        run.ApplyRenames(left, right, dirA + "/", false);
        auto t1 = Clock::now();
        for (auto& nm : names) {
            std::string from = dirB + "/" + nm, to = dirB + "/01 - " + nm;
            struct stat st;
            if (::lstat(to.c_str(), &st) == 0) continue;
            ::syscall(SYS_renameat2, AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(),
                      RENAME_NOREPLACE);
        }
        auto t2 = Clock::now();
        ours += Seconds(t0, t1);
        bare += Seconds(t1, t2);
        state.SetIterationTime(Seconds(t0, t1));
        if (run.RenamedCount() != n) state.SkipWithError("not every file was renamed");
        std::filesystem::remove_all(dirA);
        std::filesystem::remove_all(dirB);
    }
    state.counters["bare_ms"] = bare * 1000 / static_cast<double>(state.iterations());
    state.counters["ratio"] = ours / bare;
}
BENCHMARK(BM_Apply)->Arg(10000)->Arg(100000)->UseManualTime()->Iterations(2)->Unit(
    benchmark::kMillisecond);

// Times what the journal adds to a run: its Begin (identities, the plan's one write and the
// syncs) and its End (the marker and its syncs).
class TimedRecorder : public velmora::workspace::RenameRecorder {
public:
    explicit TimedRecorder(velmora::workspace::RenameRecorder& inner) : inner_(inner) {}
    void Begin(const std::string& folder, const std::vector<Planned>& plan) override {
        auto t = Clock::now();
        inner_.Begin(folder, plan);
        seconds += Seconds(t, Clock::now());
    }
    void End(int renamed) noexcept override {
        auto t = Clock::now();
        inner_.End(renamed);
        seconds += Seconds(t, Clock::now());
    }
    double seconds = 0;

private:
    velmora::workspace::RenameRecorder& inner_;
};

// Apply with the undo journal against the same Apply without it, on the same files, in one run:
// the journal's whole cost (identities, one write, the syncs, the end marker).
void BM_ApplyJournal(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    velmora::bench::BaselineRatio ratio;
    int turn = 0;
    double journalSeconds = 0, plainSeconds = 0;
    for (auto _ : state) {
        std::string dirA = MakeDir("journal"), dirB = MakeDir("plain"), stateDir = MakeDir("state");
        std::vector<std::string> names;
        CreateFiles(dirA, n, names);
        CreateFiles(dirB, n, names);
        velmora::platform::StringList left, right;
        for (auto& nm : names) {
            left.Add(nm);
            right.Add("01 - " + nm);
        }
        NoQuestions q;
        LatestStatus status;
        velmora::journal::JournalStore store(stateDir + "/journal");
        velmora::journal::JournalRecorder journal(store, q);
        TimedRecorder recorder(journal);
        velmora::workspace::RenameRun journaled(q, status), plain(q, status);
        journaled.SetRecorder(&recorder);

        // Each run starts with no dirty pages of the other or of the set-up to write back, and
        // the two take turns going first, so that a busy machine weighs on both alike.
        double withJournal = 0, without = 0;
        auto timed = [&](velmora::workspace::RenameRun& run, const std::string& dir) {
            ::sync();
            auto a = Clock::now();
            run.ApplyRenames(left, right, dir + "/", false);
            return Seconds(a, Clock::now());
        };
        if (turn++ % 2 == 0) {
            without = timed(plain, dirB);
            withJournal = timed(journaled, dirA);
        } else {
            withJournal = timed(journaled, dirA);
            without = timed(plain, dirB);
        }
        ratio.Add(withJournal, without);
        journalSeconds += recorder.seconds;
        plainSeconds += without;
        state.SetIterationTime(withJournal);
        if (journaled.RenamedCount() != n || plain.RenamedCount() != n || store.List().size() != 1)
            state.SkipWithError("not every file was renamed or no journal was written");
        std::filesystem::remove_all(dirA);
        std::filesystem::remove_all(dirB);
        std::filesystem::remove_all(stateDir);
    }
    ratio.Report(state);
    // The journal's own time against the plain Apply: steadier than the ratio of two whole runs
    // on a busy machine.
    state.counters["journal_ms"] = journalSeconds * 1000 / static_cast<double>(state.iterations());
    state.counters["journal_share"] = journalSeconds / plainSeconds;
}
BENCHMARK(BM_ApplyJournal)
    ->Arg(100000)
    ->UseManualTime()
    ->Iterations(4)
    ->Unit(benchmark::kMillisecond);

// range(1) = 1: every file matches, so all of them are sorted; 0: a quarter match.
void BM_LoadFileList(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const bool all = state.range(1) != 0;
    const std::string pattern = all ? "*.*" : "*.mp3";
    const int expected = all ? n : n / 4;
    std::string dir = MakeDir("load");
    char buf[64];
    for (int i = 0; i < n; ++i) {
        // A quarter match the pattern.
        std::snprintf(buf, sizeof buf, i % 4 == 0 ? "Song %06d.MP3" : "file %06d.txt", i);
        ::close(::open((dir + "/" + buf).c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644));
    }
    velmora::platform::StringList left;
    velmora::editor::CustomTextEditor names;
    velmora::workspace::EditorNamesPane right(names);
    NoQuestions q;
    LatestStatus status;
    velmora::workspace::Workspace ws(
        left, right, q, status,
        {[&] { return dir; }, [&] { return pattern; }, [] { return true; }, nullptr, nullptr});
    velmora::bench::BaselineRatio ratio;
    for (auto _ : state) {
        auto t0 = Clock::now();
        ws.LoadFileList();
        auto t1 = Clock::now();
        std::vector<std::string> names;
        DIR* d = ::opendir(dir.c_str());
        while (dirent* e = ::readdir(d))
            if (e->d_name[0] != '.' && ::fnmatch(pattern.c_str(), e->d_name, FNM_CASEFOLD) == 0)
                names.emplace_back(e->d_name);
        ::closedir(d);
        std::sort(names.begin(), names.end());
        auto t2 = Clock::now();
        benchmark::DoNotOptimize(names.data());
        ratio.Add(Seconds(t0, t1), Seconds(t1, t2));
        state.SetIterationTime(Seconds(t0, t1));
        if (left.Count() != expected || right.Lines().Count() != expected)
            state.SkipWithError("wrong count");
    }
    ratio.Report(state);
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_LoadFileList)
    ->Args({10000, 0})
    ->Args({100000, 0})
    ->Args({100000, 1})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
