// JPEG decoding of pictures compressed here with libjpeg, broken data and the registry entry.
#include "core/tags/picture/JpegImage.h"

#include "JpegEncode.h"
#include "core/platform/PictureRegistry.h"

#include <gtest/gtest.h>
#include <string>

extern "C" {
#include <jerror.h>
}

using namespace velmora::tags;
using velmora::platform::Picture;
using velmora::platform::PictureRegistry;

namespace {

using Bytes = std::vector<std::uint8_t>;
using velmora::tags::test::EncodeJpeg;

// The offset of the first FF marker pair in jpeg; fails the test when there is none.
std::size_t Marker(const Bytes& jpeg, std::uint8_t marker) {
    std::size_t at = 2;
    while (at + 8 < jpeg.size() && !(jpeg[at] == 0xFF && jpeg[at + 1] == marker))
        ++at;
    EXPECT_LT(at + 8, jpeg.size());
    return at;
}

// Samples where pixel (x, y) gets the components colourAt(x, y) returns.
Bytes Fill(int width, int height, const std::function<Bytes(int, int)>& colourAt) {
    Bytes samples;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const Bytes c = colourAt(x, y);
            samples.insert(samples.end(), c.begin(), c.end());
        }
    return samples;
}

// A grey JPEG: 40 on the left half, 200 on the right.
Bytes GrayJpeg(int width, int height,
               const std::function<void(jpeg_compress_struct&)>& tweak = {}) {
    return EncodeJpeg(width, height, JCS_GRAYSCALE, 1,
                      Fill(width, height,
                           [width](int x, int) {
                               return Bytes{static_cast<std::uint8_t>(x < width / 2 ? 40 : 200)};
                           }),
                      tweak);
}

Picture Decode(const Bytes& jpeg, std::int64_t maxPixels = JpegImage::kDefaultMaxPixels) {
    return JpegImage().Load(jpeg.data(), jpeg.size(), maxPixels);
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
int ErrorCode(const Bytes& data, std::int64_t maxPixels = JpegImage::kDefaultMaxPixels) {
    try {
        JpegImage().Load(data.data(), data.size(), maxPixels);
    } catch (const EJpegError& e) {
        EXPECT_EQ(e.Message(), "JPEG error #" + std::to_string(e.Code()));
        return e.Code();
    }
    return -1;
}

} // namespace

TEST(JpegImage, DecodesGrayscaleRgbBaselineAndProgressiveAndCmyk) {
    Picture p = Decode(GrayJpeg(20, 12));
    ASSERT_EQ(p.Width, 20);
    ASSERT_EQ(p.Height, 12);
    ASSERT_EQ(p.Pixels.size(), 240u);
    EXPECT_TRUE(PixelNear(p, 2, 5, 40, 40, 40));
    EXPECT_TRUE(PixelNear(p, 17, 11, 200, 200, 200));

    // Four quadrants: red, green / blue, white.
    const Bytes quadrants = Fill(48, 32, [](int x, int y) {
        return y < 16 ? (x < 24 ? Bytes{255, 0, 0} : Bytes{0, 255, 0})
                      : (x < 24 ? Bytes{0, 0, 255} : Bytes{255, 255, 255});
    });
    for (bool progressive : {false, true}) {
        SCOPED_TRACE(progressive);
        p = Decode(EncodeJpeg(48, 32, JCS_RGB, 3, quadrants, [&](jpeg_compress_struct& c) {
            if (progressive) jpeg_simple_progression(&c);
        }));
        ASSERT_EQ(p.Width, 48);
        ASSERT_EQ(p.Height, 32);
        EXPECT_TRUE(PixelNear(p, 6, 6, 255, 0, 0, 12));
        EXPECT_TRUE(PixelNear(p, 40, 6, 0, 255, 0, 12));
        EXPECT_TRUE(PixelNear(p, 6, 26, 0, 0, 255, 12));
        EXPECT_TRUE(PixelNear(p, 40, 26, 255, 255, 255, 12));
    }

    // Inverted CMYK as Adobe writes it: red is C=255 M=0 Y=0 K=255 in stored form.
    p = Decode(EncodeJpeg(16, 16, JCS_CMYK, 4, Fill(16, 16, [](int x, int) {
                              return x < 8 ? Bytes{255, 0, 0, 255} : Bytes{255, 255, 255, 128};
                          })));
    ASSERT_EQ(p.Width, 16);
    EXPECT_TRUE(PixelNear(p, 2, 8, 255, 0, 0, 8));
    EXPECT_TRUE(PixelNear(p, 13, 8, 128, 128, 128, 8));
    // Without the Adobe marker CMYK is taken as stored: 255 is full ink.
    p = Decode(EncodeJpeg(16, 16, JCS_CMYK, 4,
                          Fill(16, 16,
                               [](int, int) {
                                   return Bytes{0, 255, 255, 0};
                               }),
                          [](jpeg_compress_struct& c) { c.write_Adobe_marker = FALSE; }));
    EXPECT_TRUE(PixelNear(p, 8, 8, 255, 0, 0, 8));
}

