// Fuzz target: any bytes decoded as a JPEG picture from memory.
#include "core/tags/JpegImage.h"

#include <cstdint>
#include <cstdlib>

using velmora::tags::EJpegError;
using velmora::tags::JpegImage;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A smaller pixel limit than the program's keeps each run short; the code paths are the same.
    static const JpegImage loader(1 << 20);
    try {
        const auto picture = loader.Load(data, size);
        if (picture.Empty() ||
            picture.Pixels.size() != static_cast<std::size_t>(picture.Width) * picture.Height)
            std::abort();
    } catch (const EJpegError&) {
    }
    return 0;
}
