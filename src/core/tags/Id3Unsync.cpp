// The unsynchronisation decoder.
#include "core/tags/Id3Unsync.h"

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

std::vector<std::uint8_t> Id3Unsync::Undo(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> out;
    out.reserve(size);
    Id3Unsync u;
    u.Feed(data, size, out);
    u.Finish(out);
    return out;
}

} // namespace velmora::tags
