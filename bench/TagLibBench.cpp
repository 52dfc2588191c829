// Reading the ID3v2 tags of a generated corpus: Velmora's reader against TagLib, with the ratio.
#include "core/tags/JpegEncode.h" // the tests' libjpeg encoder
#include "core/tags/id3v2/Id3v2.h"

#include <benchmark/benchmark.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <stdexcept>
#include <string>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <vector>

namespace fs = std::filesystem;
using Bytes = std::string;

namespace {

constexpr int kFiles = 2000;
constexpr std::size_t kCoverSize = 60 * 1024;

Bytes Syncsafe(std::uint32_t v) {
    return {static_cast<char>((v >> 21) & 0x7F), static_cast<char>((v >> 14) & 0x7F),
            static_cast<char>((v >> 7) & 0x7F), static_cast<char>(v & 0x7F)};
}

Bytes Frame(const std::string& id, const Bytes& data) {
    auto n = static_cast<std::uint32_t>(data.size());
    return id +
           Bytes{static_cast<char>(n >> 24), static_cast<char>(n >> 16), static_cast<char>(n >> 8),
                 static_cast<char>(n)} +
           Bytes(2, '\0') + data;
}

Bytes Utf16(const std::u16string& s) {
    Bytes b("\x01\xFF\xFE", 3);
    for (char16_t c : s)
        b += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    return b;
}

// A real JPEG of noise, compressed by libjpeg, then padded after its end marker to the size.
Bytes MakeCover() {
    std::mt19937 rng(42);
    Bytes best;
    for (int side = 64; side <= 1024; side += 8) {
        std::vector<std::uint8_t> noise(static_cast<std::size_t>(side) * side * 3);
        for (auto& b : noise)
            b = static_cast<std::uint8_t>(rng() & 0xFF);
        const auto encoded = velmora::tags::test::EncodeJpeg(
            side, side, JCS_RGB, 3, noise,
            [](jpeg_compress_struct& c) { jpeg_set_quality(&c, 85, TRUE); });
        Bytes jpeg(encoded.begin(), encoded.end());
        if (jpeg.size() > kCoverSize) break;
        best = std::move(jpeg);
    }
    best.resize(kCoverSize, '\0');
    return best;
}

struct Corpus {
    fs::path dir;
    std::vector<std::string> files;
    ~Corpus() {
        std::error_code ec;
        if (!dir.empty()) fs::remove_all(dir, ec);
    }
};

Corpus& TheCorpus() {
    static Corpus corpus = [] {
        Corpus c;
        std::string tmpl = (fs::temp_directory_path() / "velmora-bench-XXXXXX").string();
        if (!::mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
        c.dir = tmpl;
        const Bytes cover = MakeCover();
        Bytes audio;
        for (int i = 0; i < 16; ++i)
            audio += Bytes("\xFF\xFB\x90\x64", 4) + Bytes(413, '\x55');
        for (int i = 0; i < kFiles; ++i) {
            std::string n = std::to_string(i);
            Bytes body = Frame("TIT2", Bytes(1, '\0') + "Song title number " + n) +
                         Frame("TPE1", Utf16(u"Artist \u00C5ngstr\u00F6m")) +
                         Frame("TALB", Bytes(1, '\0') + "Album " + std::to_string(i / 12)) +
                         Frame("TRCK", Bytes(1, '\0') + std::to_string(i % 12 + 1) + "/12") +
                         Frame("TYER", Bytes(1, '\0') + "2001") +
                         Frame("TCON", Bytes(1, '\0') + "(17)Rock") +
                         Frame("TCOM", Bytes(1, '\0') + "Composer A/Composer B") +
                         Frame("TENC", Bytes(1, '\0') + "Encoder") +
                         Frame("TXXX", Bytes("\0replaygain_track_gain\0-6.2 dB", 30)) +
                         Frame("WOAR", "http://artist.example/" + n);
            if (i % 4 == 0)
                body += Frame("APIC", Bytes("\0image/jpeg\0\x03"
                                            "Cover\0",
                                            19) +
                                          cover);
            body += Bytes(1024, '\0'); // padding
            Bytes tag = Bytes("ID3\x03\x00\x00", 6) +
                        Syncsafe(static_cast<std::uint32_t>(body.size())) + body;
            fs::path p = c.dir / ("track" + n + ".mp3");
            std::ofstream(p, std::ios::binary) << tag << audio;
            c.files.push_back(p.string());
        }
        return c;
    }();
    return corpus;
}

void BM_VelmoraId3v2(benchmark::State& state) {
    const auto& files = TheCorpus().files;
    velmora::tags::Id3v2 tag;
    tag.SetDecodePictures(false);
    std::size_t chars = 0;
    for (auto _ : state) {
        for (const auto& f : files) {
            tag.SetFileName(f);
            chars += tag.Texts().ContentDescription.size() + tag.Images().Infos.CoverFront().size();
        }
    }
    benchmark::DoNotOptimize(chars);
    state.counters["files/s"] = benchmark::Counter(static_cast<double>(files.size()),
                                                   benchmark::Counter::kIsIterationInvariantRate);
}

void BM_TagLibId3v2(benchmark::State& state) {
    const auto& files = TheCorpus().files;
    std::size_t chars = 0;
    for (auto _ : state) {
        for (const auto& f : files) {
            TagLib::MPEG::File file(f.c_str(), false);
            TagLib::ID3v2::Tag* tag = file.ID3v2Tag();
            if (tag) chars += tag->title().size() + tag->frameList("APIC").size();
        }
    }
    benchmark::DoNotOptimize(chars);
    state.counters["files/s"] = benchmark::Counter(static_cast<double>(files.size()),
                                                   benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK(BM_VelmoraId3v2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TagLibId3v2)->Unit(benchmark::kMillisecond);

// Both readers must see the same tags, or the comparison means nothing.
void CheckSameTags() {
    const auto& files = TheCorpus().files;
    velmora::tags::Id3v2 ours;
    ours.SetDecodePictures(false);
    for (std::size_t i = 0; i < files.size(); i += 97) {
        ours.SetFileName(files[i]);
        TagLib::MPEG::File file(files[i].c_str(), false);
        TagLib::ID3v2::Tag* theirs = file.ID3v2Tag();
        if (!theirs || theirs->title().to8Bit(true) != ours.Texts().ContentDescription ||
            theirs->artist().to8Bit(true) != ours.Texts().Performers.Get(0) ||
            theirs->frameList().size() != ours.Frames().size()) {
            std::fprintf(stderr, "the readers disagree on %s\n", files[i].c_str());
            std::exit(1);
        }
    }
}

// Keeps each benchmark's time per iteration to print their ratio after the run.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& r : runs)
            if (!r.error_occurred) times[r.benchmark_name()] = r.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    CheckSameTags();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto ours = reporter.times.find("BM_VelmoraId3v2");
    auto theirs = reporter.times.find("BM_TagLibId3v2");
    if (ours != reporter.times.end() && theirs != reporter.times.end() && theirs->second > 0)
        std::printf("ratio Velmora/TagLib (ID3v2 tags of %d files, pictures not decoded): %.3f\n",
                    kFiles, ours->second / theirs->second);
    benchmark::Shutdown();
    return 0;
}
