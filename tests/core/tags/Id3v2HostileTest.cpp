// Hostile tags made to exhaust memory and time: every read stays small, and so does its JSON.
#include "Id3v2TagBuilder.h"
#include "JpegEncode.h"
#include "core/tags/id3v2/Id3v2Json.h"
#include "core/tags/picture/JpegImage.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace velmora::tags;
using namespace velmora::tags::test;
using namespace velmora::test;
using namespace std::string_literals;

namespace {

constexpr long kPeakLimitKiB = 256L * 1024;

// zlib data of data followed by filler up to size bytes, so that a frame holding it is big
// enough for any ratio test between its size and what it inflates to.
Bytes PaddedZlib(const Bytes& data, std::size_t size) {
    Bytes z = Compress(data);
    return z.size() < size ? z + Bytes(size - z.size(), '\0') : z;
}

// A compressed version 2.3 frame: the inflated size, then the zlib data.
Bytes CompressedFrame3(const std::string& id, const Bytes& data, std::size_t frameSize) {
    return Frame3(
        id, BigEndian32(static_cast<std::uint32_t>(data.size())) + PaddedZlib(data, frameSize - 4),
        0x0080);
}

// A compressed version 2.4 frame with its data-length indicator.
Bytes CompressedFrame4(const std::string& id, const Bytes& data, std::size_t frameSize) {
    return Frame4(
        id, Syncsafe32(static_cast<std::uint32_t>(data.size())) + PaddedZlib(data, frameSize - 4),
        0x0009);
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
    std::vector<std::uint8_t> samples(std::size_t{16} * 16 * components, 0x70);
    auto encoded = EncodeJpeg(16, 16, cmyk ? JCS_CMYK : JCS_RGB, components, samples,
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
        {"4 MB of '/' separators uncompressed",
         [] { return Tag(3, Frame3("TPE1", Separators('/'))); },
         [](const Id3v2& t) { EXPECT_GE(t.Texts().Performers.Count(), 1); }},
        {"4 MB of NUL separators in involved people uncompressed",
         [] { return Tag(3, Frame3("IPLS", Separators('\0')) + Text3("TALB", "after")); },
         [](const Id3v2& t) { EXPECT_EQ(t.Texts().Album, "after"); }},
        {"21 compressed pictures inflating to megabytes",
         [] {
             const Bytes inflated =
                 ClaimingJpeg(8192, 8192, false, false, 140000) + Bytes(4 << 20, '\0');
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
         [] {
             return Tag(3, ClaimingPictures([](int) { return 3; }, 20) + Text3("TALB", "after"));
         },
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
        if (kMemoryIsMeasurable) {
            EXPECT_LT(run.peakKiB, kPeakLimitKiB);
        }
        EXPECT_LE(run.value, outputLimit);
        if (!run.exited || run.threw || (kMemoryIsMeasurable && run.peakKiB >= kPeakLimitKiB) ||
            run.value > outputLimit)
            continue;
        Id3v2 tag;
        tag.SetFileName(path);
        EXPECT_TRUE(tag.TagPresent());
        file.check(tag);
    }
}

// The viewer decodes one picture at a time: each within the pixel budget, reduced by libjpeg,
// and pictures whose decoding would need more memory than allowed stay empty.
TEST(Id3v2Hostile, PicturesClaimingHugeSizesDecodeOnDemandWithinTheBudget) {
    RegisterJpegImage();
    const Bytes bytes =
        Tag(3, Frame3("APIC", Apic(3, ClaimingJpeg(8192, 8192, false, false, 140000))) +
                   Frame3("APIC", Apic(4, ClaimingJpeg(8192, 8192, true, true, 140000))) +
                   Frame3("APIC", Apic(5, ClaimingJpeg(8192, 8192, true, false, 140000))));
    Id3v2 tag;
    Read(tag, bytes);
    MeasuredRun run = RunMeasured([&] {
        std::uint64_t shown = 0;
        for (int type : {3, 4, 5, 3}) {
            const velmora::platform::Picture p = tag.Images().Pictures.Get(type).Decode();
            shown = shown * 10000 + static_cast<std::uint64_t>(p.Width);
        }
        return shown;
    });
    ASSERT_TRUE(run.exited);
    EXPECT_FALSE(run.threw);
    if (kMemoryIsMeasurable) {
        EXPECT_LT(run.peakKiB, kPeakLimitKiB);
    }
    // Baseline at a quarter; the progressive ones would need 192 and 512 MB of coefficients.
    EXPECT_EQ(run.value, 2048000000002048u);
    EXPECT_EQ(SizeOf(tag, 4), "8192x8192");
}

TEST(Id3v2Hostile, FramesAreReadWithinTheirCapacities) {
    const Bytes unsynced = [] {
        Bytes text;
        for (int i = 0; i < 40000; ++i)
            text += "\xFF\0"s + "b";
        return text;
    }();
    Id3v2 t = Read3(Text3("TIT2", Bytes(100000, 'a')) + Frame3("WOAR", Bytes(70000, 'u')) +
                    Text3("IPLS", Bytes(70000, 'j')) + Text3("TXXX", "d\0"s + Bytes(70000, 'v')) +
                    Frame3("OWNE", "\0"s + Bytes(70000, 'p')));
    EXPECT_EQ(t.Texts().ContentDescription, Bytes(Id3v2::kTextCapacity, 'a'));
    EXPECT_EQ(t.Web().OfficialArtist, Bytes(Id3v2::kUrlCapacity, 'u'));
    ASSERT_EQ(t.InvolvedPeople().ItemCount(), 1);
    EXPECT_EQ(t.InvolvedPeople().Job(), Bytes(Id3v2::kTextCapacity, 'j'));
    EXPECT_EQ(t.UserDefinedText().Value(), Bytes(Id3v2::kTextCapacity - 2, 'v'));
    EXPECT_EQ(t.Owner().Price.size(), Id3v2::kUrlCapacity - 1);
    EXPECT_EQ(t.Frames()[0].DataLen, 100001u);

    // Version 2.4 frame unsynchronisation is undone as far as the capacity reaches.
    Read(t, Tag(4, Frame4("TIT2", Latin1Text(unsynced), 0x0002) + Text4("TALB", "after")));
    Bytes expected;
    for (int i = 0; i < 32000; ++i)
        expected += "\xC3\xBF"
                    "b";
    EXPECT_EQ(t.Texts().ContentDescription, expected);
    EXPECT_EQ(t.Texts().Album, "after");
}

TEST(Id3v2Hostile, AtMost32MiBOfATagAreRead) {
    const Bytes picture(Id3v2::kMaxTagBytes, '\x01');
    Id3v2 t =
        Read3(Text3("TIT2", "before") + Frame3("APIC", Apic(3, picture)) + Text3("TALB", "after"));
    EXPECT_EQ(t.Texts().ContentDescription, "before");
    EXPECT_EQ(t.Texts().Album, "");
    ASSERT_EQ(t.Frames().size(), 2u);
    EXPECT_EQ(t.Frames()[1].Kind, Id3FrameKind::Unknown);
}

// A tag bigger than the memory left is read as far as memory allows, without raising.
TEST(Id3v2Hostile, RunningOutOfMemoryEndsTheReadQuietly) {
    velmora::test::TempDir dir;
    dir.Write("big.mp3",
              Tag(3, Text3("TIT2", "Title") + Frame3("APIC", Apic(3, Bytes(40 << 20, 'x')))));
    MeasuredRun run = RunMeasured(
        [&] {
            Id3v2 tag;
            tag.SetFileName(dir / "big.mp3");
            return std::uint64_t{tag.TagPresent()};
        },
        16);
    ASSERT_TRUE(run.exited);
    EXPECT_FALSE(run.threw);
    EXPECT_EQ(run.value, 1u);
}
