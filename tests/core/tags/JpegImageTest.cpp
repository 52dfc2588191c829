// JPEG decoding of pictures compressed here with libjpeg, broken data and the registry entry.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

extern "C" {
#include <jerror.h>
#include <jpeglib.h>
}

#include "core/platform/PictureRegistry.h"
#include "core/tags/JpegImage.h"

using namespace velmora::tags;
using velmora::platform::Picture;
using velmora::platform::PictureRegistry;

namespace {

using Bytes = std::vector<std::uint8_t>;

// Compresses width x height samples of the given colour space into JPEG bytes.
Bytes Encode(int width, int height, J_COLOR_SPACE space, int components, const Bytes& samples,
             const std::function<void(jpeg_compress_struct&)>& tweak = {}) {
    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* buffer = nullptr;
    unsigned long length = 0;
    jpeg_mem_dest(&c, &buffer, &length);
    c.image_width = static_cast<JDIMENSION>(width);
    c.image_height = static_cast<JDIMENSION>(height);
    c.input_components = components;
    c.in_color_space = space;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 100, TRUE);
    if (tweak) tweak(c);
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = const_cast<JSAMPLE*>(&samples[c.next_scanline * width * components]);
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    Bytes out(buffer, buffer + length);
    std::free(buffer);
    jpeg_destroy_compress(&c);
    return out;
}

// Samples where every pixel gets the colour colourAt(x, y) returns.
Bytes Fill(int width, int height, int components,
           const std::function<std::vector<std::uint8_t>(int, int)>& colourAt) {
    Bytes samples;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            auto c = colourAt(x, y);
            samples.insert(samples.end(), c.begin(), c.begin() + components);
        }
    return samples;
}

// Pixel (x, y) is opaque and within tolerance of r, g, b.
testing::AssertionResult PixelNear(const Picture& p, int x, int y, int r, int g, int b,
                                   int tolerance = 6) {
    std::uint32_t v = p.Pixels.at(static_cast<std::size_t>(y) * p.Width + x);
    int pr = (v >> 16) & 0xFF, pg = (v >> 8) & 0xFF, pb = v & 0xFF;
    if ((v >> 24) == 0xFF && std::abs(pr - r) <= tolerance && std::abs(pg - g) <= tolerance &&
        std::abs(pb - b) <= tolerance)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "pixel (" << x << "," << y << ") is " << std::hex << v;
}

// The code of the EJpegError that decoding data raises, checking its message; -1 when none.
int ErrorCode(const Bytes& data, const JpegImage& loader = JpegImage()) {
    try {
        loader.Load(data.data(), data.size());
    } catch (const EJpegError& e) {
        EXPECT_EQ(e.Message(), "JPEG error #" + std::to_string(e.Code()));
        return e.Code();
    }
    return -1;
}

// Grey 40 on the left half, 200 on the right.
Bytes GrayHalves(int width, int height) {
    return Fill(width, height, 1, [width](int x, int) {
        return std::vector<std::uint8_t>{static_cast<std::uint8_t>(x < width / 2 ? 40 : 200)};
    });
}

// Four quadrants: red, green / blue, white.
std::vector<std::uint8_t> Quadrant(int x, int y, int width, int height) {
    if (y < height / 2)
        return x < width / 2 ? std::vector<std::uint8_t>{255, 0, 0}
                             : std::vector<std::uint8_t>{0, 255, 0};
    return x < width / 2 ? std::vector<std::uint8_t>{0, 0, 255}
                         : std::vector<std::uint8_t>{255, 255, 255};
}

} // namespace

TEST(JpegImage, DecodesGrayscale) {
    const Bytes jpeg = Encode(20, 12, JCS_GRAYSCALE, 1, GrayHalves(20, 12));
    const Picture p = JpegImage().Load(jpeg.data(), jpeg.size());
    ASSERT_EQ(p.Width, 20);
    ASSERT_EQ(p.Height, 12);
    ASSERT_EQ(p.Pixels.size(), 240u);
    EXPECT_TRUE(PixelNear(p, 2, 5, 40, 40, 40));
    EXPECT_TRUE(PixelNear(p, 17, 11, 200, 200, 200));
}

