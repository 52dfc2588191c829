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
// The viewer's names, by value.
constexpr std::array<std::string_view, 68> kDescriptions{{
    "Unknown",
    "Other digital media",
    "Other digital media",
    "Other analog media",
    "Wax cylinder",
    "8-track tape cassette",
    "CD",
    "CD",
    "CD-DDD",
    "CD-ADD",
    "CD-AAD",
    "Laserdisc",
    "Laserdisc",
    "Turntable records",
    "Turntable records - 33.33 rpm",
    "Turntable records - 45 rpm",
    "Turntable records - 71.29 rpm",
    "Turntable records - 76.59 rpm",
    "Turntable records - 78.26 rpm",
    "Turntable records - 80 rpm",
    "MiniDisc",
    "MiniDisc",
    "DAT",
    "DAT",
    "DAT - standard, 48 kHz/16 bits, linear",
    "DAT - mode 2, 32 kHz/16 bits, linear",
    "DAT - mode 3, 32 kHz/12 bits, nonlinear, low speed",
    "DAT - mode 5, 44.1 kHz/16 bits, linear",
    "DAT - mode 6, 44.1 kHz/16 bits, 'wide track' play",
    "DCC",
    "DCC",
    "DVD",
    "DVD",
    "Television",
    "Television - Pal",
    "Television - NTSC",
    "Television - Secam",
    "Video",
    "Video - Pal",
    "Video - NTSC",
    "Video - Secam",
    "Video - VHS",
    "Video - S-VHS",
    "Video - BetaMax",
    "Radio",
    "Radio - FM",
    "Radio - AM",
    "Radio - LW",
    "Radio - MW",
    "Telephone",
    "Telephone - ISDN",
    "MC",
    "MC - 4.75 cm/s (normal speed for a two sided cassette)",
    "MC - 9.5 cm/s",
    "MC - Type I cassette (ferric/normal)",
    "MC - Type II cassette (chrome)",
    "MC - Type III cassette (ferric chrome)",
    "MC - Type IV cassette (metal)",
    "Reel",
    "Reel - 9.5 cm/s",
    "Reel - 19 cm/s",
    "Reel - 38 cm/s",
    "Reel - 76 cm/s",
    "Reel - Type I cassette (ferric/normal)",
    "Reel - Type II cassette (chrome)",
    "Reel - Type III cassette (ferric chrome)",
    "Reel - Type IV cassette (metal)",
    "DAT - mode 4, 32 kHz/12 bits, 4 channels",
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

std::string_view MediaTypeDescription(ID3MediaType type) {
    return type < kDescriptions.size() ? kDescriptions[type] : kDescriptions[0];
}

} // namespace velmora::tags
