// The unsynchronisation decoder.
#include "core/tags/id3v2/Id3Unsync.h"

#include <algorithm>

namespace velmora::tags {

void Id3Unsync::Feed(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& out) {
    for (std::size_t i = 0; i < size; ++i) {
        std::uint8_t b = data[i];
        if (heldFF_) {
            heldFF_ = false;
            out.push_back(0xFF);
            if (b == 0x00) continue;
        }
        if (b == 0xFF)
            heldFF_ = true;
        else
            out.push_back(b);
    }
}

void Id3Unsync::Finish(std::vector<std::uint8_t>& out) {
    if (heldFF_) out.push_back(0xFF);
    heldFF_ = false;
}

std::vector<std::uint8_t> Id3Unsync::Undo(const std::uint8_t* data, std::size_t size,
                                          std::size_t maxOut) {
    std::vector<std::uint8_t> out;
    // Every output byte takes at most two input bytes.
    const std::size_t take = maxOut >= size / 2 ? size : maxOut * 2;
    out.reserve(std::min(take, maxOut));
    Id3Unsync u;
    u.Feed(data, take, out);
    u.Finish(out);
    if (out.size() > maxOut) out.resize(maxOut);
    return out;
}

} // namespace velmora::tags