TEST(JpegImage, DecodesRgbBaselineAndProgressive) {
    const int w = 48, h = 32;
    const Bytes samples = Fill(w, h, 3, [](int x, int y) { return Quadrant(x, y, w, h); });
    for (bool progressive : {false, true}) {
        SCOPED_TRACE(progressive);
        const Bytes jpeg = Encode(w, h, JCS_RGB, 3, samples, [&](jpeg_compress_struct& c) {
            if (progressive) jpeg_simple_progression(&c);
        });
        const Picture p = JpegImage().Load(jpeg.data(), jpeg.size());
        ASSERT_EQ(p.Width, w);
        ASSERT_EQ(p.Height, h);
        EXPECT_TRUE(PixelNear(p, 6, 6, 255, 0, 0, 12));
        EXPECT_TRUE(PixelNear(p, 40, 6, 0, 255, 0, 12));
        EXPECT_TRUE(PixelNear(p, 6, 26, 0, 0, 255, 12));
        EXPECT_TRUE(PixelNear(p, 40, 26, 255, 255, 255, 12));
    }
}

TEST(JpegImage, DecodesAdobeCmyk) {
    // Inverted CMYK as Adobe writes it: red is C=255 M=0 Y=0 K=255 in stored form.
    const Bytes samples = Fill(16, 16, 4, [](int x, int) {
        return x < 8 ? std::vector<std::uint8_t>{255, 0, 0, 255}
                     : std::vector<std::uint8_t>{255, 255, 255, 128};
    });
    const Bytes jpeg = Encode(16, 16, JCS_CMYK, 4, samples);
    const Picture p = JpegImage().Load(jpeg.data(), jpeg.size());
    ASSERT_EQ(p.Width, 16);
    EXPECT_TRUE(PixelNear(p, 2, 8, 255, 0, 0, 8));
    EXPECT_TRUE(PixelNear(p, 13, 8, 128, 128, 128, 8));

    // Without the Adobe marker CMYK is taken as stored: 255 is full ink.
    const Bytes plain = Fill(16, 16, 4, [](int, int) {
        return std::vector<std::uint8_t>{0, 255, 255, 0};
    });
    const Bytes unmarked = Encode(16, 16, JCS_CMYK, 4, plain,
                                  [](jpeg_compress_struct& c) { c.write_Adobe_marker = FALSE; });
    const Picture q = JpegImage().Load(unmarked.data(), unmarked.size());
    EXPECT_TRUE(PixelNear(q, 8, 8, 255, 0, 0, 8));
}

TEST(JpegImage, BrokenDataRaisesJpegError) {
    EXPECT_EQ(ErrorCode({}), JERR_INPUT_EMPTY);
    const std::string text = "not a picture at all";
    EXPECT_EQ(ErrorCode(Bytes(text.begin(), text.end())), JERR_NO_SOI);

    // A frame header claiming zero columns.
    Bytes jpeg = Encode(20, 12, JCS_GRAYSCALE, 1, GrayHalves(20, 12));
    std::size_t sof = 2;
    while (sof + 8 < jpeg.size() && !(jpeg[sof] == 0xFF && jpeg[sof + 1] == 0xC0))
        ++sof;
    ASSERT_LT(sof + 8, jpeg.size());
    jpeg[sof + 7] = 0;
    jpeg[sof + 8] = 0;
    EXPECT_EQ(ErrorCode(jpeg), JERR_EMPTY_IMAGE);

    // Only the start-of-image marker and then noise.
    Bytes noise = {0xFF, 0xD8};
    for (int i = 0; i < 200; ++i)
        noise.push_back(static_cast<std::uint8_t>(i * 37 + 11));
    EXPECT_GT(ErrorCode(noise), 0);
}

