// zlib decompression of compressed ID3v2 frames, never beyond what the reader can use.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace velmora::tags {

class Id3Inflate {
public:
    // Inflates a zlib stream into out, stopping once out holds maxOut bytes: a frame is only
    // read up to its capacity, and the rest of a bomb is never produced. True when out holds the
    // whole stream or its first maxOut bytes; false for a broken or truncated stream, out then
    // unspecified.
    static bool Run(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& out,
                    std::size_t maxOut);
};

} // namespace velmora::tags
