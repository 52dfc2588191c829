// Fuzz target: any bytes decoded as a JPEG picture from memory, and their header's size read.
#include "core/tags/picture/JpegImage.h"

#include <cstdint>
#include <cstdlib>

using velmora::tags::EJpegError;
using velmora::tags::JpegImage;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A smaller budget than the program's keeps each run short; the code paths are the same.
    constexpr std::int64_t kMaxPixels = 1 << 18;
    static const JpegImage loader;
    velmora::platform::PictureSize header;
    try {
        header = loader.ReadSize(data, size);
    } catch (const EJpegError&) {
        return 0;
    }
    try {
        const auto picture = loader.Load(data, size, kMaxPixels);
        if (picture.Empty() || std::int64_t{picture.Width} * picture.Height > kMaxPixels ||
            picture.Width > header.Width || picture.Height > header.Height ||
            picture.Pixels.size() != static_cast<std::size_t>(picture.Width) * picture.Height)
            std::abort();
    } catch (const EJpegError&) {
    }
    return 0;
}
