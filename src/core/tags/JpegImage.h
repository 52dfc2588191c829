// JPEG pictures decoded from memory with libjpeg, and their entry in the picture registry.
#pragma once

#include "core/platform/Error.h"
#include "core/platform/PictureRegistry.h"

#include <cstddef>
#include <cstdint>

namespace velmora::tags {

// A picture libjpeg refused: "JPEG error #<libjpeg message code>".
class EJpegError : public platform::Exception {
public:
    explicit EJpegError(int code);
    int Code() const { return code_; }

private:
    int code_;
};

// Decodes baseline and progressive JPEG (grayscale, YCbCr/RGB, CMYK/YCCK) into 0xFFRRGGBB
// pixels. Data that ends early gives the part decoded so far, the rest filled as libjpeg fills
// it. Pictures beyond the limits below are refused with libjpeg's "image too big" code, so a
// few hostile bytes cannot claim gigabytes or minutes.
class JpegImage : public platform::PictureLoader {
public:
    static constexpr std::int64_t DefaultMaxPixels = std::int64_t{8192} * 8192;
    // Huffman coding spends at least one bit on each 8x8 block of the first scan, so a picture
    // with more pixels per byte than this is made up or mostly missing (or an extreme case of
    // arithmetic coding): decoding it would only allocate and fill a huge blank picture.
    static constexpr std::int64_t MaxPixelsPerByte = 512;
    // Ordinary progressive files have about ten scans; repeated scans only cost time.
    static constexpr int MaxScans = 500;

    explicit JpegImage(std::int64_t maxPixels = DefaultMaxPixels) : maxPixels_(maxPixels) {}

    // Throws EJpegError for data libjpeg cannot decode.
    platform::Picture Load(const std::uint8_t* data, std::size_t size) const override;

private:
    std::int64_t maxPixels_;
};

// Registers JpegImage for "jpg" and "jpeg" as "JPEG Image File"; later calls do nothing.
void RegisterJpegImage();

} // namespace velmora::tags