TEST(JpegImage, BrokenDataRaisesJpegError) {
    EXPECT_EQ(ErrorCode({}), JERR_INPUT_EMPTY);
    const std::string text = "not a picture at all";
    EXPECT_EQ(ErrorCode(Bytes(text.begin(), text.end())), JERR_NO_SOI);

    // A frame header claiming zero columns.
    Bytes jpeg = GrayJpeg(20, 12);
    const std::size_t sof = Marker(jpeg, 0xC0);
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
    const Bytes jpeg = GrayJpeg(64, 64);
    const std::size_t sos = Marker(jpeg, 0xDA);
    const Bytes cut(jpeg.begin(), jpeg.begin() + static_cast<long>((sos + jpeg.size()) / 2));
    const Picture p = Decode(cut);
    ASSERT_EQ(p.Width, 64);
    ASSERT_EQ(p.Height, 64);
    EXPECT_TRUE(PixelNear(p, 3, 1, 40, 40, 40));
    EXPECT_TRUE(PixelNear(p, 60, 1, 200, 200, 200));
}

TEST(JpegImage, ReducesPicturesToTheAskedPixelsAndReadsSizesFromTheHeader) {
    const Bytes jpeg = GrayJpeg(64, 40);
    const std::vector<std::pair<std::int64_t, std::string>> cases{
        {2560, "64x40"}, {2559, "32x20"}, {640, "32x20"}, {639, "16x10"}, {40, "8x5"}};
    for (const auto& [maxPixels, size] : cases) {
        const Picture p = Decode(jpeg, maxPixels);
        EXPECT_EQ(std::to_string(p.Width) + "x" + std::to_string(p.Height), size) << maxPixels;
        ASSERT_EQ(p.Pixels.size(), static_cast<std::size_t>(p.Width) * p.Height);
        EXPECT_TRUE(PixelNear(p, 1, 1, 40, 40, 40));
        EXPECT_TRUE(PixelNear(p, p.Width - 2, p.Height - 1, 200, 200, 200));
    }
    // Not even an eighth fits.
    EXPECT_EQ(ErrorCode(jpeg, 39), JERR_IMAGE_TOO_BIG);

    const auto size = JpegImage().ReadSize(jpeg.data(), jpeg.size());
    EXPECT_EQ(size.Width, 64);
    EXPECT_EQ(size.Height, 40);
    EXPECT_THROW(JpegImage().ReadSize(jpeg.data(), 10), EJpegError);
}

TEST(JpegImage, RefusesPicturesBeyondTheLimits) {
    const Bytes jpeg = GrayJpeg(20, 12);

    // A few hundred bytes whose frame header claims 4000 x 4000 pixels: refused before a
    // 64 MB picture is allocated and filled from data that is not there.
    Bytes claimed = jpeg;
    const std::size_t sof = Marker(claimed, 0xC0);
    for (std::size_t i : {sof + 5, sof + 7}) {
        claimed[i] = 4000 >> 8;
        claimed[i + 1] = 4000 & 0xFF;
    }
    EXPECT_EQ(ErrorCode(claimed), JERR_IMAGE_TOO_BIG);
    // A plain one-colour picture, about as small as real data gets, still decodes.
    const Bytes flat = EncodeJpeg(1024, 1024, JCS_GRAYSCALE, 1, Bytes(1024 * 1024, 90));
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
    auto scripted = [&] {
        return GrayJpeg(8, 8, [&](jpeg_compress_struct& c) {
            c.scan_info = script.data();
            c.num_scans = static_cast<int>(script.size());
        });
    };
    EXPECT_EQ(ErrorCode(scripted()), JERR_IMAGE_TOO_BIG);
    script.resize(JpegImage::MaxScans - 7 * 8);
    EXPECT_EQ(ErrorCode(scripted()), -1);
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

    const Bytes jpeg = GrayJpeg(20, 12);
    EXPECT_EQ(registry.Load("jpeg", jpeg.data(), jpeg.size()).Width, 20);
    EXPECT_THROW(registry.Load("jpg", jpeg.data(), 10), EJpegError);
}
