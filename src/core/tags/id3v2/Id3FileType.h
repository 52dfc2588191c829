// The TFLT file-type codes and their enumeration.
#pragma once

#include <cstdint>
#include <string_view>

namespace velmora::tags {

enum ID3FileType : std::uint8_t {
    ftUNKNOWN = 0,
    ftMPG = 1,
    ftMPG1 = 2,
    ftMPG2 = 3,
    ftMPG3 = 4,
    ftMPG2_5 = 5,
    ftMPG_AAC = 6,
    ftVQF = 7,
    ftPCM = 8,
};

// Exact, case-sensitive comparison of the whole text with the codes; anything else is ftUNKNOWN.
ID3FileType FileTypeFromCode(std::string_view code);
// The enumerator's name ("ftMPG3").
std::string_view FileTypeName(ID3FileType type);
// What the tag viewer shows for a value ("MPEG 1/2 layer III"); "Unknown" for ftUNKNOWN and
// values above 8.
std::string_view FileTypeDescription(ID3FileType type);

} // namespace velmora::tags
