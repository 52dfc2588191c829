// The TMED media-type code table.
#include "core/tags/Id3MediaType.h"

#include <array>

namespace velmora::tags {

namespace {
struct Row {
    std::string_view code;
    std::string_view name;
};
// Indexed by enumerator value.
constexpr std::array<Row, 68> kRows{{
    {"", "mtUNKNOWN"},
    {"DIG", "mtDIG"},
    {"DIG/A", "mtDIG_ANALOG_TRANSFER"},
    {"ANA", "mtANA"},
    {"ANA/WAC", "mtANA_WAX_CYLINDER"},
    {"ANA/8CA", "mtANA_8_TRACK_TAPE"},
    {"CD", "mtCD"},
    {"CD/A", "mtCD_ANALOG"},
    {"CD/DD", "mtCD_DDD"},
    {"CD/AD", "mtCD_ADD"},
    {"CD/AA", "mtCD_AAD"},
    {"LD", "mtLASERDISC"},
    {"LD/A", "mtLASERDISC_ANALOG_TRANSFER"},
    {"TT", "mtTURNTABLE"},
    {"TT/33", "mtTURNTABLE_33"},
    {"TT/45", "mtTURNTABLE_45"},
    {"TT/71", "mtTURNTABLE_71"},
    {"TT/76", "mtTURNTABLE_76"},
    {"TT/78", "mtTURNTABLE_78"},
    {"TT/80", "mtTURNTABLE_80"},
    {"MD", "mtMINIDISC"},
    {"MD/A", "mtMINIDISC_ANALOG_TRANSFER"},
    {"DAT", "mtDAT"},
    {"DAT/A", "mtDAT_ANALOG_TRANSFER"},
    {"DAT/1", "mtDAT_48KHZ_16B"},
    {"DAT/2", "mtDAT_32KHZ_16B"},
    {"DAT/3", "mtDAT_32KHZ_12B"},
    {"DAT/5", "mtDAT_44KHZ_16B"},
    {"DAT/6", "mtDAT_44KHZ_16B_WIDE"},
    {"DCC", "mtDCC"},
    {"DCC/A", "mtDCC_ANALOG_TRANSFER"},
    {"DVD", "mtDVD"},
    {"DVD/A", "mtDVD_ANALOG_TRANSFER"},
    {"TV", "mtTV"},
    {"TV/PAL", "mtTV_PAL"},
    {"TV/NTSC", "mtTV_NTSC"},
    {"TV/SECAM", "mtTV_SECAM"},
    {"VID", "mtVID"},
    {"VID/PAL", "mtVID_PAL"},
    {"VID/NTSC", "mtVID_NTSC"},
    {"VID/SECAM", "mtVID_SECAM"},
    {"VID/VHS", "mtVID_VHS"},
    {"VID/SVHS", "mtVID_SVHS"},
    {"VID/BETA", "mtVID_BETA"},
    {"RAD", "mtRAD"},
    {"RAD/FM", "mtRAD_FM"},
    {"RAD/AM", "mtRAD_AM"},
    {"RAD/LW", "mtRAD_LW"},
    {"RAD/MW", "mtRAD_MW"},
    {"TEL", "mtTEL"},
    {"TEL/I", "mtTEL_ISDN"},
    {"MC", "mtMC"},
    {"MC/4", "mtMC_4"},
    {"MC/9", "mtMC_9"},
    {"MC/I", "mtMC_I"},
    {"MC/II", "mtMC_II"},
    {"MC/III", "mtMC_III"},
    {"MC/IV", "mtMC_IV"},
    {"REE", "mtREE"},
    {"REE/9", "mtREE_9"},
    {"REE/19", "mtREE_19"},
    {"REE/38", "mtREE_38"},
    {"REE/76", "mtREE_76"},
    {"REE/I", "mtREE_I"},
    {"REE/II", "mtREE_II"},
    {"REE/III", "mtREE_III"},
    {"REE/IV", "mtREE_IV"},
    {"DAT/4", "mtDAT_32KHZ_12B_4CH"},
}};
} // namespace

ID3MediaType MediaTypeFromCode(std::string_view code) {
    for (std::size_t i = 1; i < kRows.size(); ++i)
        if (kRows[i].code == code) return static_cast<ID3MediaType>(i);
    return mtUNKNOWN;
}

std::string_view MediaTypeName(ID3MediaType type) {
    return type < kRows.size() ? kRows[type].name : kRows[0].name;
}

std::string_view MediaTypeCode(ID3MediaType type) {
    return type < kRows.size() ? kRows[type].code : kRows[0].code;
}

} // namespace velmora::tags
