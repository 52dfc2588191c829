// Popularimeter values (POPM frame).
#pragma once

#include <cstdint>
#include <string>

namespace velmora::tags {

class Id3Popularimeter {
public:
    std::uint8_t Rating = 0;
    std::uint32_t Counter = 0;
    std::string UserEmail;

    void Reset() { *this = Id3Popularimeter(); }
};

} // namespace velmora::tags