TEST(JpegImage, DataEndingEarlyKeepsTheDecodedRows) {
    const Bytes jpeg = Encode(64, 64, JCS_GRAYSCALE, 1, GrayHalves(64, 64));
    std::size_t sos = 2;
    while (sos + 1 < jpeg.size() && !(jpeg[sos] == 0xFF && jpeg[sos + 1] == 0xDA))
        ++sos;
    ASSERT_LT(sos + 20, jpeg.size());
    const Bytes cut(jpeg.begin(), jpeg.begin() + static_cast<long>((sos + jpeg.size()) / 2));
    const Picture p = JpegImage().Load(cut.data(), cut.size());
    ASSERT_EQ(p.Width, 64);
    ASSERT_EQ(p.Height, 64);
    EXPECT_TRUE(PixelNear(p, 3, 1, 40, 40, 40));
    EXPECT_TRUE(PixelNear(p, 60, 1, 200, 200, 200));
}

TEST(JpegImage, RefusesPicturesBeyondTheLimits) {
    const Bytes jpeg = Encode(20, 12, JCS_GRAYSCALE, 1, GrayHalves(20, 12));
    EXPECT_EQ(ErrorCode(jpeg, JpegImage(239)), JERR_IMAGE_TOO_BIG);
    EXPECT_EQ(ErrorCode(jpeg, JpegImage(240)), -1);

    // A few hundred bytes whose frame header claims 4000 x 4000 pixels: refused before a
    // 64 MB picture is allocated and filled from data that is not there.
    Bytes claimed = jpeg;
    std::size_t sof = 2;
    while (sof + 8 < claimed.size() && !(claimed[sof] == 0xFF && claimed[sof + 1] == 0xC0))
        ++sof;
    ASSERT_LT(sof + 8, claimed.size());
    for (std::size_t i : {sof + 5, sof + 7}) {
        claimed[i] = 4000 >> 8;
        claimed[i + 1] = 4000 & 0xFF;
    }
    EXPECT_EQ(ErrorCode(claimed), JERR_IMAGE_TOO_BIG);
    // A plain one-colour picture, about as small as real data gets, still decodes.
    const Bytes flat = Encode(1024, 1024, JCS_GRAYSCALE, 1, Bytes(1024 * 1024, 90));
    EXPECT_EQ(ErrorCode(flat), -1);

    // A valid progressive script of 505 scans: each AC coefficient in eight approximation steps.
    std::vector<jpeg_scan_info> script;
    script.push_back({1, {0}, 0, 0, 0, 0});
    for (int k = 1; k < 64; ++k) {
        script.push_back({1, {0}, k, k, 0, 7});
        for (int a = 7; a > 0; --a)
            script.push_back({1, {0}, k, k, a, a - 1});
    }
    ASSERT_GT(script.size(), static_cast<std::size_t>(JpegImage::MaxScans));
    const Bytes many =
        Encode(8, 8, JCS_GRAYSCALE, 1, GrayHalves(8, 8), [&](jpeg_compress_struct& c) {
            c.scan_info = script.data();
            c.num_scans = static_cast<int>(script.size());
        });
    EXPECT_EQ(ErrorCode(many), JERR_IMAGE_TOO_BIG);
    script.resize(JpegImage::MaxScans - 7 * 8);
    const Bytes fewer =
        Encode(8, 8, JCS_GRAYSCALE, 1, GrayHalves(8, 8), [&](jpeg_compress_struct& c) {
            c.scan_info = script.data();
            c.num_scans = static_cast<int>(script.size());
        });
    EXPECT_EQ(ErrorCode(fewer), -1);
}

TEST(JpegImage, RegisteredForJpgAndJpeg) {
    RegisterJpegImage();
    auto& registry = PictureRegistry::Instance();
    const auto* loader = registry.Find("jpg");
    ASSERT_NE(loader, nullptr);
    EXPECT_EQ(registry.Find("JPEG"), loader);
    EXPECT_EQ(registry.Description("jpeg"), "JPEG Image File");
    RegisterJpegImage();
    EXPECT_EQ(registry.Find("jpg"), loader);

    const Bytes jpeg = Encode(20, 12, JCS_GRAYSCALE, 1, GrayHalves(20, 12));
    EXPECT_EQ(registry.Load("jpeg", jpeg.data(), jpeg.size()).Width, 20);
    EXPECT_THROW(registry.Load("jpg", jpeg.data(), 10), EJpegError);
}
