// The TMED media-type code table.
#include "core/tags/id3v2/Id3MediaType.h"

#include "core/tags/id3v2/CodeTable.h"

namespace velmora::tags {

namespace {
constexpr CodeTable<ID3MediaType, 68> kTable{{{
    {"", "mtUNKNOWN", "Unknown"},
    {"DIG", "mtDIG", "Other digital media"},
    {"DIG/A", "mtDIG_ANALOG_TRANSFER", "Other digital media"},
    {"ANA", "mtANA", "Other analog media"},
    {"ANA/WAC", "mtANA_WAX_CYLINDER", "Wax cylinder"},
    {"ANA/8CA", "mtANA_8_TRACK_TAPE", "8-track tape cassette"},
    {"CD", "mtCD", "CD"},
    {"CD/A", "mtCD_ANALOG", "CD"},
    {"CD/DD", "mtCD_DDD", "CD-DDD"},
    {"CD/AD", "mtCD_ADD", "CD-ADD"},
    {"CD/AA", "mtCD_AAD", "CD-AAD"},
    {"LD", "mtLASERDISC", "Laserdisc"},
    {"LD/A", "mtLASERDISC_ANALOG_TRANSFER", "Laserdisc"},
    {"TT", "mtTURNTABLE", "Turntable records"},
    {"TT/33", "mtTURNTABLE_33", "Turntable records - 33.33 rpm"},
    {"TT/45", "mtTURNTABLE_45", "Turntable records - 45 rpm"},
    {"TT/71", "mtTURNTABLE_71", "Turntable records - 71.29 rpm"},
    {"TT/76", "mtTURNTABLE_76", "Turntable records - 76.59 rpm"},
    {"TT/78", "mtTURNTABLE_78", "Turntable records - 78.26 rpm"},
    {"TT/80", "mtTURNTABLE_80", "Turntable records - 80 rpm"},
    {"MD", "mtMINIDISC", "MiniDisc"},
    {"MD/A", "mtMINIDISC_ANALOG_TRANSFER", "MiniDisc"},
    {"DAT", "mtDAT", "DAT"},
    {"DAT/A", "mtDAT_ANALOG_TRANSFER", "DAT"},
    {"DAT/1", "mtDAT_48KHZ_16B", "DAT - standard, 48 kHz/16 bits, linear"},
    {"DAT/2", "mtDAT_32KHZ_16B", "DAT - mode 2, 32 kHz/16 bits, linear"},
    {"DAT/3", "mtDAT_32KHZ_12B", "DAT - mode 3, 32 kHz/12 bits, nonlinear, low speed"},
    {"DAT/5", "mtDAT_44KHZ_16B", "DAT - mode 5, 44.1 kHz/16 bits, linear"},
    {"DAT/6", "mtDAT_44KHZ_16B_WIDE", "DAT - mode 6, 44.1 kHz/16 bits, 'wide track' play"},
    {"DCC", "mtDCC", "DCC"},
    {"DCC/A", "mtDCC_ANALOG_TRANSFER", "DCC"},
    {"DVD", "mtDVD", "DVD"},
    {"DVD/A", "mtDVD_ANALOG_TRANSFER", "DVD"},
    {"TV", "mtTV", "Television"},
    {"TV/PAL", "mtTV_PAL", "Television - Pal"},
    {"TV/NTSC", "mtTV_NTSC", "Television - NTSC"},
    {"TV/SECAM", "mtTV_SECAM", "Television - Secam"},
    {"VID", "mtVID", "Video"},
    {"VID/PAL", "mtVID_PAL", "Video - Pal"},
    {"VID/NTSC", "mtVID_NTSC", "Video - NTSC"},
    {"VID/SECAM", "mtVID_SECAM", "Video - Secam"},
    {"VID/VHS", "mtVID_VHS", "Video - VHS"},
    {"VID/SVHS", "mtVID_SVHS", "Video - S-VHS"},
    {"VID/BETA", "mtVID_BETA", "Video - BetaMax"},
    {"RAD", "mtRAD", "Radio"},
    {"RAD/FM", "mtRAD_FM", "Radio - FM"},
    {"RAD/AM", "mtRAD_AM", "Radio - AM"},
    {"RAD/LW", "mtRAD_LW", "Radio - LW"},
    {"RAD/MW", "mtRAD_MW", "Radio - MW"},
    {"TEL", "mtTEL", "Telephone"},
    {"TEL/I", "mtTEL_ISDN", "Telephone - ISDN"},
    {"MC", "mtMC", "MC"},
    {"MC/4", "mtMC_4", "MC - 4.75 cm/s (normal speed for a two sided cassette)"},
    {"MC/9", "mtMC_9", "MC - 9.5 cm/s"},
    {"MC/I", "mtMC_I", "MC - Type I cassette (ferric/normal)"},
    {"MC/II", "mtMC_II", "MC - Type II cassette (chrome)"},
    {"MC/III", "mtMC_III", "MC - Type III cassette (ferric chrome)"},
    {"MC/IV", "mtMC_IV", "MC - Type IV cassette (metal)"},
    {"REE", "mtREE", "Reel"},
    {"REE/9", "mtREE_9", "Reel - 9.5 cm/s"},
    {"REE/19", "mtREE_19", "Reel - 19 cm/s"},
    {"REE/38", "mtREE_38", "Reel - 38 cm/s"},
    {"REE/76", "mtREE_76", "Reel - 76 cm/s"},
    {"REE/I", "mtREE_I", "Reel - Type I cassette (ferric/normal)"},
    {"REE/II", "mtREE_II", "Reel - Type II cassette (chrome)"},
    {"REE/III", "mtREE_III", "Reel - Type III cassette (ferric chrome)"},
    {"REE/IV", "mtREE_IV", "Reel - Type IV cassette (metal)"},
    {"DAT/4", "mtDAT_32KHZ_12B_4CH", "DAT - mode 4, 32 kHz/12 bits, 4 channels"},
}}};
} // namespace

ID3MediaType MediaTypeFromCode(std::string_view code) {
    return kTable.FromCode(code);
}

std::string_view MediaTypeName(ID3MediaType type) {
    return kTable.Row(type).name;
}

std::string_view MediaTypeCode(ID3MediaType type) {
    return kTable.Row(type).code;
}

std::string_view MediaTypeDescription(ID3MediaType type) {
    return kTable.Row(type).description;
}

} // namespace velmora::tags
