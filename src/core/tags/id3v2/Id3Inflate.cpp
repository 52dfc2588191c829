// Capped zlib inflation.
#include "core/tags/id3v2/Id3Inflate.h"

#include <algorithm>
#include <climits>
#include <zlib.h>

namespace velmora::tags {

bool Id3Inflate::Run(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& out,
                     std::size_t maxOut) {
    out.clear();
    if (size == 0 || size > UINT_MAX || maxOut == 0) return false;
    z_stream zs{};
    if (inflateInit(&zs) != Z_OK) return false;
    zs.next_in = const_cast<Bytef*>(data);
    zs.avail_in = static_cast<uInt>(size);
    // Grow the output as data arrives, so a lying header never makes us allocate up front.
    std::size_t chunk = std::min<std::size_t>(maxOut, std::max<std::size_t>(size * 4, 4096));
    int rc = Z_OK;
    while (rc != Z_STREAM_END && out.size() < maxOut) {
        std::size_t old = out.size();
        std::size_t grow = std::min({chunk, maxOut - old, std::size_t{UINT_MAX}});
        out.resize(old + grow);
        zs.next_out = out.data() + old;
        zs.avail_out = static_cast<uInt>(grow);
        rc = inflate(&zs, Z_NO_FLUSH);
        out.resize(old + (grow - zs.avail_out));
        if (rc != Z_OK && rc != Z_STREAM_END) break;
        // No progress with input left means the stream is truncated.
        if (rc == Z_OK && zs.avail_in == 0 && zs.avail_out != 0) break;
        chunk = std::min<std::size_t>(chunk * 2, std::size_t{4} << 20);
    }
    inflateEnd(&zs);
    return rc == Z_STREAM_END || (rc == Z_OK && out.size() >= maxOut);
}

} // namespace velmora::tags
