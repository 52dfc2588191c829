// Expanding a folder of 10,000 subfolders in the folder tree against a bare readdir + stat
// loop over the same folder, in one run.
#include "core/dirtree/FolderTree.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <dirent.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double>(b - a).count();
}

// In memory when possible: a disk spends seconds creating and deleting 10,000 folders.
std::string MakeWideFolder(int n) {
    std::filesystem::path base = std::filesystem::is_directory("/dev/shm")
                                     ? std::filesystem::path("/dev/shm")
                                     : std::filesystem::temp_directory_path();
    std::string tmpl = (base / "velmora-bench-tree-XXXXXX").string();
    std::string dir = ::mkdtemp(tmpl.data());
    char name[64];
    for (int i = 0; i < n; ++i) {
        std::snprintf(name, sizeof name, "Artist %05d - Album", n - i);
        ::mkdir((dir + "/" + name).c_str(), 0755);
        if (i % 10 == 0) ::mkdir((dir + "/" + name + "/CD1").c_str(), 0755); // some have children
    }
    return dir;
}

void BM_ExpandWideFolder(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::string dir = MakeWideFolder(n);
    velmora::dirtree::FolderTree tree;
    double ours = 0, bare = 0;
    for (auto _ : state) {
        tree.LoadDrives({{dir + "/", "Wide", velmora::dirtree::VolumeKind::vkHardDisk}});
        velmora::dirtree::FolderNode& volume = *tree.Root()->Child(0);
        auto t0 = Clock::now();
        velmora::dirtree::FolderTree::Load(volume);
        auto t1 = Clock::now();
        int folders = 0;
        DIR* d = ::opendir(dir.c_str());
        while (dirent* e = ::readdir(d)) {
            if (e->d_name[0] == '.') continue;
            struct stat st {};
            if (::fstatat(::dirfd(d), e->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode)) ++folders;
        }
        ::closedir(d);
        auto t2 = Clock::now();
        benchmark::DoNotOptimize(folders);
        ours += Seconds(t0, t1);
        bare += Seconds(t1, t2);
        state.SetIterationTime(Seconds(t0, t1));
        if (volume.ChildCount() != n || folders != n) state.SkipWithError("wrong count");
    }
    state.counters["bare_ms"] = bare * 1000 / static_cast<double>(state.iterations());
    state.counters["ratio"] = ours / bare;
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_ExpandWideFolder)->Arg(10000)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
