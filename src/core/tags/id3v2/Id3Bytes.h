// The byte forms an ID3v2 tag stores its numbers and identifiers in.
#pragma once

#include "core/tags/id3v2/Id3TextCodec.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace velmora::tags {

inline std::uint32_t BigEndian32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

// Seven bits a byte, the high bit always clear: the tag header's sizes and version 2.4's.
inline bool IsSyncsafe(const std::uint8_t* p) {
    return ((p[0] | p[1] | p[2] | p[3]) & 0x80) == 0;
}

inline std::uint32_t Syncsafe32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} << 21 | std::uint32_t{p[1]} << 14 | std::uint32_t{p[2]} << 7 | p[3];
}

inline std::string Latin1(const std::uint8_t* p, std::size_t n) {
    return Id3TextCodec(0).Decode(p, n);
}

} // namespace velmora::tags
