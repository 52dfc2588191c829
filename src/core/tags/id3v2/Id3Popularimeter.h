// Popularimeter values (POPM frame).
#pragma once

#include <cstdint>
#include <string>

namespace velmora::tags {

class Id3Popularimeter {
public:
    std::uint8_t Rating = 0;
    std::uint64_t Counter = 0; // counters grow beyond 32 bits
    std::string UserEmail;

    void Reset() { *this = Id3Popularimeter(); }
};

} // namespace velmora::tags
