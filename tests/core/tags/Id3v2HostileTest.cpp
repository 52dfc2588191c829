// Hostile tags made to exhaust memory and time: every read stays small, and so does its JSON.
#include "ChildProcess.h"
#include "Id3v2TagBuilder.h"
#include "JpegEncode.h"
#include "core/tags/Id3v2Json.h"
#include "core/tags/JpegImage.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace velmora::tags;
using namespace velmora::tags::test;
using namespace std::string_literals;

namespace {

constexpr long kPeakLimitKiB = 256 * 1024;

// A version 2.3 compressed frame whose zlib data is followed by filler, so that the frame is big
// enough for any ratio test between its size and what it inflates to.
Bytes CompressedFrame3(const std::string& id, const Bytes& data, std::size_t frameSize) {
    Bytes z = Compress(data);
    if (z.size() + 4 < frameSize) z += Bytes(frameSize - 4 - z.size(), '\0');
    return Frame3(id, BigEndian32(static_cast<std::uint32_t>(data.size())) + z, 0x0080);
}

// The same for version 2.4: compressed with a data-length indicator.
Bytes CompressedFrame4(const std::string& id, const Bytes& data, std::size_t frameSize) {
    Bytes z = Compress(data);
    if (z.size() + 4 < frameSize) z += Bytes(frameSize - 4 - z.size(), '\0');
    return Frame4(id, Syncsafe32(static_cast<std::uint32_t>(data.size())) + z, 0x0009);
}

Bytes Repeat(const Bytes& frame, int times) {
    Bytes out;
    out.reserve(frame.size() * static_cast<std::size_t>(times));
    for (int i = 0; i < times; ++i)
        out += frame;
    return out;
}

std::size_t FindMarker(const Bytes& jpeg, unsigned char marker) {
    for (std::size_t i = 2; i + 1 < jpeg.size(); ++i)
        if (static_cast<unsigned char>(jpeg[i]) == 0xFF &&
            static_cast<unsigned char>(jpeg[i + 1]) == marker)
            return i;
    return Bytes::npos;
}

// A small real JPEG whose frame header claims width x height, padded with comment segments to
// at least padTo bytes so that a decoder judging pictures by their size believes the claim.
Bytes ClaimingJpeg(int width, int height, bool progressive, bool cmyk, std::size_t padTo) {
    const int components = cmyk ? 4 : 3;
    std::vector<std::uint8_t> samples(16 * 16 * static_cast<std::size_t>(components), 0x70);
    auto encoded =
        EncodeJpeg(16, 16, cmyk ? JCS_CMYK : JCS_RGB, components, samples,
                   [&](jpeg_compress_struct& c) {
                       if (progressive) jpeg_simple_progression(&c);
                   });
    Bytes jpeg(encoded.begin(), encoded.end());
    std::size_t sof = FindMarker(jpeg, progressive ? 0xC2 : 0xC0);
    if (sof == Bytes::npos) return {};
    jpeg[sof + 5] = static_cast<char>(height >> 8);
    jpeg[sof + 6] = static_cast<char>(height);
    jpeg[sof + 7] = static_cast<char>(width >> 8);
    jpeg[sof + 8] = static_cast<char>(width);
    Bytes comments;
    while (jpeg.size() + comments.size() < padTo)
        comments += "\xFF\xFE\xFF\xF0"s + Bytes(0xFFF0 - 2, 'c');
    return jpeg.substr(0, 2) + comments + jpeg.substr(2);
}

Bytes Apic(std::uint8_t type, const Bytes& picture) {
    return "\0image/jpeg\0"s + static_cast<char>(type) + "cover\0"s + picture;
}

std::uint64_t JsonSize(const Id3v2& tag) {
    JsonWriter w;
    Id3v2Json::Write(w, tag);
    return w.Text().size();
}

struct HostileFile {
    const char* name;
    std::function<Bytes()> build;            // built only when its turn comes
    std::function<void(const Id3v2&)> check; // what a bounded read still shows
};

// Millions of empty items: 4 MiB of separators with an "x" every 1000 bytes, so that no reader
// may drop them as trailing padding.
Bytes Separators(char separator) {
    Bytes text(4 << 20, separator);
    for (std::size_t i = 999; i < text.size(); i += 1000)
        text[i] = 'x';
    return Latin1Text(text);
}

// 21 pictures claiming 8192x8192 of the given types; the picture at `cmykAt` is progressive CMYK.
Bytes ClaimingPictures(const std::function<std::uint8_t(int)>& typeOf, int cmykAt = -1) {
    const Bytes big = ClaimingJpeg(8192, 8192, false, false, 140000);
    const Bytes cmyk = ClaimingJpeg(8192, 8192, true, true, 140000);
    Bytes frames;
    for (int i = 0; i < 21; ++i)
        frames += Frame3("APIC", Apic(typeOf(i), i == cmykAt ? cmyk : big));
    return frames;
}

std::string SizeOf(const Id3v2& t, int type) {
    const IdPicture& p = t.Images().Pictures.Get(type);
    return std::to_string(p.Width()) + "x" + std::to_string(p.Height());
}

const std::vector<HostileFile>& HostileFiles() {
    static const std::vector<HostileFile> files{
        {"compressed '/' separators in a list frame",
         [] { return Tag(3, Repeat(CompressedFrame3("TPE1", Separators('/'), 66000), 16)); },
         [](const Id3v2& t) {
             ASSERT_GE(t.Texts().Performers.Count(), 1);
             EXPECT_EQ(t.Texts().Performers[0], "");
         }},
        {"compressed NUL separators in version 2.4 text values",
         [] {
             return Tag(4, Repeat(CompressedFrame4("TIT2", Separators('\0'), 66000), 16) +
                               Text4("TALB", "after"));
         },
         [](const Id3v2& t) { EXPECT_EQ(t.Texts().Album, "after"); }},
        {"compressed NUL separators in involved people",
         [] {
             return Tag(3, Repeat(CompressedFrame3("IPLS", Separators('\0'), 66000), 16) +
                               Text3("TALB", "after"));
         },
         [](const Id3v2& t) {
             EXPECT_GE(t.InvolvedPeople().ItemCount(), 1);
             EXPECT_EQ(t.Texts().Album, "after");
         }},
        {"4 MB of '/' separators uncompressed", [] { return Tag(3, Frame3("TPE1", Separators('/'))); },
         [](const Id3v2& t) { EXPECT_GE(t.Texts().Performers.Count(), 1); }},
        {"4 MB of NUL separators in involved people uncompressed",
         [] { return Tag(3, Frame3("IPLS", Separators('\0')) + Text3("TALB", "after")); },
         [](const Id3v2& t) { EXPECT_EQ(t.Texts().Album, "after"); }},
        {"21 compressed pictures inflating to megabytes",
         [] {
             const Bytes inflated = ClaimingJpeg(8192, 8192, false, false, 140000) + Bytes(4 << 20, '\0');
             Bytes frames;
             for (int type = 0; type < 21; ++type)
                 frames += CompressedFrame3("APIC", Apic(static_cast<std::uint8_t>(type), inflated),
                                            70000);
             return Tag(3, frames);
         },
         [](const Id3v2& t) { EXPECT_EQ(t.Frames().size(), 21u); }},
        {"21 pictures claiming 8192x8192, one of them progressive CMYK",
         [] {
             return Tag(3, ClaimingPictures([](int i) { return static_cast<std::uint8_t>(i); }, 7) +
                               Text3("TALB", "after"));
         },
         [](const Id3v2& t) {
             for (int type = 0; type < 21; ++type)
                 EXPECT_EQ(SizeOf(t, type), "8192x8192") << type;
             EXPECT_EQ(t.Texts().Album, "after");
         }},
        {"21 pictures of one kind claiming 8192x8192, the last progressive CMYK",
         [] { return Tag(3, ClaimingPictures([](int) { return 3; }, 20) + Text3("TALB", "after")); },
         [](const Id3v2& t) {
             EXPECT_EQ(SizeOf(t, 3), "8192x8192");
             EXPECT_EQ(t.Texts().Album, "after");
         }},
    };
    return files;
}

} // namespace

