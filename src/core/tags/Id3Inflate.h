// zlib decompression of compressed ID3v2 frames, with a cap against decompression bombs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace velmora::tags {

class Id3Inflate {
public:
    // The cap: never more than 64 MiB, nor more than 64 times the compressed size.
    static constexpr std::size_t kMaxBytes = std::size_t{64} << 20;
    static constexpr std::size_t kMaxRatio = 64;
    static std::size_t Limit(std::size_t compressedSize);

    // Inflates a complete zlib stream into out. False for a broken or truncated stream and for
    // output beyond Limit(size); out is then unspecified.
    static bool Run(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& out);
};

} // namespace velmora::tags
