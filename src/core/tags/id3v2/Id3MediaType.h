// The TMED media-type codes and their enumeration.
#pragma once

#include <cstdint>
#include <string_view>

namespace velmora::tags {

// 68 values; "DAT/4" was added last, so its value 67 sits out of the codes' order.
enum ID3MediaType : std::uint8_t {
    mtUNKNOWN = 0,
    mtDIG = 1,
    mtDIG_ANALOG_TRANSFER = 2,
    mtANA = 3,
    mtANA_WAX_CYLINDER = 4,
    mtANA_8_TRACK_TAPE = 5,
    mtCD = 6,
    mtCD_ANALOG = 7,
    mtCD_DDD = 8,
    mtCD_ADD = 9,
    mtCD_AAD = 10,
    mtLASERDISC = 11,
    mtLASERDISC_ANALOG_TRANSFER = 12,
    mtTURNTABLE = 13,
    mtTURNTABLE_33 = 14,
    mtTURNTABLE_45 = 15,
    mtTURNTABLE_71 = 16,
    mtTURNTABLE_76 = 17,
    mtTURNTABLE_78 = 18,
    mtTURNTABLE_80 = 19,
    mtMINIDISC = 20,
    mtMINIDISC_ANALOG_TRANSFER = 21,
    mtDAT = 22,
    mtDAT_ANALOG_TRANSFER = 23,
    mtDAT_48KHZ_16B = 24,
    mtDAT_32KHZ_16B = 25,
    mtDAT_32KHZ_12B = 26,
    mtDAT_44KHZ_16B = 27,
    mtDAT_44KHZ_16B_WIDE = 28,
    mtDCC = 29,
    mtDCC_ANALOG_TRANSFER = 30,
    mtDVD = 31,
    mtDVD_ANALOG_TRANSFER = 32,
    mtTV = 33,
    mtTV_PAL = 34,
    mtTV_NTSC = 35,
    mtTV_SECAM = 36,
    mtVID = 37,
    mtVID_PAL = 38,
    mtVID_NTSC = 39,
    mtVID_SECAM = 40,
    mtVID_VHS = 41,
    mtVID_SVHS = 42,
    mtVID_BETA = 43,
    mtRAD = 44,
    mtRAD_FM = 45,
    mtRAD_AM = 46,
    mtRAD_LW = 47,
    mtRAD_MW = 48,
    mtTEL = 49,
    mtTEL_ISDN = 50,
    mtMC = 51,
    mtMC_4 = 52,
    mtMC_9 = 53,
    mtMC_I = 54,
    mtMC_II = 55,
    mtMC_III = 56,
    mtMC_IV = 57,
    mtREE = 58,
    mtREE_9 = 59,
    mtREE_19 = 60,
    mtREE_38 = 61,
    mtREE_76 = 62,
    mtREE_I = 63,
    mtREE_II = 64,
    mtREE_III = 65,
    mtREE_IV = 66,
    mtDAT_32KHZ_12B_4CH = 67,
};

// Exact, case-sensitive comparison of the whole text with the codes; anything else is
// mtUNKNOWN.
ID3MediaType MediaTypeFromCode(std::string_view code);
// The enumerator's name ("mtCD_DDD").
std::string_view MediaTypeName(ID3MediaType type);
// The TMED code of a value ("CD/DD"); empty for mtUNKNOWN.
std::string_view MediaTypeCode(ID3MediaType type);
// What the tag viewer shows for a value ("CD-DDD"); "Unknown" for mtUNKNOWN and values above 67.
std::string_view MediaTypeDescription(ID3MediaType type);

} // namespace velmora::tags
