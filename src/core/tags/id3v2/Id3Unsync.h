// Undoing ID3v2 unsynchronisation (ID3v2.3 section 5), block by block.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace velmora::tags {

// Drops the 0x00 that follows every 0xFF. A 0xFF at the end of a block is held back until the
// next block shows what follows it, so the result never depends on where blocks are cut.
class Id3Unsync {
public:
    void Feed(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& out);
    // Emits a held-back 0xFF that ended the data.
    void Finish(std::vector<std::uint8_t>& out);

    // The conversion in one call, stopping once maxOut bytes are out.
    static std::vector<std::uint8_t> Undo(const std::uint8_t* data, std::size_t size,
                                          std::size_t maxOut = SIZE_MAX);

private:
    bool heldFF_ = false;
};

} // namespace velmora::tags
