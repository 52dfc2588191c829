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
// it. A picture with more pixels than asked for is decoded at 1/2, 1/4 or 1/8 of its size, which
// libjpeg does while decoding; beyond the limits below it is refused with libjpeg's "image too
// big" code, so a few hostile bytes cannot claim gigabytes or minutes.
class JpegImage : public platform::PictureLoader {
public:
    // Huffman coding spends at least one bit on each 8x8 block of the first scan, so a picture
    // with more pixels per byte than this is made up or mostly missing (or an extreme case of
    // arithmetic coding): decoding it would only allocate and fill a huge blank picture.
    static constexpr std::int64_t MaxPixelsPerByte = 512;
    // Ordinary progressive files have about ten scans; repeated scans only cost time.
    static constexpr int MaxScans = 500;
    // What libjpeg may hold besides the pixels. Progressive and multi-scan pictures keep every
    // coefficient of the full-size picture whatever the output scale (about 128 bytes per 8x8
    // block and component, 36 MB for 12 megapixels); a bigger need is refused, as libjpeg
    // refuses when it would need a backing store.
    static constexpr long MaxDecoderMemory = 64L << 20;

    platform::PictureSize ReadSize(const std::uint8_t* data, std::size_t size) const override;
    // Throws EJpegError for data libjpeg cannot decode.
    platform::Picture Load(const std::uint8_t* data, std::size_t size,
                           std::int64_t maxPixels = kDefaultMaxPixels) const override;
};

// Registers JpegImage for "jpg" and "jpeg" as "JPEG Image File"; later calls do nothing.
void RegisterJpegImage();

} // namespace velmora::tags