// Each file is read in a child limited to 1 GiB more address space: the read must not raise,
// must peak below 256 MB, and its JSON must stay within a few times the file's size.
TEST(Id3v2Hostile, HostileFilesAreReadWithinMemoryAndOutputBounds) {
    RegisterJpegImage();
    velmora::test::TempDir dir;
    for (const HostileFile& file : HostileFiles()) {
        SCOPED_TRACE(file.name);
        const std::string path = dir / "hostile.mp3";
        std::size_t fileSize = 0;
        {
            const Bytes bytes = file.build();
            fileSize = bytes.size();
            dir.Write("hostile.mp3", bytes);
        }
        MeasuredRun run = RunMeasured([&] {
            Id3v2 tag;
            tag.SetFileName(path);
            return JsonSize(tag);
        });
        const std::uint64_t outputLimit = 4 * fileSize + (1 << 20);
        EXPECT_TRUE(run.exited);
        EXPECT_FALSE(run.threw);
        if (kMemoryIsMeasurable) EXPECT_LT(run.peakKiB, kPeakLimitKiB);
        EXPECT_LE(run.value, outputLimit);
        std::printf("%s: file %zu peak %ld KiB json %llu threw %d\n", file.name, fileSize, run.peakKiB, (unsigned long long)run.value, run.threw);
        if (!run.exited || run.threw || (kMemoryIsMeasurable && run.peakKiB >= kPeakLimitKiB) ||
            run.value > outputLimit)
            continue;
        Id3v2 tag;
        tag.SetFileName(path);
        EXPECT_TRUE(tag.TagPresent());
        file.check(tag);
    }
}
